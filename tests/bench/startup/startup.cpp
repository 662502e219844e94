// The desktop program against a minimal Qt Widgets program (startup_baseline) that shows one
// window: the time from starting the process to its "ready" (for kovantis: "INIT" handled, the
// window ready and hidden) and the peak resident memory once the window shows ("shown"),
// medians of alternating launches, each with fresh folders, the offscreen platform and
// kovantis-vkbd present. Then kovantis idle in the tray (/Start, lighting view off) and the
// wake-ups of each of its threads over ten seconds.
//
//   startup [LAUNCHES]      (7 unless given)
//
// The programs come from KOVANTIS_BIN_DIR, else from ../bin beside this program;
// startup_baseline sits beside this program.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "process_stats.h"
#include "support/vkbd_process.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using kovantis::bench::ChildProcess;
using kovantis::bench::Steady;
using kovantis::bench::TempHome;

constexpr auto kReadyTimeout = 20s;
constexpr auto kEndGrace = 5s;
// Memory is read once start-up has settled: kovantis shows its window only after the keyboard's
// profile has been read, a moment after "ready", and says "shown" then; the first paint follows.
constexpr auto kMemorySettle = 500ms;
constexpr auto kIdleSettle = 1s;
constexpr int kIdleSeconds = 10;
constexpr long kHandfulOfWakeUps = 5;
constexpr double kGoalRatio = 1.5;

struct Programs {
    std::string kovantis;
    std::string baseline;
};

struct Launch {
    double milliseconds = 0;
    long peakAtReadyKiB = 0;
    long peakKiB = 0;
};

double Milliseconds(Steady::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }
double MiB(double kib) { return kib / 1024.0; }

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

template <typename Field>
double MedianOf(const std::vector<Launch>& runs, Field Launch::*field)
{
    std::vector<double> values;
    for (const Launch& run : runs)
        values.push_back(static_cast<double>(run.*field));
    return Median(values);
}

const char* Verdict(bool met) { return met ? "met" : "missed"; }

std::optional<Programs> FindPrograms()
{
    const fs::path self = fs::read_symlink("/proc/self/exe");
    const char* binDir = std::getenv("KOVANTIS_BIN_DIR");
    const fs::path bin = binDir != nullptr && *binDir != '\0' ? fs::path(binDir) : self.parent_path() / ".." / "bin";
    // kovantis-vkbd is found through the same variable.
    setenv("KOVANTIS_BIN_DIR", bin.c_str(), 1);
    const Programs programs{(bin / "kovantis").string(), (self.parent_path() / "startup_baseline").string()};
    for (const fs::path& needed : {fs::path(programs.kovantis), fs::path(programs.baseline), bin / "kovantis-vkbd",
                                   bin / "libdevlinx.so", bin / "Skins"}) {
        if (!fs::exists(needed)) {
            std::fprintf(stderr, "startup: %s is missing; build the targets startup_baseline, kovantis, "
                                 "kovantis-vkbd, devlinx, kovantis_default_skin and kovantis_data, or set "
                                 "KOVANTIS_BIN_DIR\n", needed.c_str());
            return std::nullopt;
        }
    }
    return programs;
}

std::map<std::string, std::string> ChildEnvironment(const TempHome& home, const kovantis::testing::VkbdProcess& keyboard)
{
    std::map<std::string, std::string> env = home.Environment();
    env["QT_QPA_PLATFORM"] = "offscreen";
    env["DEVLINX_BACKEND"] = "virtual";
    env["DEVLINX_VIRTUAL_SOCKET"] = keyboard.SocketPath();
    return env;
}

// `reason` when the child itself has nothing to say.
void ReportFailure(const std::string& what, const ChildProcess& child, const TempHome& home,
                   const char* reason = "")
{
    std::fprintf(stderr, "startup: %s: %s\n", what.c_str(), child.Error().empty() ? reason : child.Error().c_str());
    const std::string log = kovantis::bench::Tail(home.Root() + "/output.log");
    if (!log.empty())
        std::fprintf(stderr, "  its last output:\n%s", log.c_str());
}

