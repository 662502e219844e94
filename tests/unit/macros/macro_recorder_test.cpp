#include <gtest/gtest.h>

#include "macros/macro_editor.h"
#include "macros/macro_recorder.h"
#include "support/fake_ports.h"
#include "unit/macros/fake_macro_host.h"

namespace kovantis {
namespace {

using testing::FakeMacroHost;
using testing::FakePrompter;
using testing::FakeTexts;
using testing::StoredMacro;

constexpr KeyCode kA = 0x01E;
constexpr KeyCode kB = 0x030;
constexpr KeyCode kVolumeUp = 0x130;

RecorderKeystroke Down(KeyCode key, uint32_t ms) { return {key, false, false, ms}; }
RecorderKeystroke Up(KeyCode key, uint32_t ms) { return {key, true, false, ms}; }
RecorderKeystroke Repeat(KeyCode key, uint32_t ms, bool release = false) { return {key, release, true, ms}; }

// The page as a user drives it: open on a macro, press Record, type.
class RecordingTest : public ::testing::Test {
protected:
    void OpenOn(std::vector<MacroAction> steps, int delayOption)
    {
        host.working = {StoredMacro(1, u"Keys", std::move(steps))};
        host.stored = delayOption;
        editor.Open({MakeAssignment(AssignmentKind::PlayMacro, 1), false});
    }
    std::vector<MacroAction> Rows() const
    {
        const auto rows = editor.Steps().Rows();
        return {rows.begin(), rows.end()};
    }

