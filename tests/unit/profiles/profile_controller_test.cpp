#include <gtest/gtest.h>

#include "keyboard/key_code.h"
#include "wire/le_bytes.h"
#include "profiles/macro_list.h"
#include "profile_test_support.h"
#include "profiles/keyboard_readback.h"
#include "profiles/profile_controller.h"
#include "platform/ini_file.h"
#include "profiles/profile_file.h"
#include "support/fake_device.h"

namespace kovantis {
namespace {

using namespace kovantis::testing;

constexpr KeyCode kKeyA = 0x01E;
constexpr int kPositionOfA = 19;

class ProfileWindow : public FakeWindow {
public:
    void PostProfileChecked(int profile) override { Record("PostProfileChecked " + std::to_string(profile)); }
    void PostProfileCaption(const std::u16string& c, const std::u16string& t) override
    {
        caption = c;
        tooltip = t;
    }
    std::u16string caption;
    std::u16string tooltip;
};

class RecordingLighting : public LightingHooks {
public:
    void SetCurrentProfile(int p) override { calls.push_back("current " + std::to_string(p)); }
    void ReadBackLighting(int p) override { calls.push_back("read " + std::to_string(p)); }
    void ReloadUserModes(int p) override { calls.push_back("modes " + std::to_string(p)); }
    void RefreshPanel() override { calls.push_back("refresh"); }
    void TurnLightingViewOff() override { calls.push_back("view off"); }
    std::vector<std::string> calls;
};

MacroRecord Macro(uint16_t id, std::u16string_view name)
{
    MacroRecord r;
    r.SetName(name);
    r.id = id;
    r.playCount = 3;
    r.actionCount = 2;
    r.actions[0] = {50, kKeyA, kMacroPress};
    r.actions[1] = {0, kKeyA, kMacroRelease};
    return r;
}

class ControllerTest : public ::testing::Test {
protected:
    ControllerTest() { device.ClearSent(); }

    KeyAssignment& Record(int bank, KeyCode key)
    {
        ProfileData::Lock lock(data.working);
        return lock->image.Bank(bank)[key];
    }
    std::vector<uint8_t> SentCommands() const
    {
        std::vector<uint8_t> commands;
        for (const auto& r : device.Sent()) {
            commands.push_back(r[3]);
        }
        return commands;
    }
    int CountSent(uint8_t command) const
    {
        const auto c = SentCommands();
        return static_cast<int>(std::count(c.begin(), c.end(), command));
    }
    // A working file on disk whose key A of profile 1 types B.
    void SaveWorkingFileWithKeyB()
    {
        ASSERT_EQ(CreateBlankImage(WorkingFilePath(paths)), 1);
        Record(0, kKeyA) = MakeAssignment(AssignmentKind::Key, 0x030);
        ASSERT_EQ(SaveWorkingFile(paths, data.working), 1);
    }