// One start of `program` to "ready", its memory read after the settle, then its end.
std::optional<Launch> LaunchOnce(const std::string& program, const kovantis::testing::VkbdProcess& keyboard)
{
    TempHome home;
    if (!home.Ok()) {
        std::fprintf(stderr, "startup: cannot make temporary folders under /tmp\n");
        return std::nullopt;
    }
    ChildProcess child(program, {}, ChildEnvironment(home, keyboard), home.Root() + "/output.log");
    const std::optional<Steady::duration> took = child.WaitFor("ready", kReadyTimeout);
    if (!took) {
        ReportFailure(program, child, home);
        return std::nullopt;
    }
    Launch launch;
    launch.milliseconds = Milliseconds(*took);
    launch.peakAtReadyKiB = kovantis::bench::PeakResidentKiB(child.Pid());
    // On a loaded machine the window may show long after "ready"; a reading before it would
    // leave out what the window costs.
    if (!child.WaitFor("shown", kReadyTimeout)) {
        ReportFailure(program, child, home);
        return std::nullopt;
    }
    std::this_thread::sleep_for(kMemorySettle);
    launch.peakKiB = kovantis::bench::PeakResidentKiB(child.Pid());
    if (launch.peakAtReadyKiB < 0 || launch.peakKiB < 0 || !child.Running()) {
        ReportFailure(program, child, home, "it ended right after \"ready\"");
        return std::nullopt;
    }
    if (!child.End(kEndGrace)) {
        ReportFailure(program + " at SIGTERM", child, home);
        return std::nullopt;
    }
    return launch;
}

void PrintLaunch(const char* label, const char* who, const Launch& launch)
{
    std::printf("  %-10s %-9s %8.1f ms  peak %6.1f MiB (%6.1f MiB at ready)\n", label, who, launch.milliseconds,
                MiB(static_cast<double>(launch.peakKiB)), MiB(static_cast<double>(launch.peakAtReadyKiB)));
}

bool CompareStartUp(const Programs& programs, const kovantis::testing::VkbdProcess& keyboard, int launches)
{
    std::printf("start-up of kovantis against a minimal Qt Widgets program: %d launches each, alternating,\n"
                "offscreen platform, fresh folders, kovantis-vkbd present\n", launches);
    std::vector<Launch> ours;
    std::vector<Launch> floor;
    // The first pair fills the page cache and is not counted.
    for (int round = -1; round < launches; ++round) {
        const std::string label = round < 0 ? "warm-up" : "launch " + std::to_string(round + 1);
        // Swapping who goes first each round spreads any drift of the machine over both.
        const bool baselineFirst = round % 2 == 0;
        for (int turn = 0; turn < 2; ++turn) {
            const bool baseline = (turn == 0) == baselineFirst;
            const std::optional<Launch> launch = LaunchOnce(baseline ? programs.baseline : programs.kovantis, keyboard);
            if (!launch)
                return false;
            PrintLaunch(label.c_str(), baseline ? "baseline" : "kovantis", *launch);
            if (round >= 0)
                (baseline ? floor : ours).push_back(*launch);
        }
    }
    const double ourTime = MedianOf(ours, &Launch::milliseconds);
    const double floorTime = MedianOf(floor, &Launch::milliseconds);
    const double ourPeak = MedianOf(ours, &Launch::peakKiB);
    const double floorPeak = MedianOf(floor, &Launch::peakKiB);
    std::printf("start-up time to \"ready\", median: kovantis %.1f ms, baseline %.1f ms\n", ourTime, floorTime);
    std::printf("time ratio kovantis/baseline: %.2f (goal at most %.1f: %s)\n", ourTime / floorTime, kGoalRatio,
                Verdict(ourTime / floorTime <= kGoalRatio));
    std::printf("peak memory (VmHWM %lld ms after \"shown\"), median: kovantis %.1f MiB, baseline %.1f MiB "
                "(at \"ready\": %.1f and %.1f MiB)\n",
                static_cast<long long>(kMemorySettle.count()), MiB(ourPeak), MiB(floorPeak),
                MiB(MedianOf(ours, &Launch::peakAtReadyKiB)), MiB(MedianOf(floor, &Launch::peakAtReadyKiB)));
    std::printf("memory ratio kovantis/baseline: %.2f (goal at most %.1f: %s)\n", ourPeak / floorPeak, kGoalRatio,
                Verdict(ourPeak / floorPeak <= kGoalRatio));
    return true;
}

long TotalVoluntary(const std::map<pid_t, kovantis::bench::ThreadSample>& threads)
{
    long total = 0;
    for (const auto& [tid, thread] : threads)
        total += thread.voluntary;
    return total;
}

