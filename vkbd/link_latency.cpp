#include "vkbd/link_latency.h"

#include <algorithm>
#include <cerrno>
#include <ctime>

#include <sys/prctl.h>

namespace kovantis::vkbd {
namespace {

// Longer than this, watching the clock would cost more than it could save.
constexpr std::chrono::nanoseconds kMaxWakeMargin = std::chrono::microseconds(200);

void CpuRelax()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#elif defined(__aarch64__)
    asm volatile("yield");
#endif
}

void SleepUntil(LinkClock::time_point when)
{
    const auto since = when.time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since);
    const timespec deadline{static_cast<time_t>(seconds.count()),
                            static_cast<long>(std::chrono::nanoseconds(since - seconds).count())};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

} // namespace

void LinkLatency::Set(std::chrono::microseconds latency)
{
    latency_ = latency;
    // The kernel lets a sleeping thread oversleep by its timer slack (50 us by default); a
    // modelled USB link must not add that to every report.
    if (latency.count() > 0) {
        prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    }
}

void LinkLatency::WaitFrom(LinkClock::time_point start)
{
    if (latency_.count() > 0) {
        WaitUntil(start + latency_);
    }
}

// Timer wake-ups come tens of microseconds late on a busy or virtual machine, even without
// timer slack: far more than a USB link's own jitter, and twice that per exchange. So the wait
// sleeps until a little before the deadline, by as much as wake-ups came late of late, and
// watches the clock for the rest. The margin follows a late wake-up at once and shrinks back
// slowly, so the watching stays short while wake-ups are prompt.
void LinkLatency::WaitUntil(LinkClock::time_point deadline)
{
    const auto early = deadline - std::min(wakeMargin_, std::chrono::nanoseconds(latency_));
    if (LinkClock::now() < early) {
        SleepUntil(early);
        const std::chrono::nanoseconds late = LinkClock::now() - early;
        wakeMargin_ = std::min(kMaxWakeMargin, std::max(late, wakeMargin_ - wakeMargin_ / 8));
    }
    while (LinkClock::now() < deadline) {
        CpuRelax();
    }
}

} // namespace kovantis::vkbd
