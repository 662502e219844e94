#include "vkbd/link_latency.h"

#include <cerrno>

#include <sys/prctl.h>

namespace kovantis::vkbd {

void LinkLatency::Set(std::chrono::microseconds latency) {
    latency_ = latency;
    // The kernel lets a sleeping thread oversleep by its timer slack (50 us by default); a
    // modelled USB link must not add that to every report.
    if (latency.count() > 0) {
        prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    }
}

timespec LinkLatency::Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now;
}

void LinkLatency::WaitFrom(const timespec& start) const {
    if (latency_.count() <= 0) {
        return;
    }
    constexpr long kNanosPerSecond = 1'000'000'000;
    const long long nanos = static_cast<long long>(latency_.count()) * 1000;
    timespec deadline = start;
    deadline.tv_sec += static_cast<time_t>(nanos / kNanosPerSecond);
    deadline.tv_nsec += static_cast<long>(nanos % kNanosPerSecond);
    if (deadline.tv_nsec >= kNanosPerSecond) {
        deadline.tv_nsec -= kNanosPerSecond;
        ++deadline.tv_sec;
    }
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

} // namespace kovantis::vkbd
