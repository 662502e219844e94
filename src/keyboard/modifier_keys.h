#pragma once
// The eight modifier keys in the order of their bits in a modifier mask (the HID modifier byte).

#include <array>
#include <cstdint>

#include "keyboard/key_code.h"

namespace kovantis {

inline constexpr std::array<KeyCode, 8> kModifierKeys = {
    keys::kCtrl, keys::kShift, keys::kAlt, keys::kWin,
    keys::kRightCtrl, keys::kRightShift, keys::kRightAlt, keys::kRightWin,
};

// The modifier named by the lowest set bit of `mask`; 0 for an empty mask.
constexpr KeyCode ModifierOfMask(uint8_t mask)
{
    for (int bit = 0; bit < 8; ++bit) {
        if (mask & (1u << bit)) return kModifierKeys[bit];
    }
    return 0;
}

// The mask bit of a modifier key; 0 for any other code.
constexpr uint8_t ModifierBitOf(KeyCode code)
{
    for (int bit = 0; bit < 8; ++bit) {
        if (kModifierKeys[bit] == code) return static_cast<uint8_t>(1u << bit);
    }
    return 0;
}

} // namespace kovantis
