#pragma once
// Numbers as people type them on a command line, and bytes as hex text.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kovantis::vkbd {

// Hex digits with an optional 0x prefix, at most `max`.
std::optional<uint32_t> ParseHex(std::string_view text, uint32_t max);

// Decimal, or hex with a 0x prefix, at most `max`.
std::optional<uint32_t> ParseNumber(std::string_view text, uint32_t max);

// "aa bb cc": lower-case hex bytes separated by single spaces.
std::string HexBytes(std::span<const uint8_t> bytes);

} // namespace kovantis::vkbd
