#include "skin/skin_rect.h"

#include <algorithm>
#include <array>
#include <optional>

namespace kovantis {
namespace {

constexpr long kCoordinateLimit = 32767;

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f'; }

// One "%d" conversion: leading blanks, an optional sign, at least one digit.
std::optional<int> ReadNumber(std::u16string_view text, size_t& pos)
{
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'-' || text[pos] == u'+')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    const size_t digitsStart = pos;
    long value = 0;
    while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
        value = std::min(value * 10 + (text[pos] - u'0'), kCoordinateLimit + 1);
        ++pos;
    }
    if (pos == digitsStart) {
        return std::nullopt;
    }
    value = std::min(value, kCoordinateLimit);
    return static_cast<int>(negative ? -value : value);
}

} // namespace

SkinRect ParseSkinRect(std::u16string_view value)
{
    value = value.substr(0, kMaxRectValueLength);
    std::array<int, 4> numbers{1, 1, 1, 1};
    size_t pos = 0;
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) {
            if (pos >= value.size() || value[pos] != u',') {
                break;
            }
            ++pos;
        }
        const std::optional<int> number = ReadNumber(value, pos);
        if (!number) {
            break;
        }
        numbers[i] = *number;
    }
    return SkinRect{numbers[0], numbers[1], std::max(numbers[2], 0), std::max(numbers[3], 0)};
}

} // namespace kovantis
