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

// Writes a temporary file in the folder of `path`, flushes it to disk, renames it over `path`
// and flushes the folder. A symbolic link at `path` is followed, so the file it names is
// replaced. An existing file keeps its permission bits. On any failure the temporary file is
// removed, `path` is left as it was and the result is false. The folder is not created.
bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> contents);
bool WriteFileAtomically(const std::string& path, std::string_view contents);

// Reads a whole file; nullopt when it is missing, unreadable, not a regular file or larger
// than `max_size` bytes.
std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t max_size);

} // namespace kovantis
