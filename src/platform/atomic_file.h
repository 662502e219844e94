#pragma once
// Whole-file reads and crash-safe whole-file replacement, for every file the program writes
// (settings, language choice, profile files): readers and crashes only ever see the old or the
// new contents, never half a file.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kovantis {

// Who may read a file the program writes. Files that hold the user's key assignments, macros
// (recorded keystrokes) or colour modes are Private: 0600 whatever the umask and whatever the
// bits of the file they replace. Shared files get the umask's choice and keep an existing
// file's bits.
enum class FileAccess { Shared, Private };

// Writes a temporary file in the folder of `path`, flushes it to disk, renames it over `path`
// and flushes the folder. A symbolic link at `path` is followed, so the file it names is
// replaced. On any failure the temporary file is removed, `path` is left as it was and the
// result is false. The folder is not created.
bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> contents,
                         FileAccess access = FileAccess::Shared);
bool WriteFileAtomically(const std::string& path, std::string_view contents,
                         FileAccess access = FileAccess::Shared);

// Reads a whole file in one pass; nullopt when it is missing, unreadable, not a regular file
// (never blocks on a FIFO) or larger than `max_size` bytes.
std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t max_size);

} // namespace kovantis
