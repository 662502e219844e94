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

class UpdateTest : public ::testing::Test {
protected:
    UpdateTest()
    {
        char pattern[] = "/tmp/kovantis-update-XXXXXX";
        root = ::mkdtemp(pattern);
        std::ofstream(root / "updater") << "#!/bin/sh\n";
        device.ClearSent();
    }
    ~UpdateTest() override { std::filesystem::remove_all(root); }
    std::vector<std::u16string> Messages() { return device.GetPrompter().Messages(); }

    std::filesystem::path root;
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
    EXPECT_EQ(starter.folder, paths.PackageFolder().string());
    EXPECT_TRUE(update.UpdaterPath().empty());
    EXPECT_EQ(Messages().size(), 2u);
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
