// The key capture decision: which key events are let through, swallowed, or taken as the key,
// from the native scan codes the window system reports.

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <set>

#include "keyboard/key_capture.h"
#include "keyboard/physical_layout.h"

namespace kovantis {
namespace {

KeyEventFacts Press(uint16_t evdev, HeldModifiers held = {})
{
    return {evdev + kNativeScanCodeOffset, false, false, held};
}
KeyEventFacts Release(uint16_t evdev) { return {evdev + kNativeScanCodeOffset, true, false, {}}; }
KeyEventFacts Repeat(uint16_t evdev) { return {evdev + kNativeScanCodeOffset, false, true, {}}; }

CaptureDecision Take(KeyCode code) { return {CaptureAction::SwallowAndCapture, code}; }

TEST(KeyCapture, TakesTheFirstPressOfEveryKeyTheDesktopWouldActOn)
{
    EXPECT_EQ(DecideKeyCapture(Press(KEY_A)), Take(0x01E));
    // Keys a dialog or the desktop would act on are captured like any other.
    EXPECT_EQ(DecideKeyCapture(Press(KEY_ENTER)), Take(0x01C));
    EXPECT_EQ(DecideKeyCapture(Press(KEY_ESC)), Take(0x001));
    EXPECT_EQ(DecideKeyCapture(Press(KEY_TAB)), Take(0x00F));
    EXPECT_EQ(DecideKeyCapture(Press(KEY_LEFTMETA)), Take(0x15B));
    EXPECT_EQ(DecideKeyCapture(Press(KEY_RIGHTMETA)), Take(0x15C));
    EXPECT_EQ(DecideKeyCapture(Press(KEY_COMPOSE)), Take(0x15D));
    EXPECT_EQ(DecideKeyCapture(Press(KEY_SYSRQ)), Take(0x137));
    // Keys whose make codes are easy to confuse.
    EXPECT_EQ(DecideKeyCapture(Press(KEY_RIGHTSHIFT)), Take(0x036));
    EXPECT_EQ(DecideKeyCapture(Press(KEY_KPENTER)), Take(0x11C));
    EXPECT_EQ(DecideKeyCapture(Press(KEY_KP7)), Take(0x047));
    EXPECT_EQ(DecideKeyCapture(Press(KEY_HOME)), Take(0x147));
    EXPECT_EQ(DecideKeyCapture(Press(KEY_NUMLOCK)), Take(0x145));
    EXPECT_EQ(DecideKeyCapture(Press(KEY_PAUSE)), Take(0x045));
    // Held modifiers turn Pause into Break and Print Screen into Sys Req, as on a PC keyboard.
    EXPECT_EQ(DecideKeyCapture(Press(KEY_PAUSE, {true, false})), Take(0x146));
    EXPECT_EQ(DecideKeyCapture(Press(KEY_SYSRQ, {false, true})), Take(0x054));
}

TEST(KeyCapture, SwallowsReleasesAndRepeatsWithoutTakingThem)
{
    EXPECT_EQ(DecideKeyCapture(Release(KEY_A)), (CaptureDecision{CaptureAction::Swallow, 0x01E}));
    EXPECT_EQ(DecideKeyCapture(Repeat(KEY_A)), (CaptureDecision{CaptureAction::Swallow, 0x01E}));
    EXPECT_EQ(DecideKeyCapture(Release(KEY_LEFTMETA)), (CaptureDecision{CaptureAction::Swallow, 0x15B}));
    EXPECT_EQ(DecideKeyCapture(Repeat(KEY_ESC)), (CaptureDecision{CaptureAction::Swallow, 0x001}));
    // Print Screen is taken on its release as well: some desktops let only the release through.
    EXPECT_EQ(DecideKeyCapture(Release(KEY_SYSRQ)), Take(0x137));
}

TEST(KeyCapture, LetsMediaKeysAndUnknownKeysThrough)
{
    EXPECT_EQ(DecideKeyCapture(Press(KEY_VOLUMEUP)).action, CaptureAction::Pass);
    EXPECT_EQ(DecideKeyCapture(Press(KEY_PLAYPAUSE)).action, CaptureAction::Pass);
    EXPECT_EQ(DecideKeyCapture(Press(KEY_MAIL)).action, CaptureAction::Pass);
    EXPECT_EQ(DecideKeyCapture(Release(KEY_MUTE)).action, CaptureAction::Pass);
    // Keys the key table does not know, and events that came from no key at all.
    EXPECT_EQ(DecideKeyCapture(Press(KEY_F20)), (CaptureDecision{CaptureAction::Pass, 0}));
    EXPECT_EQ(DecideKeyCapture(Press(KEY_BRIGHTNESSUP)), (CaptureDecision{CaptureAction::Pass, 0}));
    EXPECT_EQ(DecideKeyCapture(KeyEventFacts{}), (CaptureDecision{CaptureAction::Pass, 0}));
    EXPECT_EQ(DecideKeyCapture(KeyEventFacts{3, false, false, {}}), (CaptureDecision{CaptureAction::Pass, 0}));
    EXPECT_EQ(DecideKeyCapture(KeyEventFacts{0xFFFFFFFFu, false, false, {}}), (CaptureDecision{CaptureAction::Pass, 0}));
}

TEST(KeyCapture, EveryKeyOfTheKeyboardCanBeCapturedFromSomeScanCode)
{
    std::set<KeyCode> captured;
    for (uint32_t evdev = 0; evdev < KEY_MAX; ++evdev) {
        const CaptureDecision decision = DecideKeyCapture({evdev + kNativeScanCodeOffset, false, false, {}});
        if (decision.action == CaptureAction::SwallowAndCapture)
            captured.insert(decision.code);
    }
    for (const PhysicalKey& key : KeyList())
        EXPECT_TRUE(captured.count(key.code)) << std::hex << key.code;
}

} // namespace
} // namespace kovantis
