#include "profiles/transfer_progress.h"

namespace kovantis {

int ReportsFor(size_t bytes)
{
    return static_cast<int>((bytes + kReportDataSize - 1) / kReportDataSize);
}

ProgressScope::ProgressScope(CommandSet& commands, const TransferProgress& progress, int total)
    : commands_(commands), progress_(progress), total_(total)
{
    if (progress_) {
        commands_.SetExchangeObserver([this] { progress_(++sent_, total_); });
    }
}

ProgressScope::~ProgressScope()
{
    if (progress_) {
        commands_.SetExchangeObserver({});
    }
}

} // namespace kovantis
