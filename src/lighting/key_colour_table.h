#pragma once
// The per-key colours of effect 20, for each profile: 126 entries of R, G, B indexed by matrix
// index (the 104 main keys by their own index, Fn 110, all G keys 125), and whether each key
// follows its user mode's base colour.

#include <array>
#include <cstdint>
#include <span>

#include "lighting/profile_block.h"
#include "lighting/rgb.h"
#include "wire/keyboard_memory.h"

namespace kovantis {

// One colour per position of the key matrix, as one keymap entry per position.
inline constexpr int kKeyColourEntries = kKeymapPositions;
inline constexpr int kKeyColourBytes = kKeyColourEntries * 3;

class KeyColourTable {
public:
    // Every key red and following the base colour, as a profile without a mode file reads.
    KeyColourTable();

    Rgb At(int profile, int index) const;
    void Set(int profile, int index, Rgb colour);
    bool FollowsBase(int profile, int index) const;
    void SetFollowsBase(int profile, int index, bool follows);
    std::span<const uint8_t, kKeyColourBytes> Bytes(int profile) const;

private:
    std::array<std::array<uint8_t, kKeyColourBytes>, kProfileCount> bytes_{};
    std::array<std::array<bool, kKeyColourEntries>, kProfileCount> followsBase_{};
};

} // namespace kovantis