    TemporaryHome home;
    Paths paths = home.MakePaths();
    FakeDevice device;
    ScriptedPrompter prompter;
    ProfileWindow window;
    ProfileDataPair data;
    UnsavedChanges changes{window};
    RecordingLighting lighting;
    ProfileController controller{
        {data, device.Commands(), device.State(), window, window, prompter, device.Texts(), paths, changes, lighting}};
};

TEST_F(ControllerTest, SwitchWithUnsavedChangesAnsweredNoReloadsAndDisablesApply)
{
    SaveWorkingFileWithKeyB();
    Record(0, kKeyA) = MakeAssignment(AssignmentKind::Disabled);
    changes.MarkChanged();
    prompter.AnswerYes(false);
    device.ClearSent();

    EXPECT_EQ(controller.SwitchProfile(1), 1);
    ASSERT_EQ(prompter.Questions().size(), 1u);
    EXPECT_EQ(prompter.Questions()[0], u"PROFILE_SELECT_PROMPT");
    EXPECT_EQ(Record(0, kKeyA), MakeAssignment(AssignmentKind::Key, 0x030));
    EXPECT_FALSE(changes.Pending());
    EXPECT_EQ(window.Count("PostApplyEnabled 0"), 1);
    EXPECT_EQ(CountSent(0x08), 0);
    EXPECT_EQ(device.Model().ActiveProfile(), 1);
    EXPECT_EQ(window.caption, u"$Profile0");
    EXPECT_EQ(window.tooltip, u"PROFILE_TIP$Profile0");

    // Without a working file to go back to, the edits stay and so does Apply.
    std::filesystem::remove(WorkingFilePath(paths));
    Record(0, kKeyA) = MakeAssignment(AssignmentKind::Disabled);
    changes.MarkChanged();
    EXPECT_EQ(controller.SwitchProfile(2), 1);
    EXPECT_EQ(Record(0, kKeyA), MakeAssignment(AssignmentKind::Disabled));
    EXPECT_TRUE(changes.Pending());
}

TEST_F(ControllerTest, SwitchAnsweredYesDownloadsThePreviousProfileFirst)
{
    SaveWorkingFileWithKeyB();
    Record(0, kKeyA) = MakeAssignment(AssignmentKind::Disabled);
    changes.MarkChanged();
    prompter.AnswerYes(true);
    device.ClearSent();

    EXPECT_EQ(controller.SwitchProfile(1), 1);
    const auto commands = SentCommands();
    const auto keymap = std::find(commands.begin(), commands.end(), 0x08);
    const auto settingsWrite = std::find(commands.begin(), commands.end(), 0x04);
    ASSERT_NE(keymap, commands.end());
    EXPECT_LT(keymap, settingsWrite);
    EXPECT_EQ(ReadU16(device.Sent()[static_cast<size_t>(keymap - commands.begin())], 5), 0);  // profile 0
    EXPECT_EQ(device.Model().Keymap(0)[3 * kPositionOfA], 0);  // disabled
    EXPECT_EQ(device.Model().ActiveProfile(), 1);
    EXPECT_FALSE(changes.Pending());
    // The working file holds what was downloaded.
    ProfileData reread(ProfileDataRole::Working);
    ASSERT_EQ(LoadProfileFile(WorkingFilePath(paths), reread), 1);
    ProfileData::Lock lock(reread);
    EXPECT_EQ(lock->image.Bank(0)[kKeyA].kind, AssignmentKind::Disabled);
}

TEST_F(ControllerTest, ProfileButtonsAndRefusedSwitches)
{
    controller.PressProfileButton(0);  // already active: lighting only
    EXPECT_EQ(lighting.calls, (std::vector<std::string>{"current 0", "read 0", "modes 0", "refresh", "view off"}));
    EXPECT_EQ(CountSent(0x04), 0);

    window.editorOpen = true;
    controller.PressProfileButton(2);
    EXPECT_EQ(controller.CurrentProfile(), 2);  // the panel follows, the keyboard does not
    EXPECT_EQ(device.Model().ActiveProfile(), 0);
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0], u"PROFILE_SEELCT_PROMPT2");
    EXPECT_EQ(window.Count("PostProfileChecked 2"), 0);

    window.editorOpen = false;
    controller.PressProfileButton(2);
    EXPECT_EQ(device.Model().ActiveProfile(), 2);
    EXPECT_EQ(window.Count("PostProfileChecked 2"), 1);
    EXPECT_TRUE(prompter.Questions().empty());  // nothing unsaved: nothing asked

    // Index 3 and above mean profile 0; a keyboard that does not take it is not a switch.
    EXPECT_EQ(controller.SwitchProfile(7), 1);
    EXPECT_EQ(device.Model().ActiveProfile(), 0);
    device.SetPresent(false);
    EXPECT_EQ(controller.SwitchProfile(1), 0);
}

TEST_F(ControllerTest, ApplySavesAndDownloadsOnlyWhenSomethingChanged)
{
    EXPECT_EQ(controller.Apply(), 1);
    EXPECT_TRUE(device.Sent().empty());

    SaveWorkingFileWithKeyB();
    changes.MarkChanged();
    {
        ProfileData::Lock lock(data.working);
        lock->macros = {Macro(1, u"One")};
    }
    device.State().SetMacroAreaSize(16);  // too small for the macro
    EXPECT_EQ(controller.Apply(), 0);
    EXPECT_TRUE(changes.Pending());
    EXPECT_EQ(CountSent(0x01), 0);
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0], u"EXTRA_MACRO_TOO_LONG");
    EXPECT_EQ(FileBytes(WorkingFilePath(paths)).size(), 32832u + 16512u);  // already saved

    device.State().SetMacroAreaSize(0x40 * 128);
    EXPECT_EQ(controller.Apply(), 1);
    EXPECT_FALSE(changes.Pending());
    EXPECT_EQ(CountSent(0x08), 7);
    EXPECT_EQ(window.Count("PostProgress 1"), 3);
    EXPECT_EQ(window.Count("PostProgress 0"), 3);
}

