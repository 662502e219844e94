// A user at the desktop records a macro onto a key: the macro page of the key assignment
// dialog, Add, Record, key presses and releases typed on the real (virtual) X keyboard with
// pauses between them, Stop, one pause changed in place, the play count set, OK, Apply. The
// keyboard's macro area then holds the keys with the pauses that were typed, and the key plays
// the macro.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "desktop_fixture.h"
#include "keyboard/physical_layout.h"
#include "platform/paths.h"
#include "wire/le_bytes.h"

namespace kovantis::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr KeyCode kF1 = 0x03B;
constexpr uint8_t kUsageA = 0x04;
constexpr uint8_t kUsageB = 0x05;
constexpr uint8_t kKeyboardClass = 2;

// When the X server took a key event: between the start of the xdotool run that sent it and the
// end of that run's round trip to the server.
struct Sent {
    Clock::time_point before;
    Clock::time_point after;
};

// One step of a macro as the keyboard holds it.
struct Step {
    bool press = false;
    int delayMs = 0;
    uint8_t kind = 0;
    uint8_t usage = 0;
};

class MacroRecordingAtTheDesktop : public DesktopTest {
protected:
    Sent Send(const std::string& action, const std::string& key)
    {
        Sent sent;
        sent.before = Clock::now();
        // The pointer query after the key waits for the server to have handled the key.
        EXPECT_EQ(RunTool({Tool(), action, key, "getmouselocation"}).exitCode, 0) << action << ' ' << key;
        sent.after = Clock::now();
        return sent;
    }
    static std::string Tool()
    {
        const char* tool = std::getenv("XDOTOOL");
        return tool != nullptr && *tool != '\0' ? tool : "xdotool";
    }

