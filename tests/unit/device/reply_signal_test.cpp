#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "device/reply_signal.h"

using namespace std::chrono_literals;

namespace kovantis {
namespace {

TEST(ReplySignal, WaitSeesOnlyARaiseSinceTheLastClear)
{
    ReplySignal signal;
    signal.Clear();
    EXPECT_FALSE(signal.Wait(0ms));
    EXPECT_FALSE(signal.Wait(2ms));
    // Nobody slept when it was raised: no wake-up is asked for, and the raise is not lost.
    EXPECT_FALSE(signal.Raise());
    EXPECT_TRUE(signal.Wait(0ms));
    EXPECT_TRUE(signal.Wait(0ms));
    signal.Clear();
    EXPECT_FALSE(signal.Wait(0ms));
    // A wake-up meant for an earlier wait is no raise.
    signal.Wake();
    EXPECT_FALSE(signal.Wait(1ms));
}

TEST(ReplySignal, RaiseFromAnotherThreadWakesASleepingWaiter)
{
    for (int round = 0; round < 200; ++round) {
        ReplySignal signal;
        signal.Clear();
        std::thread raiser([&] {
            if (round % 2 == 0)
                std::this_thread::sleep_for(100us);
            if (signal.Raise())
                signal.Wake();
        });
        // Long enough that only a lost wake-up could make it time out.
        EXPECT_TRUE(signal.Wait(10s)) << round;
        raiser.join();
    }
}

} // namespace
} // namespace kovantis