TEST_F(ControllerTest, ApplyWritesTheShownProfilesEditsEvenWhenTheKeyboardRunsAnother)
{
    ASSERT_EQ(CreateBlankImage(WorkingFilePath(paths)), 1);
    // A refused switch leaves the window on profile 2 while the keyboard stays on profile 0.
    window.editorOpen = true;
    controller.PressProfileButton(2);
    window.editorOpen = false;
    ASSERT_EQ(controller.CurrentProfile(), 2);
    ASSERT_EQ(device.Model().ActiveProfile(), 0);
    auto keymapOf = [this](int profile) {
        const auto keymap = device.Model().Keymap(profile);
        return std::vector<uint8_t>(keymap.begin(), keymap.end());
    };
    const std::vector<uint8_t> keymap0 = keymapOf(0);

    Record(2, kKeyA) = MakeAssignment(AssignmentKind::Key, 0x030);
    changes.MarkChanged();
    EXPECT_EQ(controller.Apply(), 1);
    const std::vector<uint8_t> keymap2 = keymapOf(2);
    EXPECT_EQ(std::vector<uint8_t>(keymap2.begin() + 3 * kPositionOfA, keymap2.begin() + 3 * kPositionOfA + 3),
              (std::vector<uint8_t>{0x02, 0x02, 0x05}))
        << "A sends B in the profile the edit was made in";
    EXPECT_EQ(keymapOf(0), keymap0) << "the running profile is written as it was";
    EXPECT_EQ(device.Model().ActiveProfile(), 0);
    EXPECT_FALSE(changes.Pending());
}

TEST_F(ControllerTest, ReadingTheKeyboardBackIntoFiles)
{
    const std::filesystem::path file = home.Root() / "keyboard.kvp";
    // A keyboard whose macro area carries no mark: an image without macros.
    ASSERT_EQ(ReadKeyboardToFile(file, device.Commands(), device.State(), device.Texts()), 1);
    std::vector<uint8_t> bytes = FileBytes(file);
    ASSERT_EQ(bytes.size(), 32832u);
    EXPECT_EQ(ReadU16(bytes, 14), 0);
    EXPECT_EQ(ValidateProfileFile(file, prompter, device.Texts()), 1);

    {
        ProfileData::Lock lock(data.working);
        lock->macros = {Macro(4, u"First"), Macro(8, u"")};
        lock->image.Bank(1)[kKeyA] = MakeAssignment(AssignmentKind::PlayMacro, 8);
        lock->image.Bank(2)[kKeyA] = MakeAssignment(AssignmentKind::Media, 6);
    }
    ASSERT_EQ(controller.FullDownload(true), 1);
    ASSERT_EQ(ReadKeyboardToFile(file, device.Commands(), device.State(), device.Texts()), 1);
    ProfileData back(ProfileDataRole::Working);
    ASSERT_EQ(LoadProfileFile(file, back), 1);
    ProfileData::Lock lock(back);
    ASSERT_EQ(lock->macros.size(), 2u);
    EXPECT_EQ(lock->macros[0].Name(), u"First");
    EXPECT_EQ(lock->macros[1].Name(), u"MACRO_NEW_PREFIX2");  // stored without a name
    EXPECT_EQ(lock->macros[1].id, 2);
    EXPECT_EQ(lock->macros[0].playCount, 3);
    EXPECT_EQ(lock->macros[0].actions[0], (MacroAction{50, kKeyA, kMacroPress}));
    EXPECT_EQ(lock->image.Bank(1)[kKeyA], MakeAssignment(AssignmentKind::PlayMacro, 2));
    EXPECT_EQ(lock->image.Bank(2)[kKeyA], MakeAssignment(AssignmentKind::Media, 6));

    // A read that fails leaves the file as it was.
    bytes = FileBytes(file);
    device.InjectFault(Fault::NoReply, 3);
    EXPECT_EQ(ReadKeyboardToFile(file, device.Commands(), device.State(), device.Texts()), 0);
    EXPECT_EQ(FileBytes(file), bytes);
}

TEST_F(ControllerTest, KeyboardArrivalLoadsWhatItHoldsOrABlankImage)
{
    ASSERT_EQ(device.Commands().SetActiveProfile(1), 1);
    controller.OnKeyboardArrived();
    EXPECT_EQ(controller.CurrentProfile(), 1);
    EXPECT_EQ(window.Count("PostProfileChecked 1"), 1);
    EXPECT_EQ(FileBytes(WorkingFilePath(paths)).size(), 32832u);
    EXPECT_EQ(window.caption, u"$Profile0");

    const std::vector<uint8_t> onDisk = FileBytes(WorkingFilePath(paths));
    Record(0, kKeyA) = MakeAssignment(AssignmentKind::Disabled);
    device.Commands().ForgetActiveProfile();
    device.SetPresent(false);
    EXPECT_EQ(controller.LoadFromKeyboard(), -1);
    EXPECT_EQ(Record(0, kKeyA), KeyAssignment{});  // blank in memory
    EXPECT_EQ(FileBytes(WorkingFilePath(paths)), onDisk);
}

