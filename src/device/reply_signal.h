#pragma once
// How a sender waits for the reply that the library's notification thread hands over.
//
// A futex word: the waiter sleeps on it, and raising it enters the kernel only when the waiter
// does sleep. Before sleeping, the waiter watches the word for at most kWatchTime, yielding its
// core between looks, but only while the last reply came that quickly (the virtual keyboard).
// On an idle machine that keeps its CPU from halting, and waking a halted CPU is what makes a
// fast exchange slow (on a virtual machine tens of microseconds each time); yielding rather
// than spinning lets the library's and the keyboard's threads run at once should they share
// the core, which matters on two cores. A reply slower than the watch (a USB link takes a
// millisecond or more) turns watching off, so a real keyboard costs no CPU time for it.

#include <atomic>
#include <chrono>
#include <cstdint>

namespace kovantis {

class ReplySignal {
public:
    static constexpr std::chrono::microseconds kWatchTime{100};

    // Before the request goes out.
    void Clear();
    // The reply is in. True when the waiter sleeps: call Wake(), best after letting go of any
    // lock the waiter takes next.
    bool Raise();
    void Wake();
    // Waits until raised or until `timeout` has passed; true when raised. One waiter at a time.
    bool Wait(std::chrono::nanoseconds timeout);

private:
    enum State : uint32_t { kClear = 0, kRaised = 1, kSleeping = 2 };

    bool Sleep(std::chrono::steady_clock::time_point deadline);

    std::atomic<uint32_t> state_{kClear};
    // The last reply came within kWatchTime; touched by the waiter only.
    bool watch_ = true;
};

} // namespace kovantis
