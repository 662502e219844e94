#include <gtest/gtest.h>

#include "platform/ini_file.h"
#include "platform/settings_store.h"
#include "profile_test_support.h"
#include "profiles/profile_file.h"
#include "profiles/profile_manager_model.h"
#include "support/fake_device.h"

namespace kovantis {
namespace {

using namespace kovantis::testing;

class ManagerTest : public ::testing::Test {
protected:
    ManagerTest()
    {
        texts.Set("PROFILE_NEW", u"\\The new contextual  mode");
        device.ClearSent();
    }
    std::u16string Stored(int index) const
    {
        return store.Read(ProfileListValueName(index), u"<none>");
    }
    std::vector<bool> Ticks() const
    {
        std::vector<bool> ticks;
        for (const ProfileRow& r : manager.Rows()) {
            ticks.push_back(r.ticked);
        }
        return ticks;
    }

    TemporaryHome home;
    Paths paths = home.MakePaths();
    FakeDevice device;
    FakeTexts texts;
    ScriptedPrompter prompter;
    FakeWindow window;
    ProfileDataPair data;
    UnsavedChanges changes{window};
    LightingHooks lighting;
    SettingsStore store{home.Root() / "config" / "Kovantis.ini"};
    AppSettings settings{paths, store, texts};
    ProfileController controller{{data, device.Commands(), device.State(), window, window, prompter, texts, paths, changes, lighting}};
    ProfileManagerModel manager{controller, settings};
};

TEST_F(ManagerTest, FillAddLoadTickAndDelete)
{
    ASSERT_EQ(device.Commands().SetActiveProfile(1), 1);
    manager.Fill();
    ASSERT_EQ(manager.Rows().size(), 3u);
    EXPECT_EQ(manager.Rows()[0].name, u"$Profile0");
    EXPECT_EQ(manager.Rows()[2].folder, paths.UserFolder() / "");
    EXPECT_EQ(Ticks(), (std::vector<bool>{false, true, false}));
    EXPECT_FALSE(manager.ApplyEnabled());

    prompter.saveChoice = (paths.UserFolder() / "Gaming").string();
    manager.Add();
    EXPECT_EQ(prompter.suggestedNames.back(), "The new contextual  mode");
    EXPECT_EQ(prompter.folders.back(), paths.UserFolder().string());
    EXPECT_EQ(FileBytes(paths.UserFolder() / "Gaming.kvp").size(), 32832u);
    EXPECT_EQ(manager.Rows().back().name, u"Gaming");
    EXPECT_TRUE(manager.ApplyEnabled());

    prompter.openChoice = (home.Root() / "elsewhere" / "Work.kvp").string();
    manager.Load();
    EXPECT_EQ(manager.Rows().back().name, u"Work");
    EXPECT_EQ(manager.Rows().back().folder, home.Root() / "elsewhere" / "");
    EXPECT_FALSE(std::filesystem::exists(home.Root() / "elsewhere"));  // not read, not made

    manager.Tick(4, true);
    EXPECT_EQ(Ticks(), (std::vector<bool>{false, false, false, false, true}));
    manager.Tick(4, false);
    EXPECT_EQ(Ticks(), (std::vector<bool>(5, false)));

    manager.Select(3);
    manager.Delete();
    ASSERT_EQ(manager.Rows().size(), 4u);
    EXPECT_EQ(manager.Rows()[3].name, u"Work");
    manager.Delete();  // nothing selected
    EXPECT_EQ(manager.Rows().size(), 4u);

    EXPECT_TRUE(std::filesystem::exists(paths.UserFolder() / "Gaming.kvp"));  // files are never deleted
}

TEST_F(ManagerTest, ApplyStoresTheListActivatesTheTickedProfileAndReadsTheKeyboardBack)
{
    manager.Fill();
    prompter.openChoice = (home.Root() / "a.kvp").string();
    manager.Load();
    prompter.openChoice = (home.Root() / "b.kvp").string();
    manager.Load();
    manager.Select(3);
    manager.Delete();
    manager.Tick(2, true);
    changes.MarkChanged();
    manager.Apply();

    EXPECT_EQ(Stored(0), u"4");
    EXPECT_EQ(Stored(1), Utf8ToUtf16((paths.UserFolder() / "$Profile0.kvp").string()));
    EXPECT_EQ(Stored(4), Utf8ToUtf16((home.Root() / "b.kvp").string()));
    EXPECT_EQ(Stored(5), u"<none>");
    EXPECT_EQ(device.Model().ActiveProfile(), 2);
    EXPECT_EQ(FileBytes(WorkingFilePath(paths)).size(), 32832u);  // read back from the keyboard
    EXPECT_FALSE(manager.ApplyEnabled());
    EXPECT_FALSE(changes.Pending());

    // No tick: the active profile stays, the keyboard is still read back. A ticked file row
    // names no profile of the keyboard and activates nothing.
    std::filesystem::remove(WorkingFilePath(paths));
    manager.Tick(2, false);
    manager.Apply();
    EXPECT_EQ(device.Model().ActiveProfile(), 2);
    EXPECT_TRUE(std::filesystem::exists(WorkingFilePath(paths)));
    manager.Tick(3, true);
    manager.Ok();
    EXPECT_EQ(device.Model().ActiveProfile(), 2);
    EXPECT_FALSE(manager.IsOpen());
}

TEST_F(ManagerTest, AddAsksBeforeReplacingAndAFailedActivationKeepsTheDialogOpen)
{
    manager.Fill();
    WriteBytes(paths.UserFolder() / "Mine.kvp", {7});
    prompter.saveChoice = (paths.UserFolder() / "Mine").string();
    prompter.AnswerYes(false);
    manager.Add();
    EXPECT_EQ(prompter.Questions().size(), 1u);
    EXPECT_EQ(FileBytes(paths.UserFolder() / "Mine.kvp"), std::vector<uint8_t>{7});
    EXPECT_EQ(manager.Rows().size(), 3u);

    manager.Tick(1, true);
    device.SetPresent(false);
    EXPECT_EQ(manager.Ok(), 0);
    EXPECT_TRUE(manager.IsOpen());
    EXPECT_TRUE(manager.ApplyEnabled());
    EXPECT_EQ(prompter.Messages().back(), u"PROFILE_ACTIVATE_ERROR");

    device.SetPresent(true);
    EXPECT_EQ(manager.Ok(), 1);
    EXPECT_FALSE(manager.IsOpen());
    EXPECT_EQ(device.Model().ActiveProfile(), 1);
}

TEST_F(ManagerTest, ASwitchWhileOpenCountsItsApplyAndMovesItsTick)
{
    manager.Fill();
    manager.Tick(0, true);  // unsaved in the dialog
    prompter.AnswerYes(false);
    EXPECT_EQ(controller.SwitchProfile(1), 1);
    EXPECT_EQ(prompter.Questions().size(), 1u);
    EXPECT_EQ(Ticks(), (std::vector<bool>{true, false, false}));  // a question was asked

    EXPECT_EQ(controller.SwitchProfile(2), 1);
    EXPECT_EQ(prompter.Questions().size(), 2u);
    manager.Cancel();
    EXPECT_FALSE(manager.ApplyEnabled());
    EXPECT_EQ(controller.SwitchProfile(0), 1);
    EXPECT_EQ(prompter.Questions().size(), 2u);  // closed: not counted any more
}

} // namespace
} // namespace kovantis
