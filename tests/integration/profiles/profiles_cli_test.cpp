#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <thread>
#include <unistd.h>

#include "support/cli_home.h"
#include "support/sample_profiles.h"
#include "support/vkbd_process.h"

namespace kovantis {
namespace {

using testing::CliHome;
using testing::GreetingProfileFile;
using testing::OtherProfileFile;
using testing::ProgramRun;
using testing::Slurp;
using testing::VkbdProcess;

class ProfilesCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(home_.Root() / "Documents");
        home_.UseKeyboard(*keyboard_);
    }

    ProgramRun Run(const std::vector<std::string>& args) { return home_.Run(args); }
    std::filesystem::path WorkingFile() const { return home_.WorkingFile(); }

    std::unique_ptr<VkbdProcess> keyboard_ = std::make_unique<VkbdProcess>(std::vector<std::string>{"--macro-space", "64"});
    CliHome home_;
    const std::filesystem::path root_ = home_.Root();
};

TEST_F(ProfilesCliTest, ImportSendsAllProfilesAndTheFileRoundTrips)
{
    const std::filesystem::path sample = GreetingProfileFile(root_ / "sample.kvp");
    // The working file comes from the keyboard first, as on the desktop program's arrival.
    std::filesystem::create_directories(WorkingFile().parent_path());
    ProgramRun run = Run({"read-keyboard", WorkingFile().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    run = Run({"import", sample.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(keyboard_->Dump("keymap 2")[3 * 18], 0);  // Q of profile 3 is disabled
    EXPECT_EQ(Slurp(WorkingFile()), Slurp(sample));

    run = Run({"export", (root_ / "exported.kvp").string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Slurp(root_ / "exported.kvp"), Slurp(sample));

    run = Run({"read-keyboard", (root_ / "back.kvp").string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    run = Run({"show", (root_ / "back.kvp").string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("macro-count: 1"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"Greeting\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("press H, then 100 ms"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("profile 2:\n  record 30: A"), std::string::npos) << run.out;

    EXPECT_EQ(Run({"apply"}).exitCode, 0);
    run = Run({"backup", (root_ / "backup.kvp").string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Slurp(root_ / "backup.kvp"), Slurp(sample));
}

TEST_F(ProfilesCliTest, RefusedImportsTouchNothing)
{
    std::string bad = Slurp(GreetingProfileFile(root_ / "bad.kvp"));
    bad[31] = static_cast<char>(bad[31] + 1);
    std::ofstream(root_ / "bad.kvp", std::ios::binary) << bad;
    const std::vector<uint8_t> keymap = keyboard_->Dump("keymap 2");

    ProgramRun run = Run({"import", (root_ / "bad.kvp").string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.err.empty());
    EXPECT_EQ(keyboard_->Dump("keymap 2"), keymap);

    // A keyboard without macro space refuses the macros: nothing is written.
    auto small = std::make_unique<VkbdProcess>(std::vector<std::string>{"--macro-space", "0"});
    std::swap(keyboard_, small);
    home_.UseKeyboard(*keyboard_);
    const std::vector<uint8_t> macroArea = keyboard_->Dump("keymap 2");
    run = Run({"import", GreetingProfileFile(root_ / "good.kvp").string()});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(keyboard_->Dump("keymap 2"), macroArea);
    std::swap(keyboard_, small);
    home_.UseKeyboard(*keyboard_);

    EXPECT_EQ(Run({"import"}).exitCode, 2);
    EXPECT_EQ(Run({"show", "a", "b"}).exitCode, 2);
    // No working file yet: it is read from the keyboard first, as on the desktop program's arrival.
    EXPECT_EQ(Run({"export", (root_ / "x.kvp").string()}).exitCode, 0);
    EXPECT_EQ(Run({"show", (root_ / "missing.kvp").string()}).exitCode, 1);
}

TEST_F(ProfilesCliTest, AnImportKilledAtAnyMomentEndsWithTheOldOrTheNewDataInFull)
{
    const std::filesystem::path files[2] = {GreetingProfileFile(root_ / "a.kvp"), OtherProfileFile(root_ / "b.kvp")};
    // What the keyboard holds after each import, read back; the working file holds the file.
    std::string holds[2];
    std::filesystem::create_directories(WorkingFile().parent_path());
    ASSERT_EQ(Run({"read-keyboard", WorkingFile().string()}).exitCode, 0);
    keyboard_->Control("latency 1");  // a transfer long enough to be cut anywhere
    std::chrono::nanoseconds longest{0};
    for (int i = 0; i < 2; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const ProgramRun run = Run({"import", files[i].string()});
        longest = std::max(longest, std::chrono::steady_clock::now() - start);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        ASSERT_EQ(Run({"read-keyboard", (root_ / "holds.kvp").string()}).exitCode, 0);
        holds[i] = Slurp(root_ / "holds.kvp");
        ASSERT_EQ(Slurp(WorkingFile()), Slurp(files[i]));
    }
    ASSERT_NE(holds[0], holds[1]);

    std::srand(static_cast<unsigned>(::getpid()));
    int recovered = 0;
    for (int round = 0; round < 20; ++round) {
        const auto offset = std::chrono::microseconds(std::rand() % (longest.count() / 1000 + 1));
        const CliHome::Child child = home_.Start({"import", files[round % 2].string()});
        std::this_thread::sleep_for(offset);
        ::kill(child.pid, SIGKILL);
        home_.Wait(child);

        // The next run meets the keyboard; an interrupted download is completed first.
        const ProgramRun next = Run({"status"});
        ASSERT_EQ(next.exitCode, 0) << next.err;
        if (next.err.find("EXTRA_RECOVERY_DONE") != std::string::npos ||
            next.err.find("interrupted") != std::string::npos)
            ++recovered;
        ASSERT_EQ(Run({"read-keyboard", (root_ / "holds.kvp").string()}).exitCode, 0);
        const std::string now = Slurp(root_ / "holds.kvp");
        const int which = now == holds[0] ? 0 : now == holds[1] ? 1 : -1;
        ASSERT_NE(which, -1) << "round " << round << ", killed after " << offset.count() << " us";
        EXPECT_EQ(Slurp(WorkingFile()), Slurp(files[which])) << "round " << round;
        EXPECT_FALSE(std::filesystem::exists(WorkingFile().string() + ".journal"));
    }
    std::cout << "rounds that needed the journal: " << recovered << " of 20\n";
    keyboard_->Control("latency 0");
}

TEST_F(ProfilesCliTest, FailuresSayWhatFailedAndVerifyComparesWhatWasWritten)
{
    const std::filesystem::path sample = GreetingProfileFile(root_ / "sample.kvp");
    std::filesystem::create_directories(WorkingFile().parent_path());
    ASSERT_EQ(Run({"read-keyboard", WorkingFile().string()}).exitCode, 0);

    ProgramRun run = Run({"import", "--verify", sample.string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("verified"), std::string::npos) << run.err;

    // The keyboard refuses in the middle of the transfer: a failure, and the bracket is closed.
    // (past the arrival's reads, the active profile and the opening bracket)
    ASSERT_EQ(keyboard_->Control("after 10").substr(0, 2), "ok");
    keyboard_->Control("refuse ff 3");
    run = Run({"apply"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("refused"), std::string::npos) << run.err;
    // The next command completes what the refused one could not.
    run = Run({"apply", "--verify"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_FALSE(std::filesystem::exists(WorkingFile().string() + ".journal"));

    // A keyboard that does not answer costs one exchange's retries, not three.
    keyboard_->Control("drop 1000");
    const auto start = std::chrono::steady_clock::now();
    run = Run({"set-profile", "2"});
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("did not answer"), std::string::npos) << run.err;
    EXPECT_LT(took, std::chrono::milliseconds(5500));
}

} // namespace
} // namespace kovantis
