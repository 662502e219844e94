#pragma once
// Memory areas as text: 16 bytes a line, each line led by the offset of its first byte.

#include <cstdint>
#include <span>
#include <string>

namespace kovantis::cli {

// "0010: 04 2f 00 ...\n" lines; firstOffset is the offset of bytes[0] inside its area.
std::string HexDump(std::span<const uint8_t> bytes, size_t firstOffset = 0);

} // namespace kovantis::cli
