// A user picks a report rate while the keyboard refuses the write: a box says so, and once it is
// closed the same click reaches the keyboard.

#include <gtest/gtest.h>

#include <string>

#include "desktop_fixture.h"

namespace kovantis::testing {
namespace {

using namespace std::chrono_literals;

// Byte 15 of a profile's lighting block: the report rate (0 = 125 Hz ... 3 = 1000 Hz).
constexpr size_t kReportRateByte = 15;

using ReportRateAtTheDesktop = DesktopTest;

TEST_F(ReportRateAtTheDesktop, ARefusedChangeIsToldAndTheNextClickReachesTheKeyboard)
{
    const auto rate = [this] { return keyboard_.Dump("profiles").at(kReportRateByte); };
    // A first change the keyboard takes: the program is past its start-up reads, which would
    // otherwise meet the refusals armed next.
    ASSERT_TRUE(ClickControl(window_, main_, "FUNC_REPORT2"));
    ASSERT_TRUE(WaitUntil([&] {
        return rate() == 1 && keyboard_.Control("info").find("in-transfer=no") != std::string::npos;
    })) << "250 Hz reaches the keyboard";
    // The next transfer's begin is answered; every send of its write is refused.
    ASSERT_EQ(keyboard_.Control("after 1").substr(0, 2), "ok");
    ASSERT_EQ(keyboard_.Control("refuse ff 3").substr(0, 2), "ok");
    ASSERT_TRUE(ClickControl(window_, main_, "FUNC_REPORT3"));
    // The message box has no title of its own; it is the window that takes the focus.
    std::string box;
    ASSERT_TRUE(WaitUntil([&] {
        box = x_.Focused();
        return !box.empty() && box != window_.id && x_.Visible(box);
    }, 30s)) << "no message said the change may not have reached the keyboard";
    EXPECT_EQ(rate(), 1) << "the refused write changed nothing";
    ASSERT_TRUE(x_.Key("Return"));
    ASSERT_TRUE(WaitUntil([&] { return !x_.Visible(box); })) << "Return closes the message";

    ASSERT_TRUE(ClickControl(window_, main_, "FUNC_REPORT3"));
    EXPECT_TRUE(WaitUntil([&] { return rate() == 2; })) << "500 Hz reaches the keyboard";
    EXPECT_EQ(x_.Focused(), window_.id) << "a change the keyboard took says nothing";
    EXPECT_TRUE(program_->Alive());
}

} // namespace
} // namespace kovantis::testing