    std::string SettingsText() const
    {
        const Paths paths(PathRoots{BinDir(), root_ / "home", root_ / "config", root_ / "data"});
        std::ifstream file(paths.SettingsStoreFile());
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    // The keyboard's macro area: the header, then as much as it says it holds.
    std::vector<uint8_t> MacroArea() const
    {
        const std::vector<uint8_t> head = keyboard_.Dump("macro 0 16");
        if (head.size() != 16)
            return {};
        return keyboard_.Dump("macro 0 " + std::to_string(ReadU16(head, 2)));
    }
    static Step StepOf(const std::vector<uint8_t>& area, size_t entry, int i)
    {
        const size_t at = entry + 4 + 4 * static_cast<size_t>(i);
        const uint16_t word = ReadU16(area, at);
        return {(word & 0x8000) != 0, (word & 0x0FFF) * 10, area[at + 2], area[at + 3]};
    }
};

// The pause the keyboard holds between two events: the time between them as the X server saw
// it, cut to tens of milliseconds. The bounds are what the test's clock allows, with a little
// for the two clocks' granularity.
void ExpectPause(const Step& step, const Sent& from, const Sent& to, const char* what)
{
    using std::chrono::duration_cast;
    using std::chrono::milliseconds;
    const auto shortest = duration_cast<milliseconds>(to.before - from.after).count();
    const auto longest = duration_cast<milliseconds>(to.after - from.before).count();
    EXPECT_GE(step.delayMs, shortest - 10 - 5) << what;
    EXPECT_LE(step.delayMs, longest + 5) << what;
}

TEST_F(MacroRecordingAtTheDesktop, TypedPausesAndAnEditedPauseReachTheKeyboard)
{
    const size_t f1 = PositionOf(kF1);
    ASSERT_TRUE(ClickControl(window_, main_, SkinKeyOf(kF1)));
    const auto dialog = x_.WaitForWindow("Key assignment", 30s);
    ASSERT_TRUE(dialog) << "the key assignment dialog never showed";
    ASSERT_TRUE(x_.WaitForFocus(dialog->id));
    ASSERT_TRUE(ClickControl(*dialog, composite_, "CONTROL_MACRO"));
    ASSERT_TRUE(ClickControl(*dialog, composite_, "FUNC_MACRO_ADD"));
    // Real pauses are recorded with the option on; the program keeps it in its settings.
    ASSERT_TRUE(ClickControl(*dialog, composite_, "FUNC_MACRO_RECORD_DELAY"));
    ASSERT_TRUE(WaitUntil([&] { return SettingsText().find("RecordDelay=1") != std::string::npos; }))
        << "the record-delay option was not switched on";

    ASSERT_TRUE(ClickControl(*dialog, composite_, "FUNC_MACRO_RECORD"));
    // The sleeps are the user's pauses, which the macro has to keep.
    const Sent aDown = Send("keydown", "a");
    std::this_thread::sleep_for(400ms);
    const Sent aUp = Send("keyup", "a");
    std::this_thread::sleep_for(250ms);
    const Sent bDown = Send("keydown", "b");
    std::this_thread::sleep_for(200ms);
    const Sent bUp = Send("keyup", "b");
    ASSERT_TRUE(ClickControl(*dialog, composite_, "FUNC_MACRO_RECORD"));  // Stop Record

    // The pause after A's release, edited in place: a double click on its cell in the second
    // row (rows of 20 pixels under a heading of about 22), the new value, Enter.
    const SkinRect list = composite_.Rect("FUNC_MACRO_LIST2");
    ASSERT_FALSE(list.IsAbsent());
    ASSERT_TRUE(x_.ClickAt(dialog->x + list.x + list.w * 5 / 6, dialog->y + list.y + 52, 2));
    ASSERT_TRUE(x_.Type("1234"));
    ASSERT_TRUE(x_.Key("Return"));
    // Play it three times.
    const SkinRect count = composite_.Rect("FUNC_MACRO_CYCLES");
    ASSERT_TRUE(x_.ClickAt(dialog->x + count.x + count.w / 2, dialog->y + count.y + count.h / 2, 3));
    ASSERT_TRUE(x_.Type("3"));

    ASSERT_TRUE(ClickControl(*dialog, composite_, "CONTROL_OK"));
    ASSERT_TRUE(WaitForWindowGone("Key assignment")) << "OK did not close the dialog";
    ASSERT_TRUE(ClickControl(window_, main_, "CONTROL2_APPLY"));

    EXPECT_TRUE(WaitForAction(f1, PlayMacroAction(0))) << "F1 plays the first macro";
    std::vector<uint8_t> area;
    ASSERT_TRUE(WaitUntil([&] {
        area = MacroArea();
        return area.size() > 18 && ReadU16(area, 4) == 1;
    })) << "the keyboard never received the macro";
    EXPECT_EQ(area[0], 0xAA);
    EXPECT_EQ(area[1], 0x55);
    const size_t entry = ReadU16(area, 16);
    ASSERT_LE(entry + 4 + 4 * 4 + 12, area.size());
    EXPECT_EQ(ReadU16(area, entry), 4) << "A down, A up, B down, B up";
    EXPECT_EQ(area[entry + 2], 3) << "play count";
    const Step steps[] = {StepOf(area, entry, 0), StepOf(area, entry, 1), StepOf(area, entry, 2),
                          StepOf(area, entry, 3)};
    const uint8_t usages[] = {kUsageA, kUsageA, kUsageB, kUsageB};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(steps[i].press, i % 2 == 0) << "step " << i;
        EXPECT_EQ(steps[i].kind, kKeyboardClass) << "step " << i;
        EXPECT_EQ(steps[i].usage, usages[i]) << "step " << i;
    }
    ExpectPause(steps[0], aDown, aUp, "A held");
    EXPECT_EQ(steps[1].delayMs, 1230) << "the edited pause, to tens of milliseconds";
    ExpectPause(steps[2], bDown, bUp, "B held");
    EXPECT_EQ(steps[3].delayMs, 0) << "nothing follows the last step";
    // The name follows the steps.
    EXPECT_EQ(area[entry + 3], 6);
    const size_t name = entry + 4 + 4 * 4;
    EXPECT_EQ(std::string(area.begin() + static_cast<std::ptrdiff_t>(name),
                          area.begin() + static_cast<std::ptrdiff_t>(name + 12)),
              std::string("M\0a\0c\0r\0o\0" "1\0", 12));

    // The Macros button opens the same list on the macro page alone.
    ASSERT_TRUE(ClickControl(window_, main_, "FUNC_MACRO"));
    const auto editor = x_.WaitForWindow("Macro editor", 30s);
    ASSERT_TRUE(editor) << "the Macros button opened no macro editor";
    ASSERT_TRUE(ClickControl(*editor, composite_, "CONTROL_CANCEL"));
    EXPECT_TRUE(WaitForWindowGone("Macro editor"));
    EXPECT_TRUE(program_->Alive());
}

} // namespace
} // namespace kovantis::testing
