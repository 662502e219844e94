#include <gtest/gtest.h>

#include "app/app_settings.h"
#include "keyboard/key_assignment_dialog_model.h"
#include "macros/macro_editor.h"
#include "macros/macro_editor_page.h"
#include "platform/settings_store.h"
#include "profiles/macro_download.h"
#include "profiles/working_bank_store.h"
#include "profiles/working_macro_host.h"
#include "support/fake_device.h"
#include "unit/profiles/profile_test_support.h"

namespace kovantis {
namespace {

using testing::FakeDevice;
using testing::TemporaryHome;

constexpr KeyCode kKeyA = 0x01E;
constexpr KeyCode kKeyB = 0x030;
constexpr int kPositionOfA = 19;

// The macro page over the real working copy, commit, settings store and download.
class WorkingMacroHostTest : public ::testing::Test {
protected:
    KeyAssignment& Record(int bank, int record)
    {
        ProfileData::Lock lock(data.working);
        return lock->image.Bank(bank)[static_cast<size_t>(record)];
    }
    DownloadLink Link() { return {device.Commands(), device.State(), device.GetPrompter(), device.Texts()}; }

    TemporaryHome home;
    Paths paths = home.MakePaths();
    SettingsStore store{paths.SettingsStoreFile()};
    FakeDevice device;
    AppSettings settings{paths, store, device.Texts()};
    ProfileDataPair data;
    UnsavedChanges changes{device.Window()};
    WorkingMacroHost host{{data.working, changes, device.Window(), device.State(), settings}};
    MacroEditor editor{host, device.GetPrompter(), device.Texts()};
};

TEST_F(WorkingMacroHostTest, ApplyingTwiceKeepsTheKeyOnItsNewMacro)
{
    editor.Open({Record(0, kKeyA), false});
    editor.AddMacro();
    editor.AddStep({0, kKeyB, kMacroPress}, {}, true);
    editor.AddStep({120, kKeyB, kMacroRelease}, {}, true);
    MacroConfirmResult result = editor.Confirm(true);
    ASSERT_TRUE(result.proceed);
    Record(0, kKeyA) = result.assignment;  // what the dialog stores for the key
    // A second Apply of the same dialog: the macro is the program's now, not a new one whose
    // id was handed over from a deleted macro.
    changes.Clear();
    result = editor.Confirm(true);
    ASSERT_TRUE(result.proceed);
    EXPECT_EQ(Record(0, kKeyA).kind, AssignmentKind::PlayMacro);
    EXPECT_FALSE(changes.Pending());
    Record(0, kKeyA) = result.assignment;
    EXPECT_EQ(Record(0, kKeyA).value, 1u);

    ASSERT_EQ(device.Commands().SetActiveProfile(0), 1);
    ASSERT_EQ(DownloadToKeyboard(data, Link(), false), 1);
    const auto keymap = device.Model().Keymap(0);
    EXPECT_EQ(keymap[3 * kPositionOfA], 5);
    EXPECT_EQ(keymap[3 * kPositionOfA + 2], 0);
    const auto area = device.Model().MacroArea();
    const std::vector<uint8_t> firstStep = {0x0C, 0xA0, 0x02, 0x05};  // B down, 120 ms after
    ASSERT_GE(area.size(), 22u + 4u);
    EXPECT_EQ(std::vector<uint8_t>(area.begin() + 22, area.begin() + 26), firstStep);
}

TEST_F(WorkingMacroHostTest, RecordDelaySettingAndMacroSpaceComeFromTheProgram)
{
    store.Write(settings.RecordDelayValueName(), u"3");
    device.State().SetMacroAreaSize(128);
    editor.Open({});
    EXPECT_EQ(settings.ReadRecordDelaySetting(), 0);  // put right at opening
    editor.ToggleRecordDelay();
    EXPECT_EQ(settings.ReadRecordDelaySetting(), 1);
    EXPECT_EQ(editor.SpaceUse().space, 128u);
}

TEST_F(WorkingMacroHostTest, DeletingAPlayedMacroClearsItsKeysOnlyWhenConfirmed)
{
    {
        ProfileData::Lock lock(data.working);
        MacroRecord m = NewMacroRecord(u"Old", {});
        m.fresh = 0;
        lock->macros = {m};
    }
    Record(2, kKeyA) = MakeAssignment(AssignmentKind::PlayMacro, 1);
    editor.Open({Record(0, kKeyA), false});
    editor.ShowByPageButton();
    device.GetPrompter().AnswerYes(true);
    editor.DeleteMacro();
    editor.AddMacro();  // takes id 1 again
    EXPECT_EQ(device.GetPrompter().Questions().size(), 1u);
    editor.Cancel();
    EXPECT_EQ(Record(2, kKeyA).kind, AssignmentKind::PlayMacro);

    editor.Open({Record(0, kKeyA), false});
    editor.ShowByPageButton();
    editor.DeleteMacro();
    editor.AddMacro();
    ASSERT_TRUE(editor.Confirm(false).proceed);
    EXPECT_EQ(Record(2, kKeyA).kind, AssignmentKind::Default);  // never plays the new macro 1
    EXPECT_TRUE(changes.Pending());
}

// The whole key assignment dialog with its macro page over the working copy.
class MacroPageInDialogTest : public WorkingMacroHostTest {
protected:
    MacroPageInDialogTest() { dialog.SetMacroPage(page); }

    WorkingBankStore bank{data.working, changes, [] { return 0; }};
    KeyAssignmentDialogModel dialog{bank};
    MacroEditorPage page{editor};
};

TEST_F(MacroPageInDialogTest, OkOnTheMacroPageStoresTheMacroWithItsPlayCount)
{
    ASSERT_TRUE(dialog.Open(kKeyA, 0));
    dialog.PressPage(KeyPage::Macro);
    editor.AddMacro();
    editor.AddStep({0, kKeyB, kMacroPress}, {}, true);
    editor.SetPlayCountText(u"3");
    ASSERT_EQ(dialog.Ok(), ApplyResult::Stored);
    EXPECT_EQ(Record(0, kKeyA), MakeAssignment(AssignmentKind::PlayMacro, 1, 3));
    ProfileData::Lock lock(data.working);
    ASSERT_EQ(lock->macros.size(), 1u);
    EXPECT_EQ(lock->macros[0].actionCount, 1);
    EXPECT_EQ(lock->macros[0].fresh, 0);
}

TEST_F(MacroPageInDialogTest, MacrosThatCannotFitKeepTheDialogOpenAndStoreNothing)
{
    device.State().SetMacroAreaSize(128);
    const KeyAssignment before = Record(0, kKeyA);
    ASSERT_TRUE(dialog.Open(kKeyA, kMacroOnlyControlId));
    editor.AddMacro();
    for (int i = 0; i < 40; ++i) {
        editor.AddStep({10, kKeyB, static_cast<uint16_t>(i % 2)}, {}, true);
    }
    EXPECT_NE(dialog.Ok(), ApplyResult::Stored);
    EXPECT_TRUE(dialog.IsOpen());
    EXPECT_EQ(Record(0, kKeyA), before);
    {
        ProfileData::Lock lock(data.working);
        EXPECT_TRUE(lock->macros.empty());
    }
    // Cancel after all that leaves everything as it was.
    dialog.Cancel();
    EXPECT_EQ(editor.EntryCount(), 0);
    ProfileData::Lock lock(data.working);
    EXPECT_TRUE(lock->macros.empty());
}

} // namespace
} // namespace kovantis
