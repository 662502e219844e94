#pragma once
// The time a report spends on the USB link. Waits run to absolute deadlines on the monotonic
// clock, counted from when the report entered the link, so that a 1 ms latency stays 1 ms
// however late this process gets round to the report.

#include <chrono>

namespace kovantis::vkbd {

using LinkClock = std::chrono::steady_clock;  // CLOCK_MONOTONIC

class LinkLatency {
public:
    void Set(std::chrono::microseconds latency);
    std::chrono::microseconds Get() const { return latency_; }

    // Waits until `latency` has passed since `start`.
    void WaitFrom(LinkClock::time_point start);

private:
    void WaitUntil(LinkClock::time_point deadline);

    std::chrono::microseconds latency_{0};
    // How much earlier than a deadline to sleep to: as late as timer wake-ups came of late.
    std::chrono::nanoseconds wakeMargin_{std::chrono::microseconds(50)};
};

} // namespace kovantis::vkbd
