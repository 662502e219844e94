#pragma once
// The key a captured keystroke names, from the virtual-key code and the key-data word of a
// key-down family message (bits 16 to 23 the make code, bit 24 the extended flag). On Linux the
// pair comes from evdev_keys.h.

#include <cstdint>

#include "keyboard/key_code.h"

namespace kovantis {

inline constexpr int kKeyDataScanShift = 16;
inline constexpr uint32_t kKeyDataExtendedBit = 1u << 24;

// The make code with the extended flag as 0x100, as carried by a key-data word.
constexpr KeyCode ScanOfKeyData(uint32_t data) { return static_cast<KeyCode>((data >> kKeyDataScanShift) & 0x1FF); }

// 0 when the keystroke names no key the program knows.
KeyCode KeyCodeFromMessage(uint32_t vk, uint32_t data);

} // namespace kovantis
