#pragma once
// A clock that never sleeps: SleepFor records the duration and moves its own time on.

#include <chrono>
#include <mutex>
#include <vector>

#include "ports/clock.h"

namespace kovantis::testing {

class FakeClock final : public Clock {
public:
    std::chrono::steady_clock::time_point Now() const override;
    void SleepFor(std::chrono::milliseconds duration) override;

    std::vector<std::chrono::milliseconds> Sleeps() const;
    std::chrono::milliseconds TotalSlept() const;
    void ClearSleeps();

private:
    mutable std::mutex mutex_;
    std::chrono::steady_clock::time_point now_{};
    std::vector<std::chrono::milliseconds> sleeps_;
};

} // namespace kovantis::testing
