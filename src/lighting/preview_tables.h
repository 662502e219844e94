#pragma once
// The fixed tables the on-screen lighting preview draws from. Keys are named by their matrix
// index (row * 21 + column of the keyboard's matrix, 0..125), which the keyboard view maps to
// its key pictures.

#include <array>
#include <cstddef>
#include <cstdint>

#include "keyboard/physical_layout.h"
#include "lighting/rgb.h"

namespace kovantis {

inline constexpr int kWheelSize = 192;
inline constexpr int kShortRampSize = 96;
inline constexpr int kLongRampSize = 128;
inline constexpr int kGridColumns = 23;
inline constexpr int kGridRows = 6;
inline constexpr int kKeyOrderSize = kKeyListSize;
inline constexpr int kGroupCount = 12;
inline constexpr int kGroupSize = 12;
inline constexpr int kNoKey = -1;

struct PreviewTables {
    // A smooth hue wheel: red, yellow, green, cyan, blue, magenta, 32 steps between each.
    std::array<Rgb, kWheelSize> wheel;
    // Monotone brightness ramps from 0 to 255.
    std::array<uint8_t, kShortRampSize> shortRamp;
    std::array<uint8_t, kLongRampSize> longRamp;
    // The keys as they sit on the board: 6 rows of 23 columns (main block 0..14, navigation
    // 15..17, keypad 19..22); kNoKey where the board has no key.
    std::array<std::array<int16_t, kGridColumns>, kGridRows> grid;
    // The 104 main keys (all but Fn) in a snake over the rows, for effects that run key by key.
    std::array<int16_t, kKeyOrderSize> keyOrder;
    // Effect 18: keys in twelve rings from the middle of the board outwards, kNoKey padding.
    std::array<std::array<int16_t, kGroupSize>, kGroupCount> groups;
    // The grid cell of every matrix index, or -1.
    std::array<int16_t, kMatrixSize> cellOf;
    // The matrix indexes of all keys of the grid, row by row.
    std::array<int16_t, kKeyOrderSize + 1> gridKeys;
};

const PreviewTables& Tables();

// Walks a monotone ramp up and back down, so that a running index never jumps from bright to
// dark: position 0..2n-1 over an n-entry ramp.
template <size_t N>
constexpr uint8_t PingPong(const std::array<uint8_t, N>& ramp, int position)
{
    const int period = static_cast<int>(2 * N);
    int p = position % period;
    if (p < 0) {
        p += period;
    }
    return p < static_cast<int>(N) ? ramp[static_cast<size_t>(p)] : ramp[static_cast<size_t>(period - 1 - p)];
}

inline Rgb WheelAt(int index)
{
    int i = index % kWheelSize;
    if (i < 0) {
        i += kWheelSize;
    }
    return Tables().wheel[static_cast<size_t>(i)];
}

} // namespace kovantis
