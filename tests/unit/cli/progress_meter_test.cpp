#include "cli/progress_meter.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/fake_clock.h"

namespace kovantis::cli {
namespace {

using namespace std::chrono_literals;
using kovantis::testing::FakeClock;

TEST(ProgressMeter, QuietForTheFirstHalfSecondThenPercentagesInPlace)
{
    FakeClock clock;
    std::ostringstream out;
    {
        ProgressMeter meter(out, true, clock, "downloading");
        meter.Update(10, 100);
        clock.SleepFor(499ms);
        meter.Update(20, 100);
        EXPECT_EQ(out.str(), "") << "a quick transfer shows nothing";
        clock.SleepFor(1ms);
        meter.Update(25, 100);
        meter.Update(25, 100);  // the same share is not drawn again
        meter.Update(1, 3);
        meter.Update(120, 100);  // never beyond 100
        EXPECT_TRUE(meter.Drawn());
    }
    EXPECT_EQ(out.str(), "\rdownloading: 25%\rdownloading: 33%\rdownloading: 100%\n");
}

TEST(ProgressMeter, NothingWhenNotATerminalAndFinishEndsTheLineOnce)
{
    FakeClock clock;
    std::ostringstream piped;
    {
        ProgressMeter meter(piped, false, clock, "reading");
        clock.SleepFor(2s);
        meter.Update(5, 10);
    }
    EXPECT_EQ(piped.str(), "");

    std::ostringstream terminal;
    ProgressMeter meter(terminal, true, clock, "reading");
    clock.SleepFor(1s);
    meter.Update(0, 0);  // no total yet: nothing to say
    meter.Update(5, 10);
    meter.Finish();
    meter.Finish();
    EXPECT_EQ(terminal.str(), "\rreading: 50%\n");
}

} // namespace
} // namespace kovantis::cli
