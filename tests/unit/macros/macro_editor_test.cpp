#include <gtest/gtest.h>

#include "keyboard/key_table.h"
#include "macros/macro_editor.h"
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

class MacroEditorTest : public ::testing::Test {
protected:
    MacroEditorTest()
    {
        texts.Set("MACRO_NEW_PREFIX", u"Macro");
        texts.Set("MACRO_ERR_MAX", u"At most %d macros");
        texts.Set("MACRO_ACTION_ERR_DELAY_MAX", u"Longest %d ms");
    }
    void Open(KeyAssignment clicked = {}, bool macroOnly = false) { editor.Open({clicked, macroOnly}); }
    std::vector<std::u16string> Names() const
    {
        std::vector<std::u16string> names;
        for (int i = 0; i < editor.EntryCount(); ++i) names.push_back(editor.Entry(i).Name());
        return names;
    }

    FakeMacroHost host;
    FakePrompter prompter;
    FakeTexts texts;
    MacroEditor editor{host, prompter, texts};
};

TEST_F(MacroEditorTest, GeneratedNamesSkipEveryPrefixOfAPresentName)
{
    host.working = {StoredMacro(1, u"Macro1"), StoredMacro(2, u"Macro10")};
    Open();
    editor.AddMacro();  // Macro1 begins both present names
    EXPECT_EQ(Names().back(), u"Macro2");
    EXPECT_EQ(editor.Entry(2).id, 3);
    EXPECT_EQ(editor.Entry(2).fresh, 1);
    EXPECT_EQ(editor.CurrentIndex(), 2);

    // Case does not matter: with the counter at 2, Macro3 begins "macro3x".
    host.working = {StoredMacro(1, u"x"), StoredMacro(2, u"macro3x")};
    MacroEditor fresh{host, prompter, texts};
    fresh.Open({});
    fresh.AddMacro();
    fresh.AddMacro();
    EXPECT_EQ(fresh.NameCounter(), 2);
    fresh.AddMacro();
    EXPECT_EQ(fresh.Entry(fresh.EntryCount() - 1).Name(), u"Macro4");

    // The counter outlives the opening, and starts over when the list is empty.
    fresh.Cancel();
    fresh.Open({});
    fresh.AddMacro();
    EXPECT_EQ(fresh.Entry(fresh.EntryCount() - 1).Name(), u"Macro5");
    host.working.clear();
    fresh.Open({});
    fresh.AddMacro();
    EXPECT_EQ(fresh.Entry(0).Name(), u"Macro1");
}

TEST_F(MacroEditorTest, AHundredAndFirstMacroIsRefused)
{
    for (uint16_t id = 1; id <= kMaxMacros; ++id) host.working.push_back(StoredMacro(id, u"m"));
    Open();
    editor.AddMacro();
    EXPECT_EQ(editor.EntryCount(), kMaxMacros);
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0], u"At most 100 macros");
}

TEST_F(MacroEditorTest, PlayCountStaysWithinOneTo255)
{
    Open();
    editor.TypeName(u"Typed");  // the empty selector gets its first macro
    ASSERT_EQ(editor.EntryCount(), 1);
    EXPECT_EQ(editor.Entry(0).id, 1);
    EXPECT_EQ(editor.Entry(0).playCount, 1);
    EXPECT_EQ(editor.Entry(0).Name(), u"Typed");

    EXPECT_EQ(editor.SetPlayCountText(u"0"), u"1");
    EXPECT_EQ(editor.SetPlayCountText(u"300"), u"255");
    EXPECT_EQ(editor.SetPlayCountText(u""), u"1");
    EXPECT_EQ(editor.SetPlayCountText(u"99999999999999999999"), u"255");
    EXPECT_EQ(editor.SetPlayCountText(u"42"), u"42");
    const MacroConfirmResult result = editor.Confirm(true);
    ASSERT_TRUE(result.proceed);
    EXPECT_EQ(host.committed.at(0).playCount, 42);
    EXPECT_EQ(result.assignment, MakeAssignment(AssignmentKind::PlayMacro, 1, 42));
}

