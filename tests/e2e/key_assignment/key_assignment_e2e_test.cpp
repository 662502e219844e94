// A user at the desktop: clicks a key of the keyboard picture, presses the key it should send on
// the real (virtual) X keyboard, confirms, applies, and the keyboard holds the new key. Keys the
// desktop would act on (Super, Escape) are taken as keys, not acted on.

#include <gtest/gtest.h>

#include "desktop_fixture.h"
#include "keyboard/physical_layout.h"

namespace kovantis::testing {
namespace {

using namespace std::chrono_literals;

constexpr KeyCode kA = 0x01E;
constexpr KeyCode kB = 0x030;

class KeyAssignmentAtTheDesktop : public DesktopTest {
protected:
    // Click the key, press `keys` on the X keyboard, OK, then the main window's Apply.
    void Assign(KeyCode target, const std::string& keys)
    {
        ASSERT_TRUE(ClickControl(window_, main_, SkinKeyOf(target)));
        const auto dialog = x_.WaitForWindow("Key assignment", 30s);
        ASSERT_TRUE(dialog) << "the key assignment dialog never showed";
        // The dialog takes the keyboard once it is the focus window.
        ASSERT_TRUE(x_.WaitForFocus(dialog->id));
        ASSERT_TRUE(x_.Key(keys));
        // A key that reached the dialog as a key sets nothing else off; OK then closes it.
        EXPECT_TRUE(x_.WindowShown("Key assignment")) << keys << " must not close the dialog";
        ASSERT_TRUE(ClickControl(*dialog, composite_, "CONTROL_OK"));
        ASSERT_TRUE(WaitForWindowGone("Key assignment"));
        ASSERT_TRUE(ClickControl(window_, main_, "CONTROL2_APPLY"));
    }
};

TEST_F(KeyAssignmentAtTheDesktop, SuperAndEscapeAreCapturedAsKeysAndReachTheKeyboard)
{
    const size_t a = PositionOf(kA);
    const size_t b = PositionOf(kB);

    ASSERT_NO_FATAL_FAILURE(Assign(kA, "super"));
    EXPECT_TRUE(WaitForAction(a, ModifierAction(0x08))) << "A sends Win";

    ASSERT_NO_FATAL_FAILURE(Assign(kB, "Escape"));
    EXPECT_TRUE(WaitForAction(b, KeyboardUsageAction(0x29))) << "B sends Esc";
    EXPECT_TRUE(WaitForAction(a, ModifierAction(0x08))) << "A still sends Win";
    EXPECT_TRUE(program_->Alive());
}

} // namespace
} // namespace kovantis::testing
