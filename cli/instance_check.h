#pragma once
// Whether the desktop program is running: it holds a lock file whose first line is its process
// id. kovantis-cli refuses to touch the keyboard then, so that two programs never interleave
// exchanges with it.

#include <optional>
#include <string>

namespace kovantis::cli {

// $XDG_RUNTIME_DIR/kovantis.lock, or /tmp/kovantis-<uid>.lock without a runtime folder.
std::string DesktopLockPath();
// The process id of the program holding the lock at path, when that process is alive.
std::optional<long> RunningDesktopProgram(const std::string& lockPath);

} // namespace kovantis::cli
