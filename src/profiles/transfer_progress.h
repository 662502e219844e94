#pragma once
// Progress of a long transfer (a download, a read-back): how many reports are through and how
// many the transfer takes in all, told after each report.

#include <cstddef>
#include <functional>

#include "device/command_set.h"

namespace kovantis {

using TransferProgress = std::function<void(int sent, int total)>;

// The reports it takes to move `bytes` bytes, one chunk per report.
int ReportsFor(size_t bytes);

// Counts the exchanges of `commands` while it lives and tells `progress` after each one.
// An empty progress counts nothing.
class ProgressScope {
public:
    ProgressScope(CommandSet& commands, const TransferProgress& progress, int total);
    ~ProgressScope();
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

    // The total once it is known better (it may only shrink toward the truth, so the
    // percentage never goes back).
    void SetTotal(int total) { total_ = total; }

private:
    CommandSet& commands_;
    const TransferProgress& progress_;
    int sent_ = 0;
    int total_;
};

} // namespace kovantis
