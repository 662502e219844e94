// The firmware update window on the main window's working data, against kovantis-vkbd.

#include <QLabel>

#include <fstream>

#include "main_window_fixture.h"
#include "platform/posix_process_starter.h"
#include "profiles/profile_file.h"
#include "ui/skin/c_png_button.h"
#include "ui/update/c_kovantis_dlg_update.h"

namespace kovantis::testing {
namespace {

class UpdateDialogTest : public MainWindowTest {
protected:
    void OpenDialog()
    {
        update_ = std::make_unique<FirmwareUpdate>(*paths_, data_->working, Window().Link().Commands(), prompter_,
                                                   *language_, starter_);
        dialog_ = std::make_unique<CKovantis_DlgUpdate>(paths_->SkinsFolder(), *update_, *language_, Window().Jobs());
        ASSERT_TRUE(dialog_->Initialise());
        dialog_->show();
    }
    void Press(std::string_view key)
    {
        CPngButton* button = dialog_->Button(key);
        ASSERT_NE(button, nullptr) << key;
        button->click();
        ASSERT_TRUE(WaitUntil([this] { return !Window().Jobs().Busy(); }));
    }
    bool Plugged() { return Keyboard().Control("info").find("plugged=yes") != std::string::npos; }
    std::filesystem::path Script(const std::string& name, const std::string& text, bool executable)
    {
        const std::filesystem::path path = userRoot_ / name;
        std::ofstream(path) << text;
        std::filesystem::permissions(path, executable ? std::filesystem::perms::owner_all
                                                      : std::filesystem::perms::owner_read);
        return path;
    }
    void Choose(const std::filesystem::path& updater)
    {
        prompter_.openChoice = updater.string();
        Press("CONTROL_OPENButton");
    }
    void TearDown() override
    {
        dialog_.reset();
        update_.reset();
        Keyboard().Control("plug");
        MainWindowTest::TearDown();
    }

    PosixProcessStarter starter_;
    std::unique_ptr<FirmwareUpdate> update_;
    std::unique_ptr<CKovantis_DlgUpdate> dialog_;
};

TEST_F(UpdateDialogTest, UpdateBeforeOpenShowsItsMessageAndSendsNothing)
{
    StartWindow();
    OpenDialog();
    EXPECT_EQ(dialog_->PathLabel()->text().toStdU16String(), language_->Text("UPDATE_NO_FILE"));
    EXPECT_EQ(dialog_->Button("CONTROL_UPButton")->text().toStdU16String(), language_->Text("UPDATE_START"));
    Press("CONTROL_UPButton");
    ASSERT_FALSE(prompter_.Messages().empty());
    EXPECT_EQ(prompter_.Messages().back(), language_->Text("MAIN_UPDATE_ERROR_TEXT"));
    EXPECT_EQ(dialog_->LastOutcome(), UpdateOutcome::NoUpdater);
    EXPECT_TRUE(Plugged());
    EXPECT_TRUE(dialog_->isVisible());
}

TEST_F(UpdateDialogTest, AnUpdaterThatIsMissingOrCannotRunSendsNoBootCommand)
{
    StartWindow();
    OpenDialog();
    Choose(userRoot_ / "no-such-updater");
    EXPECT_EQ(prompter_.openFolders.back(), paths_->PackageFolder().string());
    Press("CONTROL_UPButton");
    EXPECT_EQ(prompter_.Messages().back(), language_->Text("MAIN_UPDATE_ERROR_TEXT"));

    const std::filesystem::path locked = Script("locked-updater", "#!/bin/sh\nexit 0\n", false);
    Choose(locked);
    EXPECT_TRUE(dialog_->PathLabel()->toolTip().endsWith(QStringLiteral("locked-updater")));
    Press("CONTROL_UPButton");
    EXPECT_EQ(prompter_.Messages().back(), language_->Text("MAIN_SHELL_ERROR_TEXT"));
    EXPECT_EQ(dialog_->LastOutcome(), UpdateOutcome::NotStartable);
    EXPECT_TRUE(Plugged());
    EXPECT_TRUE(dialog_->isVisible());
}

TEST_F(UpdateDialogTest, BackupWritesAValidProfileFile)
{
    StartWindow();
    OpenDialog();
    prompter_.saveChoice = (userRoot_ / "backup").string();
    Press("CONTROL_BACKUPButton");
    const std::filesystem::path written = userRoot_ / "backup.kvp";
    ASSERT_TRUE(std::filesystem::exists(written));
    EXPECT_EQ(ValidateProfileFile(written, prompter_, *language_), kProfileFileValid);
    EXPECT_EQ(prompter_.saveFilters.back(), "*.kvp");
    EXPECT_EQ(prompter_.Messages().back(), language_->Text("MAIN_UPDATE_BACKUP_OK"));
    EXPECT_TRUE(Plugged());
}

TEST_F(UpdateDialogTest, AWorkingUpdaterStartsInThePackageFolderWithoutAShell)
{
    StartWindow();
    OpenDialog();
    // A name a shell would split in two and run half of.
    const std::filesystem::path record = userRoot_ / "started";
    const std::filesystem::path updater =
        Script("my updater; touch injected", "#!/bin/sh\npwd > '" + record.string() + "'\necho \"$0\" >> '" +
                                                 record.string() + "'\n",
               true);
    Choose(updater);
    Press("CONTROL_UPButton");
    EXPECT_EQ(dialog_->LastOutcome(), UpdateOutcome::Started);
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_FALSE(Plugged());  // the keyboard went to its boot loader
    ASSERT_TRUE(WaitUntil([&] {
        std::ifstream in(record);
        std::string a, b;
        return std::getline(in, a) && std::getline(in, b);
    }));
    std::ifstream in(record);
    std::string folder, program;
    std::getline(in, folder);
    std::getline(in, program);
    EXPECT_EQ(std::filesystem::path(folder), std::filesystem::canonical(paths_->PackageFolder()));
    EXPECT_EQ(program, updater.string());
    EXPECT_FALSE(std::filesystem::exists(paths_->PackageFolder() / "injected"));
    EXPECT_FALSE(std::filesystem::exists(userRoot_ / "injected"));
    EXPECT_TRUE(update_->UpdaterPath().empty());
}

} // namespace
} // namespace kovantis::testing
