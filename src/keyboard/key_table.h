#pragma once
// Every key code the program knows, whether or not the keyboard has such a key: 256 slots
// indexed by `SlotOf`, compiled in.

#include <array>
#include <cstdint>
#include <string_view>

#include "keyboard/key_code.h"

namespace kovantis {

inline constexpr int kPickerSize = 106;              // positions 0 to 105 are offered to the user
inline constexpr uint16_t kFirstHiddenPosition = 0x8001;  // known, never offered: 0x8001 to 0x8030
inline constexpr uint16_t kHiddenPositionCount = 0x30;
inline constexpr uint16_t kEmptySlotPosition = 0xFFFF;

struct KeyTableEntry {
    // Display name; empty for an empty slot and for the media slots, whose names come from the
    // language table (see KeyNames).
    std::u16string_view name;
    uint8_t primaryVk = 0;    // the desktop's virtual-key code, left and right modifiers apart
    uint8_t secondaryVk = 0;  // differs only on the keypad: the VK with Num Lock off
    uint16_t pickerPosition = kEmptySlotPosition;
    uint8_t usageByte = 0;    // see KeyCodeToUsage
};

using KeyTableEntries = std::array<KeyTableEntry, kKeySlotCount>;

const KeyTableEntries& KeyTable();

inline const KeyTableEntry& KeyTableEntryOf(KeyCode code) { return KeyTable()[SlotOf(code)]; }

uint16_t PickerPositionOf(KeyCode code);

// The code of the first slot, in slot order, at `position`; 0 if none.
KeyCode KeyCodeAtPickerPosition(int position);

} // namespace kovantis
