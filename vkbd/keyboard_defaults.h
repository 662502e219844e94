#pragma once
// What a keyboard holds when it leaves the factory, apart from its keymaps.

#include <array>
#include <cstdint>
#include <span>

#include "wire/keyboard_memory.h"

namespace kovantis::vkbd {

// The effects of the usual firmware: every animated effect, static colour and per-key colours.
std::array<uint8_t, kEffectListSize> DefaultEffectList();

// The lighting and report-rate record of one profile (0 to 2); the three profiles ship with
// different effects so that switching profiles shows.
std::array<uint8_t, kProfileRecordSize> DefaultLightingRecord(int profile);

// The per-key colour every key starts with.
inline constexpr std::array<uint8_t, 3> kDefaultKeyColour{0xFF, 0x00, 0x00};

} // namespace kovantis::vkbd