void PrintWakeUps(const std::map<pid_t, kovantis::bench::ThreadSample>& first,
                  const std::map<pid_t, kovantis::bench::ThreadSample>& last)
{
    struct Row {
        pid_t tid;
        std::string name;
        long wakeUps;
        const char* note;
    };
    std::vector<Row> rows;
    for (const auto& [tid, thread] : last) {
        const auto before = first.find(tid);
        const bool isNew = before == first.end();
        rows.push_back({tid, thread.name, thread.voluntary - (isNew ? 0 : before->second.voluntary),
                        isNew ? " (started meanwhile)" : ""});
    }
    for (const auto& [tid, thread] : first) {
        if (!last.contains(tid))
            rows.push_back({tid, thread.name, 0, " (ended meanwhile; its last count is lost)"});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.wakeUps > b.wakeUps; });
    for (const Row& row : rows)
        std::printf("  thread %-7d %-16s %5ld%s\n", static_cast<int>(row.tid), ("\"" + row.name + "\"").c_str(),
                    row.wakeUps, row.note);
}

bool CountIdleWakeUps(const Programs& programs, const kovantis::testing::VkbdProcess& keyboard)
{
    std::printf("\nkovantis /Start, hidden in the tray, lighting view off (fresh folders), kovantis-vkbd present:\n"
                "wake-ups (voluntary context switches of each thread) over %d s after %lld ms of settling\n",
                kIdleSeconds, static_cast<long long>(std::chrono::milliseconds(kIdleSettle).count()));
    TempHome home;
    if (!home.Ok()) {
        std::fprintf(stderr, "startup: cannot make temporary folders under /tmp\n");
        return false;
    }
    ChildProcess child(programs.kovantis, {"/Start"}, ChildEnvironment(home, keyboard), home.Root() + "/output.log");
    if (!child.WaitFor("ready", kReadyTimeout)) {
        ReportFailure(programs.kovantis + " /Start", child, home);
        return false;
    }
    std::this_thread::sleep_for(kIdleSettle);
    const auto t0 = Steady::now();
    const auto first = kovantis::bench::SampleThreads(child.Pid());
    auto previous = first;
    std::string perSecond;
    for (int second = 1; second <= kIdleSeconds; ++second) {
        std::this_thread::sleep_until(t0 + std::chrono::seconds(second));
        const auto now = kovantis::bench::SampleThreads(child.Pid());
        if (now.empty() || !child.Running()) {
            ReportFailure(programs.kovantis + " /Start", child, home, "it ended while idle");
            return false;
        }
        // Threads that came or went between two samples make this an estimate; the table
        // below is exact for the threads alive at both ends.
        perSecond += " " + std::to_string(TotalVoluntary(now) - TotalVoluntary(previous));
        previous = now;
    }
    const auto& last = previous;
    long total = 0;
    for (const auto& [tid, thread] : last) {
        const auto before = first.find(tid);
        total += thread.voluntary - (before == first.end() ? 0 : before->second.voluntary);
    }
    std::printf("  each second:%s\n", perSecond.c_str());
    PrintWakeUps(first, last);
    std::printf("idle wake-ups over %d s: %ld in %zu threads (goal: none periodic, a handful at most: %s)\n",
                kIdleSeconds, total, last.size(), Verdict(total <= kHandfulOfWakeUps));
    if (!child.End(kEndGrace)) {
        ReportFailure(programs.kovantis + " /Start at SIGTERM", child, home);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const int launches = argc > 1 ? std::atoi(argv[1]) : 7;
    if (launches < 1) {
        std::fprintf(stderr, "usage: startup [LAUNCHES]   (LAUNCHES at least 1, 7 unless given)\n");
        return 2;
    }
    const std::optional<Programs> programs = FindPrograms();
    if (!programs)
        return 1;
    const kovantis::testing::VkbdProcess keyboard;
    if (!keyboard.Running() || !keyboard.Control("info").starts_with("ok")) {
        std::fprintf(stderr, "startup: kovantis-vkbd did not start or does not answer on %s\n",
                     keyboard.Folder().c_str());
        return 1;
    }
    if (!CompareStartUp(*programs, keyboard, launches) || !CountIdleWakeUps(*programs, keyboard))
        return 1;
    return 0;
}
