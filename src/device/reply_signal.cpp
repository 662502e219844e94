#include "device/reply_signal.h"

#include <algorithm>
#include <ctime>
#include <linux/futex.h>
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace kovantis {
namespace {

using Steady = std::chrono::steady_clock;

static_assert(sizeof(std::atomic<uint32_t>) == sizeof(uint32_t) &&
              std::atomic<uint32_t>::is_always_lock_free);

uint32_t* FutexWord(std::atomic<uint32_t>& word)
{
    return reinterpret_cast<uint32_t*>(&word);
}

// Sleeps while `word` holds `expected`, at most `timeout`; also returns on FutexWake, a signal
// or for no reason, so callers look again.
void FutexWait(std::atomic<uint32_t>& word, uint32_t expected, std::chrono::nanoseconds timeout)
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeout);
    const timespec relative{static_cast<time_t>(seconds.count()),
                            static_cast<long>((timeout - seconds).count())};
    ::syscall(SYS_futex, FutexWord(word), FUTEX_WAIT_PRIVATE, expected, &relative, nullptr, 0);
}

} // namespace

void ReplySignal::Clear()
{
    state_.store(kClear, std::memory_order_relaxed);
}

bool ReplySignal::Raise()
{
    return state_.exchange(kRaised, std::memory_order_acq_rel) == kSleeping;
}

void ReplySignal::Wake()
{
    ::syscall(SYS_futex, FutexWord(state_), FUTEX_WAKE_PRIVATE, 1, nullptr, nullptr, 0);
}

bool ReplySignal::Wait(std::chrono::nanoseconds timeout)
{
    const auto start = Steady::now();
    const auto deadline = start + timeout;
    bool raised = state_.load(std::memory_order_acquire) == kRaised;
    if (watch_) {
        const auto watchUntil = std::min(deadline, start + kWatchTime);
        while (!raised && Steady::now() < watchUntil) {
            sched_yield();
            raised = state_.load(std::memory_order_acquire) == kRaised;
        }
    }
    if (!raised)
        raised = Sleep(deadline);
    watch_ = raised && Steady::now() - start <= kWatchTime;
    return raised;
}

bool ReplySignal::Sleep(Steady::time_point deadline)
{
    for (;;) {
        uint32_t seen = kClear;
        if (!state_.compare_exchange_strong(seen, kSleeping, std::memory_order_acq_rel) &&
            seen == kRaised)
            return true;
        const auto now = Steady::now();
        if (now >= deadline) {
            // Leaves no sleeper behind for a late Raise to wake.
            uint32_t sleeping = kSleeping;
            return !state_.compare_exchange_strong(sleeping, kClear, std::memory_order_acq_rel) &&
                   sleeping == kRaised;
        }
        FutexWait(state_, kSleeping, deadline - now);
    }
}

} // namespace kovantis