TEST_F(MacroEditorTest, TypedDelaysAreClampedAndRoundedDown)
{
    host.working = {StoredMacro(1, u"m", {{0, kA, kMacroPress}, {0, kA, kMacroRelease}})};
    Open(MakeAssignment(AssignmentKind::PlayMacro, 1));
    ASSERT_EQ(editor.BeginCellEdit(0, 2), CellEditKind::Delay);
    EXPECT_EQ(editor.CommitDelayEdit(0, u"123"), 120u);
    EXPECT_TRUE(prompter.Messages().empty());
    EXPECT_EQ(editor.CommitDelayEdit(0, u"40001"), 40000u);
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0], u"Longest 40000 ms");
    EXPECT_EQ(editor.CommitDelayEdit(1, u"184467440737095516160"), 40000u);  // no wrap round
    EXPECT_EQ(editor.CommitDelayEdit(1, u"40000"), 40000u);
    EXPECT_EQ(editor.CommitDelayEdit(1, u"9"), 0u);
    EXPECT_EQ(prompter.Messages().size(), 2u);
    editor.Confirm(false);
    EXPECT_EQ(host.committed.at(0).actions[0].delay, 40000u);
    EXPECT_EQ(host.committed.at(0).actions[1].delay, 0u);
}

TEST_F(MacroEditorTest, KeyAndStateCellsTakeThePickedValue)
{
    host.working = {StoredMacro(1, u"m", {{30, kA, kMacroPress}})};
    Open(MakeAssignment(AssignmentKind::PlayMacro, 1));
    EXPECT_EQ(editor.BeginCellEdit(0, 0), CellEditKind::Key);
    editor.CommitKeyEdit(0, PickerPositionOf(kB));
    EXPECT_EQ(editor.BeginCellEdit(0, 1), CellEditKind::State);
    editor.CommitStateEdit(0, kMacroRelease);
    EXPECT_EQ(editor.Steps().Row(0), (MacroAction{30, kB, kMacroRelease}));
    EXPECT_TRUE(editor.Modified());
    // Outside the list or the picker nothing changes.
    editor.CommitKeyEdit(0, kPickerSize);
    EXPECT_EQ(editor.BeginCellEdit(5, 0), CellEditKind::None);
    EXPECT_EQ(editor.BeginCellEdit(0, 3), CellEditKind::None);
    EXPECT_EQ(prompter.Messages().size(), 1u);  // the column that cannot be edited
    EXPECT_EQ(editor.Steps().Row(0).key, kB);
}

TEST_F(MacroEditorTest, AddStepShiftsThePauseToTheRowBefore)
{
    host.working = {StoredMacro(1, u"m")};
    Open(MakeAssignment(AssignmentKind::PlayMacro, 1));
    editor.AddStep({500, kA, kMacroPress}, {}, true);  // first row: nothing before it
    editor.AddStep({70, kA, 9}, {}, true);            // a state of 2 or more is a press
    editor.AddStep({40, kB, kMacroRelease}, {.showOwnDelay = true}, true);
    const std::vector<MacroAction> expected = {{70, kA, kMacroPress}, {0, kA, kMacroPress}, {40, kB, kMacroRelease}};
    const auto rows = editor.Steps().Rows();
    EXPECT_EQ(std::vector<MacroAction>(rows.begin(), rows.end()), expected);
}

TEST_F(MacroEditorTest, StepButtonsMoveDeleteAndClear)
{
    host.working = {StoredMacro(1, u"m", {{1, kA, 0}, {2, kA, 1}, {3, kB, 0}, {4, kB, 1}})};
    Open(MakeAssignment(AssignmentKind::PlayMacro, 1));
    editor.SelectRow(2);
    editor.MoveStepToTop();
    EXPECT_EQ(editor.Steps().Row(0).delay, 3u);
    EXPECT_EQ(editor.Steps().Selected(), 0);
    editor.MoveStepDown();
    editor.MoveStepToBottom();
    EXPECT_EQ(editor.Steps().Row(3).delay, 3u);
    editor.MoveStepUp();
    EXPECT_EQ(editor.Steps().Selected(), 2);
    editor.DeleteStep();  // with its pause
    ASSERT_EQ(editor.Steps().RowCount(), 3);
    EXPECT_EQ(editor.Steps().Row(2).delay, 4u);
    EXPECT_EQ(editor.Steps().Selected(), 2);

    prompter.AnswerYes(false);
    editor.ClearSteps();
    EXPECT_EQ(editor.Steps().RowCount(), 3);
    prompter.AnswerYes(true);
    editor.ClearSteps();
    EXPECT_EQ(editor.Steps().RowCount(), 0);
    EXPECT_EQ(prompter.Questions().size(), 2u);
    editor.Confirm(false);
    EXPECT_EQ(host.committed.at(0).actionCount, 0);
    EXPECT_EQ(host.committed.at(0).actions[0], MacroAction{});  // no stale steps kept behind
}

