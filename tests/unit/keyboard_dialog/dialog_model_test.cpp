// The key assignment dialog's state: what opening shows, what each page and Clear do, and the
// record OK and Apply store, for keys and G keys, with the macro page plugged in or not.

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <string>
#include <vector>

#include "keyboard/bank.h"
#include "keyboard/key_assignment_dialog_model.h"
#include "keyboard/key_capture.h"

namespace kovantis {
namespace {

constexpr KeyCode kA = 0x01E;
constexpr KeyCode kB = 0x030;
constexpr int kRecordA = SlotOf(kA);
constexpr int kControlA = 1058;
constexpr int kG3BankA = kGKeyRecordsBankA + 2;
constexpr int kG3Control = 1002;
constexpr int kG9BankB = kGKeyRecordsBankB + 8;

class BankStore final : public AssignmentRecordStore {
public:
    BankStore() { InitBank(bank); }
    KeyAssignment ReadRecord(int record) override { return bank[static_cast<size_t>(record)]; }
    bool WriteRecord(int record, const KeyAssignment& value, bool releaseText) override
    {
        ++writes;
        lastReleasedText = releaseText;
        if (refuse)
            return false;
        bank[static_cast<size_t>(record)] = value;
        return true;
    }

    Bank bank{};
    int writes = 0;
    bool lastReleasedText = false;
    bool refuse = false;
};

// Records what the dialog asks of its macro page.
class ScriptedMacroPage final : public MacroPagePart {
public:
    void Opened(const KeyAssignment&, bool macroOnly) override { calls.push_back(macroOnly ? "open macro-only" : "open"); }
    void Shown(bool opening) override { calls.push_back(opening ? "shown at opening" : "shown"); }
    void Left() override { calls.push_back("left"); }
    MacroCommit Commit(bool decide) override
    {
        calls.push_back(decide ? "commit and decide" : "commit");
        return commit;
    }
    void Closed() override { calls.push_back("closed"); }

    std::vector<std::string> calls;
    MacroCommit commit;
};

KeyCode Captured(uint16_t evdev)
{
    return DecideKeyCapture({evdev + kNativeScanCodeOffset, false, false, {}}).code;
}

class DialogModelTest : public ::testing::Test {
protected:
    KeyAssignment& Record(int record) { return store.bank[static_cast<size_t>(record)]; }

