#include "support/cli_home.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <thread>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <pty.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/vkbd_process.h"

namespace kovantis::testing {
namespace {

std::filesystem::path OutputFolder()
{
    char pattern[] = "/tmp/kovantis-cli-out-XXXXXX";
    return ::mkdtemp(pattern);
}

} // namespace

std::string Slurp(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

CliHome::CliHome()
{
    char pattern[] = "/tmp/kovantis-cli-user-XXXXXX";
    root_ = ::mkdtemp(pattern);
    ::chmod(root_.c_str(), 0755);  // a child under another user id may look inside
    std::filesystem::create_directories(root_ / "run");
    ::chmod((root_ / "run").c_str(), 0700);
}

CliHome::~CliHome()
{
    std::error_code error;
    std::filesystem::remove_all(root_, error);
}

pid_t CliHome::Launch(const std::vector<std::string>& args, const std::string& program,
                      std::optional<unsigned> asUser, const std::filesystem::path& outputs, int terminalSide) const
{
    const std::filesystem::path out = outputs / "out";
    const std::filesystem::path err = outputs / "err";
    const pid_t child = ::fork();
    if (child != 0)
        return child;
    ::setenv("HOME", root_.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (root_ / "run").c_str(), 1);
    ::unsetenv("XDG_DOCUMENTS_DIR");
    ::unsetenv("KOVANTIS_USB_ID");
    for (const auto& [name, value] : environment) {
        if (value.empty())
            ::unsetenv(name.c_str());
        else
            ::setenv(name.c_str(), value.c_str(), 1);
    }
    const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    ::dup2(o, 1);
    ::dup2(terminalSide >= 0 ? terminalSide : e, 2);
    if (asUser && (::setgid(*asUser) != 0 || ::setuid(*asUser) != 0))
        ::_exit(126);
    const std::string path = BinDir() + "/" + program;
    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(path.c_str(), argv.data());
    ::_exit(127);
}

ProgramRun CliHome::Run(const std::vector<std::string>& args, const std::string& program,
                        std::optional<unsigned> asUser) const
{
    int terminal = -1;
    int terminalSide = -1;
    if (errorToTerminal && ::openpty(&terminal, &terminalSide, nullptr, nullptr, nullptr) != 0)
        return ProgramRun{};
    const std::filesystem::path outputs = OutputFolder();
    const pid_t child = Launch(args, program, asUser, outputs, terminalSide);
    std::string terminalText;
    if (terminal >= 0) {
        // Read while the child runs: a full terminal buffer would stall it.
        ::close(terminalSide);
        char chunk[4096];
        for (;;) {
            pollfd ready{terminal, POLLIN, 0};
            if (::poll(&ready, 1, 200) < 0)
                break;
            const ssize_t got = ::read(terminal, chunk, sizeof chunk);
            if (got > 0)
                terminalText.append(chunk, static_cast<size_t>(got));
            else if (got < 0 && errno != EAGAIN && errno != EINTR)
                break;  // EIO: the child and every copy of the terminal side are gone
        }
        ::close(terminal);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ProgramRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(outputs / "out"),
                   terminal >= 0 ? terminalText : Slurp(outputs / "err")};
    std::filesystem::remove_all(outputs);
    return run;
}

CliHome::Child CliHome::Start(const std::vector<std::string>& args, const std::string& program) const
{
    Child child;
    child.outputs = OutputFolder();
    child.pid = Launch(args, program, std::nullopt, child.outputs, -1);
    return child;
}

ProgramRun CliHome::Wait(const Child& child, std::chrono::milliseconds limit, bool* hung) const
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    bool ended = false;
    while (!(ended = ::waitpid(child.pid, &status, WNOHANG) == child.pid) &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (!ended) {
        ::kill(child.pid, SIGKILL);
        ::waitpid(child.pid, &status, 0);
    }
    if (hung != nullptr)
        *hung = !ended;
    ProgramRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(child.outputs / "out"),
                   Slurp(child.outputs / "err")};
    std::filesystem::remove_all(child.outputs);
    return run;
}

void CliHome::UseKeyboard(const VkbdProcess& keyboard)
{
    environment["DEVLINX_BACKEND"] = "virtual";
    environment["DEVLINX_VIRTUAL_SOCKET"] = keyboard.SocketPath();
}

std::vector<std::string> CliHome::Tree() const
{
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root_))
        paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

} // namespace kovantis::testing
