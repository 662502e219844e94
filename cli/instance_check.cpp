#include "cli/instance_check.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <signal.h>
#include <unistd.h>

namespace kovantis::cli {

std::string DesktopLockPath()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime != '\0')
        return std::string(runtime) + "/kovantis.lock";
    return "/tmp/kovantis-" + std::to_string(getuid()) + ".lock";
}

std::optional<long> RunningDesktopProgram(const std::string& lockPath)
{
    std::ifstream file(lockPath);
    std::string line;
    if (!file || !std::getline(file, line))
        return std::nullopt;
    long pid = 0;
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), pid);
    if (error != std::errc() || end != line.data() + line.size() || pid <= 0 || pid == getpid())
        return std::nullopt;
    // EPERM: alive, but another user's (a lock left in a shared /tmp).
    if (kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM)
        return pid;
    return std::nullopt;
}

} // namespace kovantis::cli
