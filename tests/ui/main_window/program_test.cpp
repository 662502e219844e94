// The kovantis program as a process: the single-instance rule, /Kill, window commands from
// kovantis-cli and the silent end when a required piece is missing.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "support/vkbd_process.h"
#include "support/child_environment.h"

extern char** environ;

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace kovantis::testing {
namespace {

constexpr int kReadyFd = 3;

// One run of a program with its own environment; "ready" arrives on a pipe.
class Child {
public:
    Child(const std::string& program, const std::vector<std::string>& args,
          const std::map<std::string, std::string>& env)
    {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0)
            return;
        // Above the ready descriptor, so that placing it in the child never clobbers either end.
        for (int& fd : fds) {
            const int moved = fcntl(fd, F_DUPFD_CLOEXEC, kReadyFd + 1);
            close(fd);
            fd = moved;
        }
        readyRead_ = fds[0];
        std::vector<std::string> envText = kovantis::testing::MergedEnvironment(env);
        std::vector<char*> envp = kovantis::testing::Pointers(envText);
        std::vector<std::string> argText{program};
        argText.insert(argText.end(), args.begin(), args.end());
        std::vector<char*> argv = kovantis::testing::Pointers(argText);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], kReadyFd);
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
    }
    ~Child()
    {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (readyRead_ >= 0)
            close(readyRead_);
    }

    // True once the program said it is ready; false when it ended or timed out first.
    bool WaitReady(std::chrono::milliseconds timeout = 10s)
    {
        pollfd fd{readyRead_, POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(timeout.count())) <= 0)
            return false;
        char text[16] = {};
        return read(readyRead_, text, sizeof text - 1) > 0 && std::string(text).starts_with("ready");
    }
    // The exit code, or -1 when it did not end within the timeout.
    int WaitExit(std::chrono::milliseconds timeout = 10s)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(10ms);
        }
        return -1;
    }
    bool Alive() { return !exited_ && waitpid(pid_, nullptr, WNOHANG) == 0; }

private:
    pid_t pid_ = -1;
    int readyRead_ = -1;
    bool exited_ = false;
};

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::path(keyboard_.Folder()) / "program";
        for (const char* dir : {"run", "config", "data", "home"})
            fs::create_directories(root_ / dir);
        fs::permissions(root_ / "run", fs::perms::owner_all, fs::perm_options::replace);
        env_ = {
            {"XDG_RUNTIME_DIR", (root_ / "run").string()},  {"XDG_CONFIG_HOME", (root_ / "config").string()},
            {"XDG_DATA_HOME", (root_ / "data").string()},   {"HOME", (root_ / "home").string()},
            {"DEVLINX_BACKEND", "virtual"},                 {"DEVLINX_VIRTUAL_SOCKET", keyboard_.SocketPath()},
            {"QT_QPA_PLATFORM", "offscreen"},               {"KOVANTIS_REPORT_READY", std::to_string(kReadyFd)},
        };
    }
    std::string Program(const char* name) const { return BinDir() + "/" + name; }
    std::unique_ptr<Child> Start(const std::vector<std::string>& args = {}, std::string program = {})
    {
        return std::make_unique<Child>(program.empty() ? Program("kovantis") : program, args, env_);
    }

    VkbdProcess keyboard_;
    fs::path root_;
    std::map<std::string, std::string> env_;
};

TEST_F(ProgramTest, SecondStartHandsOverAndKillEndsTheFirst)
{
    auto first = Start();
    ASSERT_TRUE(first->WaitReady());

    auto second = Start();
    EXPECT_EQ(second->WaitExit(), 0);
    EXPECT_FALSE(second->WaitReady(0ms)) << "the second start never builds a window";
    EXPECT_TRUE(first->Alive());

    auto killer = Start({"/KILL", "/Start"});
    EXPECT_EQ(killer->WaitExit(), 0);
    EXPECT_EQ(first->WaitExit(), 0);
    EXPECT_FALSE(fs::exists(root_ / "run" / "kovantis.lock"));
}

TEST_F(ProgramTest, KillWithoutARunningInstanceNeverStartsTheProgram)
{
    // A request to quit that finds nothing to end says so and ends, rather than opening the
    // program the user wanted gone.
    auto program = Start({"--kill"});
    EXPECT_EQ(program->WaitExit(), 0);
    EXPECT_FALSE(program->WaitReady(0ms));
    auto unknown = Start({"--no-such-option"});
    EXPECT_EQ(unknown->WaitExit(), 2);
    EXPECT_FALSE(unknown->WaitReady(0ms)) << "an unknown argument never builds a window";
    EXPECT_FALSE(fs::exists(root_ / "run" / "kovantis.lock"));
}

