#pragma once
// The state file's reads and writes. A write replaces the file whole (temporary file, flushed,
// renamed over it), so a keyboard killed mid-write keeps its previous memory.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kovantis::vkbd {

bool ReplaceFileContents(const std::string& path, std::span<const uint8_t> contents);
// nullopt when the file is missing, not a regular file, unreadable or larger than maxSize.
std::optional<std::vector<uint8_t>> ReadFileContents(const std::string& path, size_t maxSize);

} // namespace kovantis::vkbd
