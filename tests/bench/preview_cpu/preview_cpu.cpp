// The processor time of the desktop program while its window is shown with the lighting view on
// and an animated effect (the keyboard's wave), as a percentage of one core over a stretch of
// seconds, against the same measurement with the window hidden in the tray (the baseline: the
// program idling with the same settings). Needs an X server: run it under xvfb-run -a.
//
//   preview_cpu [SECONDS]      (10 unless given)
//
// The programs come from KOVANTIS_BIN_DIR, else from ../bin beside this program.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/vkbd_process.h"
#include "support/child_environment.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr auto kWindowSettle = 3s;
constexpr double kGoalPercent = 2.0;

// Processor time of every thread of a process so far, in nanoseconds; nullopt once it is gone.
std::optional<long long> CpuNanoseconds(pid_t pid)
{
    const fs::path tasks = fs::path("/proc") / std::to_string(pid) / "task";
    std::error_code error;
    long long total = 0;
    bool any = false;
    for (const auto& task : fs::directory_iterator(tasks, error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        long long onCpu = 0;
        if (schedstat >> onCpu) {
            total += onCpu;
            any = true;
        }
    }
    // Threads that ended take their time with them; /proc/<pid>/stat keeps it, in ticks.
    std::ifstream stat(fs::path("/proc") / std::to_string(pid) / "stat");
    std::string text;
    std::getline(stat, text);
    const size_t close = text.rfind(')');
    if (!any || close == std::string::npos)
        return std::nullopt;
    std::istringstream fields(text.substr(close + 2));
    std::vector<std::string> f;
    for (std::string word; fields >> word;)
        f.push_back(word);
    if (f.size() > 12) {
        const long long ticks = std::stoll(f[11]) + std::stoll(f[12]);  // utime, stime
        const long long fromStat = ticks * 1'000'000'000LL / sysconf(_SC_CLK_TCK);
        // schedstat is the finer of the two; stat also counts threads that have ended.
        if (fromStat > total + 20'000'000LL)
            total = fromStat;
    }
    return total;
}

struct Child {
    pid_t pid = -1;
    ~Child()
    {
        if (pid > 0) {
            kill(pid, SIGTERM);
            for (int i = 0; i < 50 && waitpid(pid, nullptr, WNOHANG) == 0; ++i)
                std::this_thread::sleep_for(100ms);
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
};

bool Start(Child& child, const std::string& program, const std::vector<std::string>& args,
           const std::map<std::string, std::string>& env, const std::string& log)
{
    std::vector<std::string> envText = kovantis::testing::MergedEnvironment(env);
    std::vector<std::string> argText{program};
    argText.insert(argText.end(), args.begin(), args.end());
    std::vector<char*> argv = kovantis::testing::Pointers(argText);
    std::vector<char*> envp = kovantis::testing::Pointers(envText);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    const int failed = posix_spawn(&child.pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0)
        child.pid = -1;
    return failed == 0;
}

// One run of the program: settled, then its processor time over `seconds`, in percent of a core.
std::optional<double> Measure(const std::string& program, const kovantis::testing::VkbdProcess& keyboard,
                              bool hidden, int seconds)
{
    const fs::path root = fs::path(keyboard.Folder()) / (hidden ? "hidden" : "shown");
    std::error_code error;
    fs::remove_all(root, error);
    for (const char* folder : {"run", "config", "data", "home/Documents/Kovantis_09A"})
        fs::create_directories(root / folder, error);
    fs::permissions(root / "run", fs::perms::owner_all, fs::perm_options::replace, error);
    // The lighting view is on in both runs: only whether the window shows differs.
    std::ofstream(root / "home/Documents/Kovantis_09A/ovra.ini") << "[KEYCOLOR]\nDengCheck=1\n";

    const std::map<std::string, std::string> env{
        {"XDG_RUNTIME_DIR", (root / "run").string()},   {"XDG_CONFIG_HOME", (root / "config").string()},
        {"XDG_DATA_HOME", (root / "data").string()},    {"HOME", (root / "home").string()},
        {"QT_QPA_PLATFORM", "xcb"},                      {"DEVLINX_BACKEND", "virtual"},
        {"DEVLINX_VIRTUAL_SOCKET", keyboard.SocketPath()},
    };
    Child child;
    const std::string log = (root / "output.log").string();
    if (!Start(child, program, hidden ? std::vector<std::string>{"/Start"} : std::vector<std::string>{}, env, log)) {
        std::fprintf(stderr, "preview_cpu: cannot start %s\n", program.c_str());
        return std::nullopt;
    }
    std::this_thread::sleep_for(kWindowSettle);
    const auto before = CpuNanoseconds(child.pid);
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const auto after = CpuNanoseconds(child.pid);
    const double wall = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
    if (!before || !after || waitpid(child.pid, nullptr, WNOHANG) != 0) {
        std::fprintf(stderr, "preview_cpu: %s ended early; see %s\n", program.c_str(), log.c_str());
        return std::nullopt;
    }
    return 100.0 * static_cast<double>(*after - *before) / wall;
}

} // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    if (std::getenv("DISPLAY") == nullptr) {
        std::fprintf(stderr, "preview_cpu: needs an X server; run it as: xvfb-run -a %s\n", argv[0]);
        return 2;
    }
    const char* binDir = std::getenv("KOVANTIS_BIN_DIR");
    const std::string bin = binDir != nullptr ? binDir : (fs::path(argv[0]).parent_path() / ".." / "bin").string();
    setenv("KOVANTIS_BIN_DIR", bin.c_str(), 1);
    const std::string program = bin + "/kovantis";

    kovantis::testing::VkbdProcess keyboard;  // profile 0: the wave, which moves every frame
    if (!keyboard.Running()) {
        std::fprintf(stderr, "preview_cpu: cannot start %s/kovantis-vkbd\n", bin.c_str());
        return 1;
    }
    const std::optional<double> hidden = Measure(program, keyboard, true, seconds);
    const std::optional<double> shown = Measure(program, keyboard, false, seconds);
    if (!hidden || !shown)
        return 1;
    std::printf("window hidden (baseline): %.2f %% of a core over %d s\n", *hidden, seconds);
    std::printf("window shown, lighting view, wave effect: %.2f %% of a core over %d s\n", *shown, seconds);
    std::printf("preview cost: %.2f %% of a core (goal: shown at most %.1f %%)\n", *shown - *hidden, kGoalPercent);
    if (*hidden >= 0.01)
        std::printf("ratio shown/hidden: %.1f\n", *shown / *hidden);
    return *shown <= kGoalPercent ? 0 : 1;
}