TEST_F(ControllerTest, AMacroAreaThatCannotBeUnderstoodKeepsTheKeymapsAndSaysSo)
{
    ASSERT_EQ(device.Commands().SetActiveProfile(0), 1);
    device.State().SetMacroAreaSize(0x40 * 128);
    Record(1, kKeyA) = MakeAssignment(AssignmentKind::Media, 6);
    ASSERT_EQ(controller.FullDownload(true), 1);
    // A marked head whose count no area of this size can hold.
    std::vector<uint8_t> head(32, 0);
    WriteU16(head, 0, 0x55AA);
    WriteU16(head, 2, 32);
    WriteU16(head, 4, 200);
    ASSERT_EQ(device.Commands().WriteMacroArea(head), 1);
    Record(1, kKeyA) = KeyAssignment{};

    ReadbackReport report;
    EXPECT_NE(ReadKeyboardContents(device.Commands(), device.State(), device.Texts(), &report), nullptr);
    EXPECT_TRUE(report.macrosDropped);
    EXPECT_EQ(controller.LoadFromKeyboard(), 0);
    EXPECT_EQ(Record(1, kKeyA), MakeAssignment(AssignmentKind::Media, 6));  // not a blank image
    {
        ProfileData::Lock lock(data.working);
        EXPECT_TRUE(lock->macros.empty());
    }
    ASSERT_FALSE(prompter.Messages().empty());
    EXPECT_EQ(prompter.Messages().back(), u"MAIN_MACROS_UNREADABLE");
    EXPECT_EQ(FileBytes(WorkingFilePath(paths)).size(), 32832u);

    // A head announcing more than the keyboard's macro area holds is not read past its end.
    WriteU16(head, 2, 0xFFF0);
    WriteU16(head, 4, 1);
    ASSERT_EQ(device.Commands().WriteMacroArea(head), 1);
    EXPECT_NE(ReadKeyboardContents(device.Commands(), device.State(), device.Texts(), &report), nullptr);
    EXPECT_TRUE(report.macrosDropped);
}

TEST_F(ControllerTest, AFailedApplySaysWhyAndStaysEnabled)
{
    // No working file on disk: nothing can be saved.
    changes.MarkChanged();
    EXPECT_EQ(controller.Apply(), 0);
    EXPECT_TRUE(changes.Pending());
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0], u"MAIN_APPLY_SAVE_ERROR");

    SaveWorkingFileWithKeyB();
    device.SetPresent(false);
    EXPECT_NE(controller.Apply(), 1);
    EXPECT_TRUE(changes.Pending());
    ASSERT_EQ(prompter.Messages().size(), 2u);
    EXPECT_EQ(prompter.Messages()[1], u"EXTRA_DOWNLOAD_FAILED");

    device.SetPresent(true);
    EXPECT_EQ(controller.Apply(), 1);
    EXPECT_EQ(prompter.Messages().size(), 2u);
}

TEST_F(ControllerTest, QuittingWithUnsavedChangesAsksFirst)
{
    EXPECT_TRUE(controller.ConfirmQuit());
    EXPECT_TRUE(prompter.Questions().empty());

    SaveWorkingFileWithKeyB();
    changes.MarkChanged();
    prompter.AnswerYes(false);
    EXPECT_TRUE(controller.ConfirmQuit());
    ASSERT_EQ(prompter.Questions().size(), 1u);
    EXPECT_EQ(prompter.Questions()[0], u"MAIN_QUIT_SAVE_PROMPT");
    EXPECT_TRUE(device.Sent().empty());

    prompter.AnswerYes(true);
    device.SetPresent(false);
    EXPECT_FALSE(controller.ConfirmQuit());  // Apply failed and said so: the program stays
    EXPECT_EQ(prompter.Messages().back(), u"EXTRA_DOWNLOAD_FAILED");
    EXPECT_TRUE(changes.Pending());

    device.SetPresent(true);
    EXPECT_TRUE(controller.ConfirmQuit());
    EXPECT_FALSE(changes.Pending());
    EXPECT_EQ(CountSent(0x08), 7);  // the download of the active profile
}

