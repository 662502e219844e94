#include "log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace devlinx {
namespace {

std::atomic<int> debug_level{0};

} // namespace

void SetDebugLevel(int level)
{
    debug_level.store(level, std::memory_order_relaxed);
}

int DebugLevel()
{
    return debug_level.load(std::memory_order_relaxed);
}

void Log(const char* format, ...)
{
    if (DebugLevel() <= 0)
        return;
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::fprintf(stderr, "devlinx: %s\n", line);
}

} // namespace devlinx
