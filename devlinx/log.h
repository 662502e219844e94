#pragma once
// Diagnostics on standard error, off unless Debug(level > 0) or DEVLINX_DEBUG asked for them.

namespace devlinx {

void SetDebugLevel(int level);
int DebugLevel();

// One line "devlinx: ..." when the debug level is above 0.
void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace devlinx
