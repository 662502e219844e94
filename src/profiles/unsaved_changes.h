#pragma once
// The main window's pending-changes flag: set by every edit of key assignments or macros,
// cleared by a successful Apply or a discard. The window shows it as the Apply button's state.

#include <atomic>

#include "ports/window_port.h"

namespace kovantis {

class UnsavedChanges {
public:
    explicit UnsavedChanges(WindowPort& window) : window_(window) {}

    bool Pending() const { return pending_.load(); }
    void MarkChanged()
    {
        pending_.store(true);
        window_.PostApplyEnabled(true);
    }
    void Clear()
    {
        pending_.store(false);
        window_.PostApplyEnabled(false);
    }

private:
    WindowPort& window_;
    std::atomic<bool> pending_{false};
};

} // namespace kovantis
