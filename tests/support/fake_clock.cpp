#include "support/fake_clock.h"

#include <numeric>

namespace kovantis::testing {

std::chrono::steady_clock::time_point FakeClock::Now() const
{
    std::lock_guard lock(mutex_);
    return now_;
}

void FakeClock::SleepFor(std::chrono::milliseconds duration)
{
    std::lock_guard lock(mutex_);
    sleeps_.push_back(duration);
    now_ += duration;
}

std::vector<std::chrono::milliseconds> FakeClock::Sleeps() const
{
    std::lock_guard lock(mutex_);
    return sleeps_;
}

std::chrono::milliseconds FakeClock::TotalSlept() const
{
    std::lock_guard lock(mutex_);
    return std::accumulate(sleeps_.begin(), sleeps_.end(), std::chrono::milliseconds{0});
}

void FakeClock::ClearSleeps()
{
    std::lock_guard lock(mutex_);
    sleeps_.clear();
}

} // namespace kovantis::testing
