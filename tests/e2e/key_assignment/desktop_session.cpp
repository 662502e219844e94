#include "desktop_session.h"
#include "support/child_environment.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace kovantis::testing {
namespace {

using namespace std::chrono_literals;

} // namespace

ToolRun RunTool(const std::vector<std::string>& argv, std::chrono::milliseconds timeout)
{
    ToolRun run;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return run;
    std::vector<std::string> args = argv;
    std::vector<char*> argp = Pointers(args);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    pid_t pid = -1;
    const bool started = posix_spawnp(&pid, args.front().c_str(), &actions, nullptr, argp.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    if (started) {
        char buffer[4096];
        while (true) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd fd{fds[0], POLLIN, 0};
            if (left.count() <= 0 || poll(&fd, 1, static_cast<int>(left.count())) <= 0)
                break;
            const ssize_t got = read(fds[0], buffer, sizeof buffer);
            if (got <= 0)
                break;
            run.output.append(buffer, static_cast<size_t>(got));
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == 0) {
            while (std::chrono::steady_clock::now() < deadline && waitpid(pid, &status, WNOHANG) == 0)
                std::this_thread::sleep_for(5ms);
        }
        if (waitpid(pid, &status, WNOHANG) == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        } else if (WIFEXITED(status)) {
            run.exitCode = WEXITSTATUS(status);
        }
    }
    close(fds[0]);
    return run;
}

DesktopProgram::DesktopProgram(const std::string& program, const std::vector<std::string>& args,
                               const std::map<std::string, std::string>& env)
{
    std::vector<std::string> envText = MergedEnvironment(env);
    std::vector<std::string> argText{program};
    argText.insert(argText.end(), args.begin(), args.end());
    std::vector<char*> argv = Pointers(argText);
    std::vector<char*> envp = Pointers(envText);
    if (posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0)
        pid_ = -1;
}

DesktopProgram::~DesktopProgram()
{
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    for (int i = 0; i < 200 && waitpid(pid_, nullptr, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(10ms);
    if (waitpid(pid_, nullptr, WNOHANG) == 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

bool DesktopProgram::Alive() { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }

Xdotool::Xdotool()
{
    const char* tool = std::getenv("XDOTOOL");
    tool_ = tool != nullptr && *tool != '\0' ? tool : "xdotool";
}

bool Xdotool::WindowShown(const std::string& title) const
{
    const ToolRun search = RunTool({tool_, "search", "--onlyvisible", "--name", "^" + title + "$"});
    return search.exitCode == 0 && !search.output.empty();
}

bool Xdotool::Visible(const std::string& id) const
{
    const ToolRun search = RunTool({tool_, "search", "--onlyvisible", "--name", ""});
    std::istringstream ids(search.output);
    std::string shown;
    while (ids >> shown) {
        if (shown == id)
            return true;
    }
    return false;
}

std::optional<WindowGeometry> Xdotool::WaitForWindow(const std::string& title, std::chrono::milliseconds timeout) const
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        const ToolRun search = RunTool({tool_, "search", "--onlyvisible", "--name", "^" + title + "$"});
        std::istringstream ids(search.output);
        std::string id;
        // Qt may keep a hidden helper window under the same title: take the first real one.
        while (search.exitCode == 0 && (ids >> id)) {
            const ToolRun shell = RunTool({tool_, "getwindowgeometry", "--shell", id});
            WindowGeometry geometry;
            geometry.id = id;
            std::istringstream lines(shell.output);
            std::string line;
            int found = 0;
            while (std::getline(lines, line)) {
                const size_t equals = line.find('=');
                if (equals == std::string::npos)
                    continue;
                const std::string name = line.substr(0, equals);
                const int value = std::atoi(line.c_str() + equals + 1);
                if (name == "X") geometry.x = value, ++found;
                if (name == "Y") geometry.y = value, ++found;
                if (name == "WIDTH") geometry.width = value, ++found;
                if (name == "HEIGHT") geometry.height = value, ++found;
            }
            if (found == 4 && geometry.width > 1)
                return geometry;
        }
        std::this_thread::sleep_for(100ms);
    }
    return std::nullopt;
}

bool Xdotool::WaitForFocus(const std::string& id, std::chrono::milliseconds timeout) const
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (Focused() == id)
            return true;
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

std::string Xdotool::Focused() const
{
    const ToolRun focus = RunTool({tool_, "getwindowfocus"});
    std::istringstream words(focus.output);
    std::string id;
    return focus.exitCode == 0 && (words >> id) ? id : std::string();
}

bool Xdotool::ClickAt(int x, int y, int count) const
{
    // One run: the server takes the move before the clicks, and the clicks of a double or
    // triple click stay close together however slowly programs start on a busy machine. (A
    // synchronous move waits for motion, which never comes when the pointer is there already.)
    return RunTool({tool_, "mousemove", std::to_string(x), std::to_string(y), "click", "--repeat",
                    std::to_string(count), "--delay", "60", "1"})
               .exitCode == 0;
}

bool Xdotool::Key(const std::string& keys) const
{
    return RunTool({tool_, "key", "--clearmodifiers", keys}).exitCode == 0;
}

bool Xdotool::KeyDown(const std::string& key) const { return RunTool({tool_, "keydown", key}).exitCode == 0; }

bool Xdotool::KeyUp(const std::string& key) const { return RunTool({tool_, "keyup", key}).exitCode == 0; }

bool Xdotool::Type(const std::string& text) const
{
    return RunTool({tool_, "type", "--delay", "40", text}).exitCode == 0;
}

} // namespace kovantis::testing