    FakeMacroHost host;
    FakePrompter prompter;
    FakeTexts texts;
    MacroEditor editor{host, prompter, texts};
};

TEST_F(RecordingTest, RealPausesGoAfterTheStepTheyFollow)
{
    OpenOn({}, 1);
    editor.ToggleRecording(1000);
    ASSERT_TRUE(editor.Recording());
    EXPECT_EQ(editor.RecordKeystroke(Down(kA, 1400)), RecorderVerdict::Swallow);
    EXPECT_EQ(editor.RecordKeystroke(Up(kA, 1500)), RecorderVerdict::Swallow);
    EXPECT_EQ(editor.RecordKeystroke(Down(kB, 1750)), RecorderVerdict::Swallow);
    // The 400 ms from Record to the first key have no row before them in an empty macro.
    const std::vector<MacroAction> expected = {{100, kA, kMacroPress}, {250, kA, kMacroRelease}, {0, kB, kMacroPress}};
    EXPECT_EQ(Rows(), expected);
    EXPECT_EQ(editor.Steps().Selected(), 2);
    EXPECT_TRUE(editor.Modified());
}

TEST_F(RecordingTest, RecordingInsertsAfterTheSelectedRowAndGivesItTheWaitBeforeTheFirstKey)
{
    OpenOn({{70, kB, kMacroPress}, {30, kB, kMacroRelease}}, 1);
    editor.SelectRow(0);
    editor.ToggleRecording(5000);
    editor.RecordKeystroke(Down(kA, 5120));
    editor.RecordKeystroke(Up(kA, 5200));
    const std::vector<MacroAction> expected = {
        {120, kB, kMacroPress}, {80, kA, kMacroPress}, {70, kA, kMacroRelease}, {30, kB, kMacroRelease}};
    EXPECT_EQ(Rows(), expected);
}

TEST_F(RecordingTest, FixedPausesAreFiftyExceptTheLastInsertedRow)
{
    OpenOn({}, 0);
    editor.ToggleRecording(0);
    editor.RecordKeystroke(Down(kA, 3));
    editor.RecordKeystroke(Up(kA, 900));
    editor.RecordKeystroke(Down(kB, 20000));
    editor.RecordKeystroke(Up(kB, 20001));
    ASSERT_EQ(editor.Steps().RowCount(), 4);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(editor.Steps().Row(r).delay, 50u) << r;
    }
    EXPECT_EQ(editor.Steps().Row(3).delay, 0u);
}

TEST_F(RecordingTest, HeldKeyGivesOnePressAndOneRelease)
{
    OpenOn({}, 1);
    editor.ToggleRecording(0);
    editor.RecordKeystroke(Down(kA, 10));
    // X11 flags its copies (press, or a release and press pair); a second press without a
    // release is a copy too.
    EXPECT_EQ(editor.RecordKeystroke(Repeat(kA, 500, true)), RecorderVerdict::Swallow);
    EXPECT_EQ(editor.RecordKeystroke(Repeat(kA, 500)), RecorderVerdict::Swallow);
    EXPECT_EQ(editor.RecordKeystroke(Down(kA, 530)), RecorderVerdict::Swallow);
    editor.RecordKeystroke(Up(kA, 600));
    const std::vector<MacroAction> expected = {{590, kA, kMacroPress}, {0, kA, kMacroRelease}};
    EXPECT_EQ(Rows(), expected);
}

TEST_F(RecordingTest, MediaKeysAndUnknownKeysPassThroughUnrecorded)
{
    OpenOn({}, 1);
    editor.ToggleRecording(0);
    EXPECT_EQ(editor.RecordKeystroke(Down(kVolumeUp, 10)), RecorderVerdict::Pass);
    EXPECT_EQ(editor.RecordKeystroke(Up(kVolumeUp, 20)), RecorderVerdict::Pass);
    EXPECT_EQ(editor.RecordKeystroke(Down(0, 30)), RecorderVerdict::Pass);
    EXPECT_EQ(editor.Steps().RowCount(), 0);
    EXPECT_FALSE(editor.Modified());
    // Not recording: nothing is taken.
    editor.ToggleRecording(40);
    EXPECT_EQ(editor.RecordKeystroke(Down(kA, 50)), RecorderVerdict::Pass);
    EXPECT_EQ(editor.Steps().RowCount(), 0);
}

TEST_F(RecordingTest, AFullMacroSwallowsKeysWithoutSteps)
{
    OpenOn(std::vector<MacroAction>(kMaxMacroActions, MacroAction{10, kB, kMacroPress}), 1);
    editor.ToggleRecording(0);
    EXPECT_EQ(editor.RecordKeystroke(Down(kA, 10)), RecorderVerdict::Swallow);
    EXPECT_EQ(editor.Steps().RowCount(), kMaxMacroActions);
    EXPECT_EQ(editor.Steps().Row(kMaxMacroActions - 1).delay, 10u);
    EXPECT_FALSE(editor.Modified());
}

TEST_F(RecordingTest, EveryWayOutOfThePageStopsTheRecording)
{
    OpenOn({{0, kA, kMacroPress}}, 1);
    const auto recordThen = [&](auto&& action) -> bool {
        if (!editor.Recording()) editor.ToggleRecording(0);
        EXPECT_TRUE(editor.Recording());
        action();
        return editor.Recording();
    };
    EXPECT_TRUE(recordThen([&] { editor.BeginCellEdit(0, static_cast<int>(StepColumn::Key)); }));
    EXPECT_TRUE(recordThen([&] { editor.BeginCellEdit(0, static_cast<int>(StepColumn::State)); }));
    EXPECT_FALSE(recordThen([&] { editor.BeginCellEdit(0, static_cast<int>(StepColumn::Delay)); }));
    EXPECT_FALSE(recordThen([&] { editor.LeavePage(); }));
    EXPECT_FALSE(recordThen([&] { editor.Confirm(true); }));
    EXPECT_FALSE(recordThen([&] { editor.ToggleRecording(0); }));
    EXPECT_FALSE(recordThen([&] { editor.Cancel(); }));
    // With no macro current there is nothing to record into.
    editor.ToggleRecording(0);
    EXPECT_FALSE(editor.Recording());
}

TEST_F(RecordingTest, WhileRecordingTheMacroListCannotChange)
{
    OpenOn({}, 1);
    editor.ToggleRecording(0);
    EXPECT_FALSE(editor.SelectorEnabled());
    editor.AddMacro();
    editor.DeleteMacro();
    editor.TypeName(u"Renamed");
    EXPECT_EQ(editor.EntryCount(), 1);
    EXPECT_EQ(editor.Entry(0).Name(), u"Keys");
    editor.ToggleRecording(0);
    EXPECT_TRUE(editor.SelectorEnabled());
}

TEST(MacroRecorder, LoneReleaseOfPrintScreenBecomesATapButAPressedOneDoesNot)
{
    MacroRecorder recorder;
    recorder.Start(0, kRecordRealPauses);
    // Pressed and released: recorded as they are, never press, press, release.
    RecorderOutput press = recorder.Feed(Down(keys::kPrintScreen, 100));
    RecorderOutput release = recorder.Feed(Up(keys::kPrintScreen, 180));
    ASSERT_EQ(press.stepCount, 1);
    ASSERT_EQ(release.stepCount, 1);
    EXPECT_EQ(press.steps[0], (MacroAction{100, keys::kPrintScreen, kMacroPress}));
    EXPECT_EQ(release.steps[0], (MacroAction{80, keys::kPrintScreen, kMacroRelease}));

    // A release that had no press: a press goes before it; the pause typed comes before the
    // tap and 2 ms separate its press from its release.
    for (KeyCode key : {keys::kPrintScreen, keys::kSysReq, KeyCode{0x071}, KeyCode{0x072}}) {
        recorder.Start(0, kRecordRealPauses);
        const RecorderOutput tap = recorder.Feed(Up(key, 300));
        ASSERT_EQ(tap.stepCount, 2) << key;
        EXPECT_EQ(tap.steps[0], (MacroAction{300, key, kMacroPress}));
        EXPECT_EQ(tap.steps[1], (MacroAction{kInsertedPressPauseMs, key, kMacroRelease}));
    }
    // Other keys keep a lone release as it is.
    recorder.Start(0, kRecordRealPauses);
    EXPECT_EQ(recorder.Feed(Up(kA, 5)).stepCount, 1);
    // With fixed pauses the tap's inner pause is the fixed one too.
    recorder.Start(0, 0);
    const RecorderOutput fixed = recorder.Feed(Up(keys::kPrintScreen, 999));
    EXPECT_EQ(fixed.steps[0].delay, kFixedRecordedPauseMs);
    EXPECT_EQ(fixed.steps[1].delay, kFixedRecordedPauseMs);
}

TEST(MacroRecorder, PausesFromTheEventsOwnClock)
{
    MacroRecorder recorder;
    // The window system's millisecond clock wraps round after 49 days.
    recorder.Start(0xFFFFFF00u, kRecordRealPauses);
    EXPECT_EQ(recorder.Feed(Down(kA, 0x40)).steps[0].delay, 0x140u);
    // A stamp older than the last one is no pause, not four billion milliseconds.
    EXPECT_EQ(recorder.Feed(Up(kA, 0x30)).steps[0].delay, 0u);
    // A pause longer than a macro step can hold is the longest one.
    EXPECT_EQ(recorder.Feed(Down(kB, 0x30 + 90000)).steps[0].delay, kMaxMacroDelayMs);
    // An option that is neither on nor off records no pauses.
    recorder.Start(0, 7);
    EXPECT_EQ(recorder.Feed(Down(kA, 500)).steps[0].delay, 0u);
}

} // namespace
} // namespace kovantis
