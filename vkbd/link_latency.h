#pragma once
// The time a report spends on the USB link. Waits run to an absolute deadline on the monotonic
// clock, so that a 1 ms latency stays 1 ms however late the thread is woken.

#include <chrono>
#include <ctime>

namespace kovantis::vkbd {

class LinkLatency {
public:
    void Set(std::chrono::microseconds latency);
    std::chrono::microseconds Get() const { return latency_; }

    // Waits until `latency` has passed since `start` (a CLOCK_MONOTONIC time).
    void WaitFrom(const timespec& start) const;

    static timespec Now();

private:
    std::chrono::microseconds latency_{0};
};

} // namespace kovantis::vkbd
