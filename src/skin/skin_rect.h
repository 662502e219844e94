#pragma once
// A control's rectangle in a skin file: "x,y,w,h". The same x and y are the control's picture
// origin: an image control shows its window's state pictures from (x - 1, y - 1).

#include <string_view>

namespace kovantis {

struct SkinRect {
    int x = 1;
    int y = 1;
    int w = 1;
    int h = 1;

    // A control at (1, 1) is absent from the skin; only x and y decide, whatever its size.
    constexpr bool IsAbsent() const { return x == 1 && y == 1; }
    friend constexpr bool operator==(const SkinRect&, const SkinRect&) = default;
};

// What a missing key reads as.
inline constexpr std::u16string_view kAbsentRectValue = u"1,1,1,1,x";

// Longest value a skin file may hold for one rectangle; the rest of a longer line is ignored.
inline constexpr size_t kMaxRectValueLength = 259;

// Takes the first four comma-separated decimal integers; a number that is missing or cannot be
// read counts as 1, as do the ones after it. Numbers are kept within +-32767 and sizes are
// never negative, so a damaged skin cannot ask for absurd windows.
SkinRect ParseSkinRect(std::u16string_view value);

} // namespace kovantis
