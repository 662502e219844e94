#include "process_stats.h"

#include <filesystem>
#include <fstream>
#include <optional>

namespace kovantis::bench {
namespace fs = std::filesystem;

namespace {

// The number after "name:" in a /proc status file.
std::optional<long> StatusNumber(const fs::path& status, std::string_view name)
{
    std::ifstream in(status);
    for (std::string line; std::getline(in, line);) {
        if (line.size() > name.size() && line.starts_with(name) && line[name.size()] == ':')
            return std::stol(line.substr(name.size() + 1));
    }
    return std::nullopt;
}

} // namespace

long PeakResidentKiB(pid_t pid)
{
    return StatusNumber(fs::path("/proc") / std::to_string(pid) / "status", "VmHWM").value_or(-1);
}

std::map<pid_t, ThreadSample> SampleThreads(pid_t pid)
{
    std::map<pid_t, ThreadSample> threads;
    std::error_code failed;
    for (const fs::directory_entry& task :
         fs::directory_iterator(fs::path("/proc") / std::to_string(pid) / "task", failed)) {
        const std::optional<long> voluntary = StatusNumber(task.path() / "status", "voluntary_ctxt_switches");
        const std::optional<long> involuntary = StatusNumber(task.path() / "status", "nonvoluntary_ctxt_switches");
        if (!voluntary || !involuntary)
            continue;  // the thread ended meanwhile
        ThreadSample sample;
        std::ifstream comm(task.path() / "comm");
        std::getline(comm, sample.name);
        sample.voluntary = *voluntary;
        sample.involuntary = *involuntary;
        threads.emplace(static_cast<pid_t>(std::stol(task.path().filename().string())), sample);
    }
    return threads;
}

} // namespace kovantis::bench
