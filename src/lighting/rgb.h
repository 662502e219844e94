#pragma once
// A colour as the keyboard and the mode files hold it: one byte each of red, green and blue.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kovantis {

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;

    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kRed{0xFF, 0x00, 0x00};
inline constexpr Rgb kBlack{0x00, 0x00, 0x00};

// "R,G,B" in decimal (the mode files' and the command line's form).
std::u16string FormatRgb(Rgb colour);
// Parses "R,G,B" (blanks allowed around the numbers, each 0..255); nullopt otherwise.
std::optional<Rgb> ParseRgb(std::u16string_view text);
std::optional<Rgb> ParseRgb(std::string_view text);

// Each channel times level / 255, level 0..255.
constexpr Rgb ScaleRgb(Rgb colour, uint8_t level)
{
    return Rgb{static_cast<uint8_t>(colour.r * level / 255), static_cast<uint8_t>(colour.g * level / 255),
               static_cast<uint8_t>(colour.b * level / 255)};
}

} // namespace kovantis
