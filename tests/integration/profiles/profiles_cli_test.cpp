#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <sstream>
#include <csignal>
#include <iostream>
#include <sys/wait.h>
#include <thread>
#include <chrono>
#include <unistd.h>

#include "keyboard/key_code.h"
#include "profiles/profile_file.h"
#include "support/vkbd_process.h"

namespace kovantis {
namespace {

using testing::BinDir;
using testing::VkbdProcess;

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string Slurp(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ProfilesCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kovantis-cli-profiles-XXXXXX";
        home_ = ::mkdtemp(pattern);
        std::filesystem::create_directories(home_ / "Documents");
        std::filesystem::create_directories(home_ / "run");
        ::chmod((home_ / "run").c_str(), 0700);
    }
    void TearDown() override { std::filesystem::remove_all(home_); }

    // kovantis-cli with its own home, talking to `keyboard`.
    CliRun Run(const std::vector<std::string>& args)
    {
        const pid_t child = Spawn(args);
        int status = 0;
        ::waitpid(child, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(home_ / "out.txt"), Slurp(home_ / "err.txt")};
    }
    pid_t Spawn(const std::vector<std::string>& args)
    {
        const std::filesystem::path out = home_ / "out.txt";
        const std::filesystem::path err = home_ / "err.txt";
        const pid_t child = ::fork();
        if (child == 0) {
            ::setenv("HOME", home_.c_str(), 1);
            ::setenv("XDG_CONFIG_HOME", (home_ / "config").c_str(), 1);
            ::setenv("XDG_DATA_HOME", (home_ / "data").c_str(), 1);
            ::setenv("XDG_RUNTIME_DIR", (home_ / "run").c_str(), 1);
            ::unsetenv("XDG_DOCUMENTS_DIR");
            ::setenv("DEVLINX_BACKEND", "virtual", 1);
            ::setenv("DEVLINX_VIRTUAL_SOCKET", keyboard_->SocketPath().c_str(), 1);
            ::unsetenv("KOVANTIS_USB_ID");
            const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(o, 1);
            ::dup2(e, 2);
            const std::string program = BinDir() + "/kovantis-cli";
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (const std::string& a : args) {
                argv.push_back(const_cast<char*>(a.c_str()));
            }
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        return child;
    }
    std::filesystem::path WorkingFile() const { return home_ / "Documents" / "Kovantis_09A" / "$Profile0"; }

    std::unique_ptr<VkbdProcess> keyboard_ = std::make_unique<VkbdProcess>(std::vector<std::string>{"--macro-space", "64"});
    std::filesystem::path home_;
};

std::filesystem::path SampleFile(const std::filesystem::path& path)
{
    ProfileData data(ProfileDataRole::Working);
    {
        ProfileData::Lock lock(data);
        auto blank = BlankProfileContents();
        *lock = *blank;
        MacroRecord m;
        m.SetName(u"Greeting");
        m.id = 1;
        m.playCount = 2;
        m.actionCount = 2;
        m.actions[0] = {100, 0x023, kMacroPress};
        m.actions[1] = {0, 0x023, kMacroRelease};
        lock->macros.push_back(m);
        lock->image.Bank(1)[SlotOf(0x01E)] = MakeAssignment(AssignmentKind::PlayMacro, 1);
        lock->image.Bank(2)[SlotOf(0x010)] = MakeAssignment(AssignmentKind::Disabled);
    }
    EXPECT_EQ(SaveProfileFile(path, data), 1);
    return path;
}

TEST_F(ProfilesCliTest, ImportSendsAllProfilesAndTheFileRoundTrips)
{
    const std::filesystem::path sample = SampleFile(home_ / "sample.kvp");
    // The working file comes from the keyboard first, as on the desktop program's arrival.
    std::filesystem::create_directories(WorkingFile().parent_path());
    CliRun run = Run({"read-keyboard", WorkingFile().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    run = Run({"import", sample.string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(keyboard_->Dump("keymap 2")[3 * 18], 0);  // Q of profile 3 is disabled
    EXPECT_EQ(Slurp(WorkingFile()), Slurp(sample));

    run = Run({"export", (home_ / "exported.kvp").string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Slurp(home_ / "exported.kvp"), Slurp(sample));

    run = Run({"read-keyboard", (home_ / "back.kvp").string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    run = Run({"show", (home_ / "back.kvp").string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("macro-count: 1"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"Greeting\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("press H, then 100 ms"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("profile 2:\n  record 30: A"), std::string::npos) << run.out;

    EXPECT_EQ(Run({"apply"}).exitCode, 0);
    run = Run({"backup", (home_ / "backup.kvp").string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Slurp(home_ / "backup.kvp"), Slurp(sample));
}

TEST_F(ProfilesCliTest, RefusedImportsTouchNothing)
{
    std::string bad = Slurp(SampleFile(home_ / "bad.kvp"));
    bad[31] = static_cast<char>(bad[31] + 1);
    std::ofstream(home_ / "bad.kvp", std::ios::binary) << bad;
    const std::vector<uint8_t> keymap = keyboard_->Dump("keymap 2");

    CliRun run = Run({"import", (home_ / "bad.kvp").string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.err.empty());
    EXPECT_EQ(keyboard_->Dump("keymap 2"), keymap);

    // A keyboard without macro space refuses the macros: nothing is written.
    auto small = std::make_unique<VkbdProcess>(std::vector<std::string>{"--macro-space", "0"});
    std::swap(keyboard_, small);
    const std::vector<uint8_t> macroArea = keyboard_->Dump("keymap 2");
    run = Run({"import", SampleFile(home_ / "good.kvp").string()});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(keyboard_->Dump("keymap 2"), macroArea);
    std::swap(keyboard_, small);

    EXPECT_EQ(Run({"import"}).exitCode, 2);
    EXPECT_EQ(Run({"show", "a", "b"}).exitCode, 2);
    // No working file yet: it is read from the keyboard first, as on the desktop program's arrival.
    EXPECT_EQ(Run({"export", (home_ / "x.kvp").string()}).exitCode, 0);
    EXPECT_EQ(Run({"show", (home_ / "missing.kvp").string()}).exitCode, 1);
}

// Another profile for the same keyboard: other macros, other keys.
std::filesystem::path OtherSampleFile(const std::filesystem::path& path)
{
    ProfileData data(ProfileDataRole::Working);
    {
        ProfileData::Lock lock(data);
        *lock = *BlankProfileContents();
        for (uint16_t id = 1; id <= 3; ++id) {
            MacroRecord m;
            m.SetName(u"Other");
            m.id = id;
            m.playCount = 1;
            m.actionCount = 40;
            for (uint16_t i = 0; i < 40; ++i)
                m.actions[i] = {static_cast<uint16_t>(10 * i), 0x01F, static_cast<uint16_t>(i % 2)};
            lock->macros.push_back(m);
        }
        for (int bank = 0; bank < 3; ++bank)
            lock->image.Bank(bank)[SlotOf(0x011)] = MakeAssignment(AssignmentKind::PlayMacro, 3);
    }
    EXPECT_EQ(SaveProfileFile(path, data), 1);
    return path;
}

TEST_F(ProfilesCliTest, AnImportKilledAtAnyMomentEndsWithTheOldOrTheNewDataInFull)
{
    const std::filesystem::path files[2] = {SampleFile(home_ / "a.kvp"), OtherSampleFile(home_ / "b.kvp")};
    // What the keyboard holds after each import, read back; the working file holds the file.
    std::string holds[2];
    std::filesystem::create_directories(WorkingFile().parent_path());
    ASSERT_EQ(Run({"read-keyboard", WorkingFile().string()}).exitCode, 0);
    keyboard_->Control("latency 1");  // a transfer long enough to be cut anywhere
    std::chrono::nanoseconds longest{0};
    for (int i = 0; i < 2; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const CliRun run = Run({"import", files[i].string()});
        longest = std::max(longest, std::chrono::steady_clock::now() - start);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        ASSERT_EQ(Run({"read-keyboard", (home_ / "holds.kvp").string()}).exitCode, 0);
        holds[i] = Slurp(home_ / "holds.kvp");
        ASSERT_EQ(Slurp(WorkingFile()), Slurp(files[i]));
    }
    ASSERT_NE(holds[0], holds[1]);

    std::srand(static_cast<unsigned>(::getpid()));
    int recovered = 0;
    for (int round = 0; round < 20; ++round) {
        const auto offset = std::chrono::microseconds(std::rand() % (longest.count() / 1000 + 1));
        const pid_t child = Spawn({"import", files[round % 2].string()});
        std::this_thread::sleep_for(offset);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);

        // The next run meets the keyboard; an interrupted download is completed first.
        const CliRun next = Run({"status"});
        ASSERT_EQ(next.exitCode, 0) << next.err;
        if (next.err.find("EXTRA_RECOVERY_DONE") != std::string::npos ||
            next.err.find("interrupted") != std::string::npos)
            ++recovered;
        ASSERT_EQ(Run({"read-keyboard", (home_ / "holds.kvp").string()}).exitCode, 0);
        const std::string now = Slurp(home_ / "holds.kvp");
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
    const std::filesystem::path sample = SampleFile(home_ / "sample.kvp");
    std::filesystem::create_directories(WorkingFile().parent_path());
    ASSERT_EQ(Run({"read-keyboard", WorkingFile().string()}).exitCode, 0);

    CliRun run = Run({"import", "--verify", sample.string()});
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