TEST_F(MacroEditorTest, DeletingAMacroThatKeysPlayAsksFirst)
{
    host.working = {StoredMacro(1, u"One"), StoredMacro(2, u"Two")};
    host.assignedIds = {2};
    Open(MakeAssignment(AssignmentKind::PlayMacro, 2));
    prompter.AnswerYes(false);
    editor.DeleteMacro();
    EXPECT_EQ(editor.EntryCount(), 2);
    prompter.AnswerYes(true);
    editor.DeleteMacro();
    EXPECT_EQ(Names(), std::vector<std::u16string>{u"One"});
    EXPECT_EQ(editor.CurrentIndex(), 0);
    EXPECT_EQ(prompter.Questions().size(), 2u);

    // A macro made since the dialog opened never asks, even when it took a played id.
    host.assignedIds = {1, 2};
    editor.AddMacro();
    ASSERT_EQ(editor.Entry(1).id, 2);
    editor.DeleteMacro();
    EXPECT_EQ(prompter.Questions().size(), 2u);

    // The only macro gone: nothing current, no step buttons, the key gets its default.
    prompter.AnswerYes(true);
    editor.DeleteMacro();
    EXPECT_EQ(editor.EntryCount(), 0);
    EXPECT_EQ(editor.CurrentIndex(), -1);
    EXPECT_FALSE(editor.StepButtonsEnabled());
    const MacroConfirmResult result = editor.Confirm(true);
    EXPECT_EQ(result.assignment.kind, AssignmentKind::Default);
    EXPECT_TRUE(host.working.empty());
}

TEST_F(MacroEditorTest, CancelCommitsNothing)
{
    host.working = {StoredMacro(1, u"One", {{5, kA, 0}}), StoredMacro(2, u"Two")};
    host.stored = 0;
    Open(MakeAssignment(AssignmentKind::PlayMacro, 1));
    editor.AddMacro();
    editor.SelectEntry(0);
    editor.DeleteMacro();
    editor.SelectEntry(0);
    editor.ToggleRecording(0);
    editor.RecordKeystroke({kA, false, false, 10});
    editor.ToggleRecordDelay();  // saved at once, whatever the outcome
    editor.Cancel();
    EXPECT_EQ(host.commits, 0);
    EXPECT_EQ(host.working.size(), 2u);
    EXPECT_EQ(host.working[0].actionCount, 1);
    EXPECT_EQ(host.stored, 1);
    EXPECT_EQ(editor.EntryCount(), 0);
    EXPECT_FALSE(editor.Modified());
}

TEST_F(MacroEditorTest, OpeningSelectsTheMacroTheKeyPlays)
{
    host.working = {StoredMacro(1, u"One"), StoredMacro(2, u"Two", {{0, kA, 0}})};
    // Ids compare in 16 bits: 0x10002 is macro 2.
    Open(MakeAssignment(AssignmentKind::PlayMacro, 0x10002));
    EXPECT_EQ(editor.CurrentIndex(), 1);
    EXPECT_EQ(editor.Steps().RowCount(), 1);
    EXPECT_FALSE(editor.Modified());  // showing it is no change
    Open(MakeAssignment(AssignmentKind::PlayMacro, 77));
    EXPECT_EQ(editor.CurrentIndex(), 0);

    // A single-key assignment: the macro page shows nothing selected, and OK stores value 0.
    Open(MakeAssignment(AssignmentKind::Key, kB));
    EXPECT_EQ(editor.CurrentIndex(), -1);
    editor.ShowByPageButton();
    EXPECT_EQ(editor.CurrentIndex(), -1);
    EXPECT_FALSE(editor.StepButtonsEnabled());
    EXPECT_EQ(editor.Confirm(true).assignment, MakeAssignment(AssignmentKind::PlayMacro, 0, 1));

    // A key with its default: the first visit shows the first macro, later visits keep the choice.
    Open();
    editor.ShowByPageButton();
    EXPECT_EQ(editor.CurrentIndex(), 0);
    editor.SelectEntry(1);
    editor.ShowByPageButton();
    EXPECT_EQ(editor.CurrentIndex(), 1);

    // Opened to edit macros: the first one is shown.
    Open(MakeAssignment(AssignmentKind::Media, 3), true);
    EXPECT_EQ(editor.CurrentIndex(), 0);
}

