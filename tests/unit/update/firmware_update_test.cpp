#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "profiles/profile_file.h"
#include "support/fake_device.h"
#include "update/firmware_update.h"
#include "platform/posix_process_starter.h"

namespace kovantis {
namespace {

using testing::FakeDevice;
using testing::FakePrompter;

class RecordingStarter : public ProcessStarter {
public:
    bool StartDetached(const std::string& program, const std::vector<std::string>& args,
                       const std::string& workingFolder) override
    {
        started.push_back(program);
        EXPECT_TRUE(args.empty());
        folder = workingFolder;
        return succeed;
    }
    bool succeed = true;
    std::vector<std::string> started;
    std::string folder;
};

void MakeScript(const std::filesystem::path& path, const std::string& text, bool executable)
{
    std::ofstream(path) << text;
    std::filesystem::permissions(path,
                                 executable ? std::filesystem::perms::owner_all
                                            : std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

class UpdateTest : public ::testing::Test {
protected:
    UpdateTest()
    {
        MakeScript(root / "updater", "#!/bin/sh\n", true);
        device.ClearSent();
    }
    ~UpdateTest() override { std::filesystem::remove_all(root); }
    std::vector<std::u16string> Messages() { return device.GetPrompter().Messages(); }

    static std::filesystem::path TemporaryRoot()
    {
        char pattern[] = "/tmp/kovantis-update-XXXXXX";
        return ::mkdtemp(pattern);
    }

    // Before paths: the roots are built from it.
    std::filesystem::path root = TemporaryRoot();
    Paths paths{PathRoots{root / "bin", root, root / "config", root / "data"}};
    FakeDevice device;
    ProfileData working{ProfileDataRole::Working};
    RecordingStarter starter;
    FirmwareUpdate update{paths, working, device.Commands(), device.GetPrompter(), device.Texts(), starter};
};

TEST_F(UpdateTest, UpdateChecksTheUpdaterThenSendsTheBootCommandThenStartsIt)
{
    EXPECT_EQ(update.Update(), UpdateOutcome::NoUpdater);  // before Open
    EXPECT_EQ(Messages().back(), u"MAIN_UPDATE_ERROR_TEXT");
    update.SetUpdaterPath((root / "missing").string());
    EXPECT_EQ(update.Update(), UpdateOutcome::NoUpdater);
    EXPECT_TRUE(device.Sent().empty());
    EXPECT_TRUE(starter.started.empty());

    update.SetUpdaterPath((root / "updater").string());
    EXPECT_EQ(update.Update(), UpdateOutcome::Started);
    const auto sent = device.Sent();
    ASSERT_EQ(sent.size(), 1u);
    const auto& boot = sent[0];
    EXPECT_EQ(boot[0], 0x04);
    EXPECT_EQ(boot[1], 0);
    EXPECT_EQ(boot[3], 0xEE);
    EXPECT_EQ(boot[4], 0xEE);
    EXPECT_EQ(starter.started, std::vector<std::string>{(root / "updater").string()});
    // No Package folder was shipped beside this program: the updater starts in its own folder.
    EXPECT_EQ(starter.folder, root.string());
    EXPECT_TRUE(update.UpdaterPath().empty());
    EXPECT_EQ(Messages().size(), 2u);

    // (The keyboard has left for its boot loader; the folder rule is asked directly.)
    std::filesystem::create_directories(root / "bin" / "Package");
    EXPECT_EQ(update.WorkingFolderFor(root / "updater"), root / "bin" / "Package");
}

TEST_F(UpdateTest, AnUpdaterThatCannotStartNeverSendsTheKeyboardToItsBootLoader)
{
    MakeScript(root / "not-executable", "#!/bin/sh\n", false);
    MakeScript(root / "no-interpreter", "#!/no/such/shell\n", true);
    MakeScript(root / "no-format", "echo hello\n", true);
    std::filesystem::create_directories(root / "a-folder");
    for (const char* name : {"not-executable", "no-interpreter", "no-format"}) {
        update.SetUpdaterPath((root / name).string());
        EXPECT_EQ(update.Update(), UpdateOutcome::NotStartable) << name;
        EXPECT_EQ(Messages().back(), u"MAIN_SHELL_ERROR_TEXT") << name;
        // Kept, so that the user sees which file it was after fixing it.
        EXPECT_EQ(update.UpdaterPath(), (root / name).string());
    }
    update.SetUpdaterPath((root / "a-folder").string());
    EXPECT_EQ(update.Update(), UpdateOutcome::NoUpdater);
    EXPECT_TRUE(device.Sent().empty());
    EXPECT_TRUE(starter.started.empty());
}

TEST(CheckStartable, TellsWhyAFileCannotRunAsAProgram)
{
    char pattern[] = "/tmp/kovantis-startable-XXXXXX";
    const std::filesystem::path folder = ::mkdtemp(pattern);
    MakeScript(folder / "script", "#!  /bin/sh -e\nexit 0\n", true);
    MakeScript(folder / "relative", "#!sh\n", true);
    MakeScript(folder / "plain", "exit 0\n", true);
    MakeScript(folder / "empty", "", true);
    MakeScript(folder / "locked", "#!/bin/sh\n", false);
    EXPECT_EQ(CheckStartable(folder / "script"), Startable::Yes);
    EXPECT_EQ(CheckStartable("/bin/sh"), Startable::Yes);  // an ELF image behind a link
    EXPECT_EQ(CheckStartable(folder / "relative"), Startable::NoInterpreter);
    EXPECT_EQ(CheckStartable(folder / "plain"), Startable::UnknownFormat);
    EXPECT_EQ(CheckStartable(folder / "empty"), Startable::UnknownFormat);
    EXPECT_EQ(CheckStartable(folder / "locked"), Startable::NotExecutable);
    EXPECT_EQ(CheckStartable(folder), Startable::NotAFile);
    EXPECT_EQ(CheckStartable(folder / "missing"), Startable::Missing);
    std::filesystem::remove_all(folder);
}

TEST_F(UpdateTest, FailuresKeepTheDialogAndSayWhy)
{
    starter.succeed = false;
    update.SetUpdaterPath((root / "updater").string());
    EXPECT_EQ(update.Update(), UpdateOutcome::StartFailed);
    EXPECT_EQ(Messages().back(), u"MAIN_SHELL_ERROR_TEXT");
    EXPECT_TRUE(update.UpdaterPath().empty());  // pressing Update again asks for a file
    EXPECT_EQ(update.Update(), UpdateOutcome::NoUpdater);

    update.SetUpdaterPath((root / "updater").string());
    device.InjectFault(testing::Fault::RefuseSend);
    EXPECT_EQ(update.Update(), UpdateOutcome::BootRefused);
    EXPECT_EQ(Messages().back(), u"MAIN_BOOT_ERROR_TEXT");
    EXPECT_EQ(update.UpdaterPath(), (root / "updater").string());

    update.Cancel();
    EXPECT_TRUE(update.UpdaterPath().empty());
}

TEST_F(UpdateTest, BackupWritesTheWorkingDataWithoutAKeyboard)
{
    device.SetPresent(false);
    ASSERT_EQ(CreateBlankImage(working), 1);
    EXPECT_EQ(update.BackupTo(root / "backup.kvp"), 1);
    EXPECT_EQ(Messages().back(), u"MAIN_UPDATE_BACKUP_OK");
    EXPECT_EQ(std::filesystem::file_size(root / "backup.kvp"), 32832u);
    EXPECT_TRUE(device.Sent().empty());

    EXPECT_EQ(update.BackupTo(root / "no-such-folder" / "backup.kvp"), 0);
    EXPECT_EQ(Messages().back(), u"MAIN_UPDATE_BACKUP_NG");
}

// Answers the save dialog with a fixed name and the question with a fixed answer.
class SavePrompter : public FakePrompter {
public:
    std::string ChooseSaveFile(const std::string& filter, const std::string& folder, const std::string&) override
    {
        filters.push_back(filter);
        folders.push_back(folder);
        return choice;
    }
    std::string choice;
    std::vector<std::string> filters;
    std::vector<std::string> folders;
};

TEST_F(UpdateTest, BackupNeverSilentlyReplacesTheFileWithTheExtensionAdded)
{
    SavePrompter prompter;
    FirmwareUpdate backup{paths, working, device.Commands(), prompter, device.Texts(), starter};
    ASSERT_EQ(CreateBlankImage(working), 1);
    std::ofstream(root / "x.kvp") << "precious";

    prompter.choice = (root / "x").string();  // a chooser that did not add the extension
    prompter.AnswerYes(false);
    EXPECT_EQ(backup.Backup(), 0);
    EXPECT_EQ(prompter.Questions().size(), 1u);
    EXPECT_EQ(std::filesystem::file_size(root / "x.kvp"), 8u);
    EXPECT_FALSE(std::filesystem::exists(root / "x"));
    EXPECT_EQ(prompter.filters.back(), "*.kvp");
    EXPECT_EQ(prompter.folders.back(), paths.UserFolder().string());

    prompter.AnswerYes(true);
    EXPECT_EQ(backup.Backup(), 1);
    EXPECT_EQ(std::filesystem::file_size(root / "x.kvp"), 32832u);

    // A chooser that added it has asked already: no second question.
    prompter.choice = (root / "x.kvp").string();
    EXPECT_EQ(backup.Backup(), 1);
    EXPECT_EQ(prompter.Questions().size(), 2u);
    prompter.choice = (root / "fresh").string();
    EXPECT_EQ(backup.Backup(), 1);
    EXPECT_TRUE(std::filesystem::exists(root / "fresh.kvp"));
    EXPECT_EQ(prompter.Questions().size(), 2u);
}

TEST(PosixProcessStarter, StartsWithoutAShellInTheGivenFolder)
{
    char pattern[] = "/tmp/kovantis-start-XXXXXX";
    const std::filesystem::path folder = ::mkdtemp(pattern);
    PosixProcessStarter starter;
    // "; touch injected" would run as a command through a shell; here it is one argument.
    EXPECT_TRUE(starter.StartDetached("/bin/sh", {"-c", "pwd > out; echo \"$1\" > arg", "sh", "x; touch injected"},
                                      folder.string()));
    for (int i = 0; i < 200 && !std::filesystem::exists(folder / "arg"); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::string pwd, arg;
    std::getline(std::ifstream(folder / "out"), pwd);
    std::getline(std::ifstream(folder / "arg"), arg);
    EXPECT_EQ(std::filesystem::path(pwd), folder);
    EXPECT_EQ(arg, "x; touch injected");
    EXPECT_FALSE(std::filesystem::exists(folder / "injected"));
    EXPECT_FALSE(starter.StartDetached((folder / "no-such-program").string(), {}));
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace kovantis