TEST_F(ProgramTest, WindowCommandsReachTheRunningProgram)
{
    auto program = Start({"/Start"});
    ASSERT_TRUE(program->WaitReady());
    Child cli(Program("kovantis-cli"), {"window-command", "32784"}, env_);
    EXPECT_EQ(cli.WaitExit(), 0);
    const fs::path overlay = root_ / "data" / "kovantis" / "Skins" / "language.ini";
    std::string text;
    for (int i = 0; i < 200 && text.find("language=0") == std::string::npos; ++i) {
        std::this_thread::sleep_for(20ms);
        std::ifstream in(overlay);
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    EXPECT_NE(text.find("language=0"), std::string::npos) << "the language command ran";
    Child noProgram(Program("kovantis-cli"), {"window-command", "notanumber"}, env_);
    EXPECT_NE(noProgram.WaitExit(), 0);
    EXPECT_EQ(Start({"/Kill"})->WaitExit(), 0);
    EXPECT_EQ(program->WaitExit(), 0);
}

TEST_F(ProgramTest, WithoutARuntimeFolderBothProgramsMeetInAPrivateFolderAndRefuseAForeignOne)
{
    const fs::path tmp = root_ / "tmp";
    fs::create_directories(tmp);
    env_["XDG_RUNTIME_DIR"] = "";
    env_["TMPDIR"] = tmp.string();
    const fs::path folder = tmp / ("kovantis-" + std::to_string(getuid()));

    auto program = Start({"/Start"});
    ASSERT_TRUE(program->WaitReady());
    EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);
    EXPECT_TRUE(fs::exists(folder / "kovantis.lock"));
    Child cli(Program("kovantis-cli"), {"window-command", "32784"}, env_);
    EXPECT_EQ(cli.WaitExit(), 0) << "kovantis-cli finds the program's socket";
    Child status(Program("kovantis-cli"), {"status"}, env_);
    EXPECT_EQ(status.WaitExit(), 1) << "kovantis-cli finds the program's lock and leaves the keyboard alone";
    EXPECT_EQ(Start({"/Kill"})->WaitExit(), 0);
    EXPECT_EQ(program->WaitExit(), 0);
    EXPECT_FALSE(fs::exists(folder / "kovantis.lock"));

    // Somebody else's doing: a link in the folder's place, or a folder others may write in.
    fs::remove_all(folder);
    fs::create_directories(tmp / "elsewhere");
    fs::permissions(tmp / "elsewhere", fs::perms::owner_all, fs::perm_options::replace);
    fs::create_directory_symlink(tmp / "elsewhere", folder);
    auto refused = Start();
    EXPECT_EQ(refused->WaitExit(), 1) << "a refusal is never a silent success";
    EXPECT_FALSE(refused->WaitReady(0ms));
    EXPECT_FALSE(fs::exists(tmp / "elsewhere" / "kovantis.lock"));
    fs::remove(folder);
    fs::create_directory(folder);
    fs::permissions(folder, fs::perms::all, fs::perm_options::replace);
    EXPECT_EQ(Start()->WaitExit(), 1);
    Child cliRefused(Program("kovantis-cli"), {"status"}, env_);
    EXPECT_EQ(cliRefused.WaitExit(), 1);
}

TEST_F(ProgramTest, MissingPiecesEndTheProgramSilently)
{
    // A program folder of its own, with one skin picture missing.
    const fs::path folder = root_ / "copy";
    fs::create_directories(folder);
    fs::copy(Program("kovantis"), folder / "kovantis");
    fs::copy(fs::path(BinDir()) / "Skins", folder / "Skins", fs::copy_options::recursive);
    auto noLibrary = Start({}, (folder / "kovantis").string());
    EXPECT_EQ(noLibrary->WaitExit(), 0);
    EXPECT_FALSE(noLibrary->WaitReady(0ms));

    fs::copy(Program("libdevlinx.so"), folder / "libdevlinx.so");
    fs::remove(folder / "Skins" / "main_over.jpg");
    auto noPicture = Start({}, (folder / "kovantis").string());
    EXPECT_EQ(noPicture->WaitExit(), 0);
    EXPECT_FALSE(noPicture->WaitReady(0ms));
    EXPECT_FALSE(fs::exists(root_ / "run" / "kovantis.lock")) << "nothing is left behind";
}

} // namespace
} // namespace kovantis::testing
