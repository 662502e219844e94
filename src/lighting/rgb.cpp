#include "lighting/rgb.h"

#include "lighting/decimal_list.h"

namespace kovantis {

std::u16string FormatRgb(Rgb colour)
{
    return FormatDecimalList({colour.r, colour.g, colour.b});
}

std::optional<Rgb> ParseRgb(std::u16string_view text)
{
    std::array<int, 3> v{};
    if (!ParseDecimalList(text, v)) {
        return std::nullopt;
    }
    for (int n : v) {
        if (n < 0 || n > 255) {
            return std::nullopt;
        }
    }
    return Rgb{static_cast<uint8_t>(v[0]), static_cast<uint8_t>(v[1]), static_cast<uint8_t>(v[2])};
}

std::optional<Rgb> ParseRgb(std::string_view text)
{
    std::u16string wide;
    for (char c : text) {
        wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    }
    return ParseRgb(wide);
}

} // namespace kovantis
