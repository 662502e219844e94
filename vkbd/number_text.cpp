#include "vkbd/number_text.h"

#include <charconv>

namespace kovantis::vkbd {
namespace {

bool HasHexPrefix(std::string_view text)
{
    return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

std::optional<uint32_t> Parse(std::string_view text, int base, uint32_t max)
{
    uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || error != std::errc() || rest != end || value > max) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<uint32_t> ParseHex(std::string_view text, uint32_t max)
{
    return Parse(HasHexPrefix(text) ? text.substr(2) : text, 16, max);
}

std::optional<uint32_t> ParseNumber(std::string_view text, uint32_t max)
{
    return HasHexPrefix(text) ? Parse(text.substr(2), 16, max) : Parse(text, 10, max);
}

std::string HexBytes(std::span<const uint8_t> bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (const uint8_t b : bytes) {
        if (!text.empty()) {
            text += ' ';
        }
        text += kDigits[b >> 4];
        text += kDigits[b & 0x0F];
    }
    return text;
}

} // namespace kovantis::vkbd