    BankStore store;
    KeyAssignmentDialogModel model{store};
};

TEST_F(DialogModelTest, OpensOnThePageOfTheRecordsKind)
{
    ASSERT_TRUE(model.Open(kRecordA, kControlA));
    EXPECT_EQ(model.Page(), KeyPage::SingleKey);
    EXPECT_EQ(model.FieldKey(), 0);
    EXPECT_TRUE(model.Capturing());
    EXPECT_FALSE(model.Modified());
    EXPECT_EQ(model.OpenCount(), 1);
    EXPECT_FALSE(model.Open(kRecordA, kControlA)) << "only one dialog at a time";
    model.Cancel();
    EXPECT_EQ(model.OpenCount(), 0);
    EXPECT_FALSE(model.Open(kRecordsPerBank, kControlA));
    EXPECT_FALSE(model.Open(-1, kControlA));
    EXPECT_FALSE(model.IsOpen());

    Record(kRecordA) = MakeAssignment(AssignmentKind::Key, kB);
    model.Open(kRecordA, kControlA);
    EXPECT_EQ(model.FieldKey(), kB);
    EXPECT_EQ(model.ChosenKey(), kB);
    model.Cancel();

    Record(kRecordA) = MakeAssignment(AssignmentKind::Media, 5);
    model.Open(kRecordA, kControlA);
    EXPECT_EQ(model.Page(), KeyPage::Media);
    EXPECT_EQ(model.MediaSelection(), 5);
    EXPECT_FALSE(model.Capturing());
    model.Cancel();

    Record(kRecordA) = MakeAssignment(AssignmentKind::Function, 9);
    model.Open(kRecordA, kControlA);
    EXPECT_EQ(model.Page(), KeyPage::Function);
    EXPECT_EQ(model.FunctionSelection(), 9);
    model.Cancel();

    // A value no list has leaves the list at its first entry.
    Record(kRecordA) = MakeAssignment(AssignmentKind::Media, 40);
    model.Open(kRecordA, kControlA);
    EXPECT_EQ(model.MediaSelection(), 0);
    model.Cancel();

    // Kinds the dialog cannot edit show the single-key page with an empty field.
    Record(kRecordA) = MakeAssignment(AssignmentKind::LaunchProgram, 0x40);
    model.Open(kRecordA, kControlA);
    EXPECT_EQ(model.Page(), KeyPage::SingleKey);
    EXPECT_EQ(model.FieldKey(), 0);
    EXPECT_EQ(model.ChosenKey(), 0);
}

TEST_F(DialogModelTest, ACapturedKeyIsStoredUnlessItIsTheKeyItself)
{
    model.Open(kRecordA, kControlA);
    ASSERT_TRUE(model.CaptureKey(Captured(KEY_B)));
    EXPECT_EQ(model.FieldKey(), kB);
    EXPECT_TRUE(model.Modified());
    EXPECT_EQ(model.Ok(), ApplyResult::Stored);
    EXPECT_EQ(Record(kRecordA), MakeAssignment(AssignmentKind::Key, kB));
    EXPECT_FALSE(model.IsOpen());

    // A on A is A's default, not a Key assignment to A.
    model.Open(kRecordA, kControlA);
    model.CaptureKey(Captured(KEY_A));
    EXPECT_EQ(model.Ok(), ApplyResult::Stored);
    EXPECT_EQ(Record(kRecordA), KeyAssignment{});

    // The Windows key is captured as Win.
    model.Open(kRecordA, kControlA);
    model.CaptureKey(Captured(KEY_LEFTMETA));
    model.Ok();
    EXPECT_EQ(Record(kRecordA), MakeAssignment(AssignmentKind::Key, 0x15B));

    // A key opened with its default and OK alone stores the default again.
    Record(kRecordA) = {};
    model.Open(kRecordA, kControlA);
    EXPECT_EQ(model.Ok(), ApplyResult::Stored);
    EXPECT_EQ(Record(kRecordA), KeyAssignment{});
}

TEST_F(DialogModelTest, CapturesOnlyOnTheSingleKeyPage)
{
    model.Open(kRecordA, kControlA);
    model.PressPage(KeyPage::Media);
    EXPECT_FALSE(model.Capturing());
    EXPECT_FALSE(model.CaptureKey(kB));
    EXPECT_EQ(model.Kind(), AssignmentKind::Media);
    model.PressPage(KeyPage::SingleKey);
    EXPECT_TRUE(model.CaptureKey(kB));
    model.Cancel();
    EXPECT_FALSE(model.CaptureKey(kB));
    EXPECT_FALSE(model.Capturing());
}

TEST_F(DialogModelTest, MediaAndFunctionPagesStoreTheListSelection)
{
    // Choosing the media page and pressing OK stores the list's selection, touched or not.
    model.Open(kRecordA, kControlA);
    model.PressPage(KeyPage::Media);
    EXPECT_TRUE(model.Modified());
    model.Ok();
    EXPECT_EQ(Record(kRecordA), MakeAssignment(AssignmentKind::Media, 0));

    model.Open(kRecordA, kControlA);
    model.Apply();
    EXPECT_FALSE(model.Modified());
    model.SelectMedia(7);
    EXPECT_TRUE(model.Modified()) << "a new selection is something to apply";
    model.Ok();
    EXPECT_EQ(Record(kRecordA), MakeAssignment(AssignmentKind::Media, 7));

    // Opened on a media key and OK alone: the selection the record had.
    model.Open(kRecordA, kControlA);
    model.Ok();
    EXPECT_EQ(Record(kRecordA), MakeAssignment(AssignmentKind::Media, 7));

    model.Open(kRecordA, kControlA);
    model.PressPage(KeyPage::Function);
    model.SelectFunction(10);
    model.SelectFunction(11);  // no such function: ignored
    model.Ok();
    EXPECT_EQ(Record(kRecordA), MakeAssignment(AssignmentKind::Function, 10));
}

TEST_F(DialogModelTest, ClearReturnsTheKeyToItsDefault)
{
    Record(kRecordA) = MakeAssignment(AssignmentKind::Key, kB);
    model.Open(kRecordA, kControlA);
    model.PressClear();
    EXPECT_EQ(model.FieldKey(), 0);
    EXPECT_EQ(model.Kind(), AssignmentKind::Default);
    EXPECT_TRUE(model.Modified());
    model.Ok();
    EXPECT_EQ(Record(kRecordA), KeyAssignment{});

    // From another page Clear shows the single-key page first.
    Record(kRecordA) = MakeAssignment(AssignmentKind::Media, 3);
    model.Open(kRecordA, kControlA);
    model.PressClear();
    EXPECT_EQ(model.Page(), KeyPage::SingleKey);
    model.Ok();
    EXPECT_EQ(Record(kRecordA), KeyAssignment{});

    // A cleared key stays cleared after a round trip through another page.
    Record(kRecordA) = MakeAssignment(AssignmentKind::Key, kB);
    model.Open(kRecordA, kControlA);
    model.PressClear();
    model.PressPage(KeyPage::Function);
    model.PressPage(KeyPage::SingleKey);
    EXPECT_EQ(model.FieldKey(), 0);
    model.Ok();
    EXPECT_EQ(Record(kRecordA), KeyAssignment{});

    // Nor does a value that names no key come back as one.
    Record(kRecordA) = MakeAssignment(AssignmentKind::TextBlock, 0x40);
    model.Open(kRecordA, kControlA);
    model.PressPage(KeyPage::Media);
    model.PressPage(KeyPage::SingleKey);
    model.Ok();
    EXPECT_EQ(Record(kRecordA), KeyAssignment{});
}

TEST_F(DialogModelTest, AGKeyKeepsItsIdExceptWhenItPlaysAMacro)
{
    ScriptedMacroPage macroPage;
    model.SetMacroPage(macroPage);
    const uint16_t id = GKeyId(2, GKeyBank::A);
    ASSERT_EQ(Record(kG3BankA).extra, id);

    model.Open(kG3BankA, kG3Control);
    model.CaptureKey(kB);
    model.Ok();
    EXPECT_EQ(Record(kG3BankA), MakeAssignment(AssignmentKind::Key, kB, id));

    model.Open(kG3BankA, kG3Control);
    model.PressPage(KeyPage::Media);
    model.Ok();
    EXPECT_EQ(Record(kG3BankA), MakeAssignment(AssignmentKind::Media, 0, id));

    model.Open(kG3BankA, kG3Control);
    model.PressClear();
    model.Ok();
    EXPECT_EQ(Record(kG3BankA), MakeAssignment(AssignmentKind::Default, 0, id));

    macroPage.commit.choice = MacroChoice{4, 12};
    model.Open(kG3BankA, kG3Control);
    model.PressPage(KeyPage::Macro);
    model.Ok();
    EXPECT_EQ(Record(kG3BankA), MakeAssignment(AssignmentKind::PlayMacro, 4, 12));
}

TEST_F(DialogModelTest, CancelLeavesEverything)
{
    ScriptedMacroPage macroPage;
    model.SetMacroPage(macroPage);
    Record(kRecordA) = MakeAssignment(AssignmentKind::Key, kB);
    const Bank before = store.bank;
    model.Open(kRecordA, kControlA);
    model.CaptureKey(0x02E);
    model.PressPage(KeyPage::Macro);
    model.PressPage(KeyPage::Function);
    model.SelectFunction(3);
    model.Cancel();
    EXPECT_EQ(store.bank, before);
    EXPECT_EQ(store.writes, 0);
    EXPECT_FALSE(model.IsOpen());
    EXPECT_FALSE(model.Modified());
    EXPECT_EQ(macroPage.calls.back(), "closed");
    // Cancel on a closed dialog does nothing at all.
    model.Cancel();
    EXPECT_EQ(model.OpenCount(), 0);
}

TEST_F(DialogModelTest, MacroOnlyModeShowsNothingButTheMacroPage)
{
    ScriptedMacroPage macroPage;
    model.SetMacroPage(macroPage);
    model.Open(kG9BankB, kMacroOnlyControlId);
    EXPECT_TRUE(model.MacroOnly());
    EXPECT_EQ(model.Page(), KeyPage::Macro);
    EXPECT_FALSE(model.Capturing());
    EXPECT_FALSE(model.PageButtonEnabled(KeyPage::SingleKey));
    EXPECT_FALSE(model.PageButtonEnabled(KeyPage::Media));
    EXPECT_TRUE(model.PageButtonEnabled(KeyPage::Macro));
    EXPECT_FALSE(model.ClearEnabled());
    model.PressPage(KeyPage::Media);
    model.PressClear();
    EXPECT_FALSE(model.PickKey(kB));
    EXPECT_EQ(model.Page(), KeyPage::Macro);
    EXPECT_FALSE(model.Modified());

    // With an empty macro list OK stores the default, the G key's id kept.
    model.Ok();
    EXPECT_EQ(Record(kG9BankB), MakeAssignment(AssignmentKind::Default, 0, GKeyId(8, GKeyBank::B)));
    const std::vector<std::string> expected{"open macro-only", "shown at opening", "commit and decide", "closed"};
    EXPECT_EQ(macroPage.calls, expected);
}

TEST_F(DialogModelTest, TheMacroPageIsToldOfPageChangesCommitsAndClosing)
{
    ScriptedMacroPage macroPage;
    model.SetMacroPage(macroPage);
    Record(kRecordA) = MakeAssignment(AssignmentKind::PlayMacro, 2, 3);
    model.Open(kRecordA, kControlA);
    model.PressPage(KeyPage::Media);
    model.Apply();
    model.PressPage(KeyPage::Macro);
    model.PressPage(KeyPage::Macro);  // already shown
    model.Ok();
    const std::vector<std::string> expected{"open", "shown at opening", "left", "commit", "shown", "commit and decide",
                                            "closed"};
    EXPECT_EQ(macroPage.calls, expected);
    // The empty list of the last commit made the key's default.
    EXPECT_EQ(Record(kRecordA), KeyAssignment{});

    // The macro page's own changes enable Apply.
    model.Open(kRecordA, kControlA);
    model.MarkModified();
    EXPECT_TRUE(model.Modified());
    model.Cancel();
    model.MarkModified();
    EXPECT_FALSE(model.Modified());
}

TEST_F(DialogModelTest, NothingIsStoredWhenTheMacroListOrTheRecordCannotBeStored)
{
    ScriptedMacroPage macroPage;
    model.SetMacroPage(macroPage);
    macroPage.commit.committed = false;
    model.Open(kRecordA, kControlA);
    model.CaptureKey(kB);
    EXPECT_EQ(model.Ok(), ApplyResult::MacroCommitFailed);
    EXPECT_EQ(store.writes, 0);
    EXPECT_TRUE(model.IsOpen());
    EXPECT_TRUE(model.Modified());

    macroPage.commit.committed = true;
    store.refuse = true;
    EXPECT_EQ(model.Ok(), ApplyResult::StoreFailed);
    EXPECT_TRUE(model.IsOpen());
    EXPECT_TRUE(model.Modified());
    store.refuse = false;
    EXPECT_EQ(model.Ok(), ApplyResult::Stored);
    EXPECT_EQ(Record(kRecordA), MakeAssignment(AssignmentKind::Key, kB));
    EXPECT_EQ(model.Apply(), ApplyResult::NotOpen);
}

TEST_F(DialogModelTest, OnlyAChangeOfKindFreesALaunchOrTextRecordsText)
{
    Record(kRecordA) = MakeAssignment(AssignmentKind::LaunchProgram, 0x40);
    model.Open(kRecordA, kControlA);
    model.Ok();
    EXPECT_EQ(Record(kRecordA), MakeAssignment(AssignmentKind::LaunchProgram, 0));
    EXPECT_FALSE(store.lastReleasedText);

    model.Open(kRecordA, kControlA);
    model.CaptureKey(kB);
    model.Ok();
    EXPECT_TRUE(store.lastReleasedText);

    // Disabled and StopMacro records that are left alone stay what they are.
    Record(kRecordA) = MakeAssignment(AssignmentKind::StopMacro, 7);
    model.Open(kRecordA, kControlA);
    model.Ok();
    EXPECT_EQ(Record(kRecordA), MakeAssignment(AssignmentKind::StopMacro, 0));

    // A kind only a damaged file holds is not written back.
    Record(kRecordA) = MakeAssignment(static_cast<AssignmentKind>(0x33), 7);
    model.Open(kRecordA, kControlA);
    model.Ok();
    EXPECT_EQ(Record(kRecordA), KeyAssignment{});
}

TEST_F(DialogModelTest, AKeyPickedFromTheListIsTakenLikeAPressedOne)
{
    model.Open(kRecordA, kControlA);
    model.PressPage(KeyPage::Function);
    ASSERT_TRUE(model.PickKey(0x137));
    EXPECT_EQ(model.Page(), KeyPage::SingleKey);
    EXPECT_EQ(model.FieldKey(), 0x137);
    model.Apply();
    EXPECT_EQ(Record(kRecordA), MakeAssignment(AssignmentKind::Key, 0x137));
    EXPECT_TRUE(model.IsOpen()) << "Apply keeps the dialog open";
    EXPECT_FALSE(model.Modified());
}

} // namespace
} // namespace kovantis