TEST_F(MacroEditorTest, SwitchingMacrosKeepsTheirEditsAndApplyCommitsThemInOrder)
{
    host.working = {StoredMacro(4, u"One"), StoredMacro(9, u"Two")};
    Open(MakeAssignment(AssignmentKind::PlayMacro, 4));
    editor.AddStep({0, kA, kMacroPress}, {}, true);
    editor.SetPlayCountText(u"3");
    editor.SelectEntry(1);
    editor.TypeName(u"Renamed");
    editor.SelectEntry(0);
    EXPECT_EQ(editor.PlayCountText(), u"3");
    EXPECT_EQ(editor.Steps().RowCount(), 1);

    const MacroConfirmResult result = editor.Confirm(true);
    ASSERT_TRUE(result.proceed);
    EXPECT_EQ(result.assignment, MakeAssignment(AssignmentKind::PlayMacro, 4, 3));
    ASSERT_EQ(host.committed.size(), 2u);
    EXPECT_EQ(host.committed[0].actionCount, 1);
    EXPECT_EQ(host.committed[1].Name(), u"Renamed");
    EXPECT_FALSE(editor.Modified());
    // Apply keeps the dialog open: the page goes on with the same macros.
    EXPECT_EQ(editor.EntryCount(), 2);
}

TEST_F(MacroEditorTest, AMacroAddedBeforeApplyIsNoLongerNewAfterIt)
{
    Open();
    editor.AddMacro();
    ASSERT_TRUE(editor.Confirm(true).proceed);
    // The second Apply must not take the committed macro for a new one (the commit would clear
    // the key just given it) and deleting it must ask.
    EXPECT_EQ(editor.Entry(0).fresh, 0);
    editor.Confirm(true);
    EXPECT_EQ(host.committed.at(0).fresh, 0);
    host.assignedIds = {1};
    prompter.AnswerYes(false);
    editor.DeleteMacro();
    EXPECT_EQ(prompter.Questions().size(), 1u);
}

TEST_F(MacroEditorTest, SpaceGaugeFollowsTheStepsAndOkRefusesWhatCannotFit)
{
    host.working = {StoredMacro(1, u"AB", {{0, kA, 0}})};
    host.space = 36;
    Open(MakeAssignment(AssignmentKind::PlayMacro, 1));
    // 16 header + 2 table + 4 entry + 4 per step (+ 2 per name unit).
    EXPECT_EQ(editor.SpaceUse().needed, 26u);
    EXPECT_EQ(editor.SpaceUse().withNames, 30u);
    editor.AddStep({0, kB, 0}, {}, true);
    editor.AddStep({0, kB, 1}, {}, true);
    EXPECT_EQ(editor.SpaceUse().needed, 34u);
    EXPECT_FALSE(editor.SpaceUse().NamesFit());
    EXPECT_TRUE(editor.SpaceUse().Fits());
    editor.AddStep({0, kA, 1}, {}, true);
    EXPECT_FALSE(editor.SpaceUse().Fits());

    const MacroConfirmResult refused = editor.Confirm(true);
    EXPECT_FALSE(refused.proceed);
    EXPECT_EQ(host.commits, 0);
    EXPECT_EQ(prompter.Messages().back(), u"EXTRA_MACRO_TOO_LONG");
    EXPECT_EQ(editor.Steps().RowCount(), 4);  // the edits stay for the user to trim
    editor.SelectRow(3);
    editor.DeleteStep();
    EXPECT_TRUE(editor.Confirm(true).proceed);

    // Before the keyboard has told its space, nothing is refused here.
    host.space = 0;
    editor.AddStep({0, kA, 1}, {}, true);
    EXPECT_TRUE(editor.SpaceUse().Fits());
}

TEST_F(MacroEditorTest, RecordDelayOptionIsPutRightAndSavedAtOnce)
{
    host.stored = 5;
    Open();
    EXPECT_EQ(host.stored, 0);
    EXPECT_FALSE(editor.RecordDelayChecked());
    editor.ToggleRecordDelay();
    EXPECT_EQ(host.stored, 1);
    EXPECT_TRUE(editor.RecordDelayChecked());
}

} // namespace
} // namespace kovantis
