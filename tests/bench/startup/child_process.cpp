#include "child_process.h"
#include "support/child_environment.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kovantis::bench {
using testing::MergedEnvironment;
using testing::Pointers;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr int kReadyFd = 3;
constexpr const char* kHomeFolders[] = {"run", "config", "data", "home"};

// Moves a descriptor above the one the child reports on, so that placing the pipe's end there
// never clobbers another descriptor the spawn still needs.
int MoveAboveReadyFd(int fd)
{
    const int moved = fcntl(fd, F_DUPFD_CLOEXEC, kReadyFd + 1);
    close(fd);
    return moved;
}

} // namespace

TempHome::TempHome()
{
    char pattern[] = "/tmp/kovantis-startup-XXXXXX";
    if (mkdtemp(pattern) == nullptr)
        return;
    std::error_code failed;
    for (const char* folder : kHomeFolders)
        fs::create_directories(fs::path(pattern) / folder, failed);
    fs::permissions(fs::path(pattern) / "run", fs::perms::owner_all, fs::perm_options::replace, failed);
    if (!failed)
        root_ = pattern;
}

TempHome::~TempHome()
{
    std::error_code ignored;
    if (!root_.empty())
        fs::remove_all(root_, ignored);
}

std::map<std::string, std::string> TempHome::Environment() const
{
    return {{"XDG_RUNTIME_DIR", root_ + "/run"},
            {"XDG_CONFIG_HOME", root_ + "/config"},
            {"XDG_DATA_HOME", root_ + "/data"},
            {"HOME", root_ + "/home"}};
}

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::map<std::string, std::string>& env, const std::string& logFile)
    : logFile_(logFile)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        error_ = std::string("cannot make a pipe: ") + std::strerror(errno);
        return;
    }
    fds[0] = MoveAboveReadyFd(fds[0]);
    fds[1] = MoveAboveReadyFd(fds[1]);
    readyFd_ = fds[0];

    std::map<std::string, std::string> childEnv = env;
    childEnv["KOVANTIS_REPORT_READY"] = std::to_string(kReadyFd);
    std::vector<std::string> envText = MergedEnvironment(childEnv);
    std::vector<std::string> argText{program};
    argText.insert(argText.end(), args.begin(), args.end());
    std::vector<char*> envp = Pointers(envText);
    std::vector<char*> argv = Pointers(argText);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], kReadyFd);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    started_ = Steady::now();
    const int spawned = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (spawned != 0) {
        pid_ = -1;
        error_ = "cannot start " + program + ": " + std::strerror(spawned);
    }
}

ChildProcess::~ChildProcess()
{
    if (pid_ > 0 && !ended_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (readyFd_ >= 0)
        close(readyFd_);
}

std::optional<Steady::duration> ChildProcess::WaitFor(const std::string& word, std::chrono::milliseconds timeout)
{
    if (pid_ <= 0)
        return std::nullopt;
    const auto deadline = started_ + timeout;
    while (unread_.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Steady::now());
        pollfd fd{readyFd_, POLLIN, 0};
        const int polled = left.count() > 0 ? poll(&fd, 1, static_cast<int>(left.count())) : 0;
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0) {
            error_ = "no \"" + word + "\" within " + std::to_string(timeout.count()) + " ms";
            return std::nullopt;
        }
        char buffer[64];
        const ssize_t got = read(readyFd_, buffer, sizeof buffer);
        if (got <= 0) {
            // Every copy of the pipe's end is closed: the child has ended (or closed it).
            std::this_thread::sleep_for(50ms);
            error_ = "it never said \"" + word + "\"; " + (Reap() ? HowItEnded() : "it closed the ready pipe");
            return std::nullopt;
        }
        unread_.append(buffer, static_cast<size_t>(got));
    }
    const auto saidAt = Steady::now();
    const std::string line = unread_.substr(0, unread_.find('\n'));
    unread_.erase(0, line.size() + 1);
    if (line != word) {
        error_ = "it said \"" + line + "\" instead of \"" + word + "\"";
        return std::nullopt;
    }
    return saidAt - started_;
}

bool ChildProcess::Reap()
{
    if (ended_)
        return true;
    if (pid_ > 0 && waitpid(pid_, &status_, WNOHANG) == pid_)
        ended_ = true;
    return ended_;
}

bool ChildProcess::Running() { return pid_ > 0 && !Reap(); }

std::string ChildProcess::HowItEnded() const
{
    if (WIFEXITED(status_))
        return "it exited with code " + std::to_string(WEXITSTATUS(status_));
    if (WIFSIGNALED(status_))
        return "it was ended by signal " + std::to_string(WTERMSIG(status_));
    return "it ended";
}

bool ChildProcess::End(std::chrono::milliseconds grace)
{
    if (pid_ <= 0 || Reap())
        return true;
    kill(pid_, SIGTERM);
    const auto deadline = Steady::now() + grace;
    while (Steady::now() < deadline) {
        if (Reap())
            return true;
        std::this_thread::sleep_for(5ms);
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, &status_, 0);
    ended_ = true;
    error_ = "it did not end within " + std::to_string(grace.count()) + " ms of SIGTERM and was killed";
    return false;
}

std::string Tail(const std::string& file, size_t lines)
{
    std::ifstream in(file);
    std::deque<std::string> last;
    for (std::string line; std::getline(in, line);) {
        last.push_back(line);
        if (last.size() > lines)
            last.pop_front();
    }
    std::string text;
    for (const std::string& line : last)
        text += "    | " + line + "\n";
    return text;
}

} // namespace kovantis::bench