TEST_F(ControllerTest, ImportSendsAllThreeProfilesOrNothingAtAll)
{
    const std::filesystem::path file = home.Root() / "import.kvp";
    {
        ProfileData source(ProfileDataRole::Working);
        {
            ProfileData::Lock lock(source);
            lock->macros = {Macro(1, u"Imported")};
            lock->image.Bank(2)[kKeyA] = MakeAssignment(AssignmentKind::Disabled);
        }
        ASSERT_EQ(SaveProfileFile(file, source), 1);
    }
    SaveWorkingFileWithKeyB();
    changes.MarkChanged();
    prompter.openChoice = file.string();
    device.ClearSent();
    EXPECT_EQ(controller.Import(), 1);
    std::vector<int> addresses;
    for (const auto& r : device.Sent()) {
        if (r[3] == 0x08 && ReadU16(r, 5) % 378 == 0) {
            addresses.push_back(ReadU16(r, 5));
        }
    }
    EXPECT_EQ(addresses, (std::vector<int>{0, 378, 756}));
    EXPECT_EQ(device.Model().Keymap(2)[3 * kPositionOfA], 0);
    EXPECT_FALSE(changes.Pending());
    EXPECT_EQ(FileBytes(WorkingFilePath(paths)), FileBytes(file));
    EXPECT_EQ(MacroNameOf(data.working, 1), u"Imported");

    // A wrong checksum: one message that names the file and the cause (never that defaults
    // are used: nothing is replaced), nothing sent.
    std::vector<uint8_t> bad = FileBytes(file);
    bad[31] ^= 1;
    WriteBytes(file, bad);
    Record(0, kKeyA) = MakeAssignment(AssignmentKind::Key, 0x030);
    device.ClearSent();
    EXPECT_EQ(controller.ImportFile(file), 0);
    ASSERT_EQ(prompter.Messages().size(), 1u);
    const std::u16string refusal = prompter.Messages()[0];
    EXPECT_EQ(refusal.rfind(u"MAIN_PROMPT_INPORT\n", 0), 0u);
    EXPECT_NE(refusal.find(Utf8ToUtf16(file.string())), std::u16string::npos);
    EXPECT_NE(refusal.find(u"checksum"), std::u16string::npos);
    EXPECT_TRUE(device.Sent().empty());
    EXPECT_EQ(Record(0, kKeyA), MakeAssignment(AssignmentKind::Key, 0x030));

    // Macros that do not fit the keyboard: refused before anything changes.
    bad[31] ^= 1;
    WriteBytes(file, bad);
    device.State().SetMacroAreaSize(16);
    const std::vector<uint8_t> workingBefore = FileBytes(WorkingFilePath(paths));
    EXPECT_EQ(controller.ImportFile(file), 0);
    EXPECT_EQ(prompter.Messages().back(), u"EXTRA_MACRO_TOO_LONG");
    EXPECT_TRUE(device.Sent().empty());
    EXPECT_EQ(Record(0, kKeyA), MakeAssignment(AssignmentKind::Key, 0x030));
    EXPECT_EQ(FileBytes(WorkingFilePath(paths)), workingBefore);

    prompter.openChoice.clear();
    EXPECT_EQ(controller.Import(), 0);  // cancelled
}

TEST_F(ControllerTest, ExportWritesTheWorkingDataAsItIs)
{
    Record(1, kKeyA) = MakeAssignment(AssignmentKind::StopMacro);
    prompter.saveChoice = (home.Root() / "out").string();
    ASSERT_EQ(controller.Export(), 1);
    ProfileData back(ProfileDataRole::Working);
    ASSERT_EQ(LoadProfileFile(home.Root() / "out.kvp", back), 1);
    ProfileData::Lock lock(back);
    EXPECT_EQ(lock->image.Bank(1)[kKeyA].kind, AssignmentKind::StopMacro);
    EXPECT_TRUE(device.Sent().empty());
    EXPECT_TRUE(prompter.Questions().empty());
}

TEST_F(ControllerTest, ExportAsksBeforeReplacingTheFileItReallyWrites)
{
    const std::vector<uint8_t> precious{1, 2, 3};
    WriteBytes(home.Root() / "out.kvp", precious);
    prompter.saveChoice = (home.Root() / "out").string();
    prompter.AnswerYes(false);
    EXPECT_EQ(controller.Export(), 0);
    ASSERT_EQ(prompter.Questions().size(), 1u);
    EXPECT_EQ(prompter.Questions()[0], u"PROFILE_REPLACE_PROMPT");
    EXPECT_EQ(FileBytes(home.Root() / "out.kvp"), precious);

    prompter.AnswerYes(true);
    EXPECT_EQ(controller.Export(), 1);
    EXPECT_EQ(FileBytes(home.Root() / "out.kvp").size(), 32832u);
}

} // namespace
} // namespace kovantis
