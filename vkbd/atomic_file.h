#pragma once
// Replacing a file so that readers and crashes only ever see the old or the new contents.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kovantis::vkbd {

// Writes a temporary file beside `path`, flushes it to disk, renames it over `path` and flushes
// the folder. On any failure the temporary file is removed and `path` is left as it was.
bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> contents);

// Reads a whole file of at most maxSize bytes; false when it is missing, unreadable or larger.
bool ReadWholeFile(const std::string& path, size_t maxSize, std::vector<uint8_t>& contents);

} // namespace kovantis::vkbd
