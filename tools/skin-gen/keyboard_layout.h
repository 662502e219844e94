#pragma once
// Where the default skin draws each key of the keyboard picture, in key units, and what its
// keycap says.

#include <span>
#include <string_view>

namespace skingen {

struct KeyCap {
    int slot;                 // key slot of the key's code; -1 for Fn
    double column;            // left edge, key units from the main block's left edge
    int row;                  // matrix row 0..5
    double width = 1.0;       // key units
    double height = 1.0;      // key units (2 for the keypad's + and Enter)
    std::string_view legend;  // main legend
    std::string_view upper = {};  // shifted legend drawn above the main one
};

std::span<const KeyCap> KeyboardKeys();
// Width of the whole key block in key units.
inline constexpr double kKeyBlockUnits = 22.5;

} // namespace skingen
