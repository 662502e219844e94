#pragma once
// Linux key events as the keystroke the key capture expects: the virtual-key code and key-data
// word the desktop's key messages carry, so that KeyCodeFromMessage names the same key on Linux.
// X11 and Wayland report the evdev code + 8 as the native scan code of a key event.

#include <cstdint>
#include <optional>

#include "keyboard/key_code.h"

namespace kovantis {

inline constexpr uint32_t kNativeScanCodeOffset = 8;

struct KeyMessage {
    uint8_t vk = 0;
    uint32_t data = 0;  // repeat count 1, make code in bits 16 to 23, extended flag in bit 24
};

// The modifiers that change which key a PC keyboard reports: Ctrl turns Pause into Break, Alt
// turns Print Screen into Sys Req.
struct HeldModifiers {
    bool ctrl = false;
    bool alt = false;
};

// The key code an evdev key stands for; 0 when no key of the key table.
KeyCode KeyCodeOfEvdev(uint16_t evdevCode, HeldModifiers held = {});

// nullopt when the key is none of the key table's. A release also sets the previous-state and
// transition bits (30 and 31), as a key-up message does.
std::optional<KeyMessage> KeyMessageFromEvdev(uint16_t evdevCode, HeldModifiers held = {}, bool release = false);
std::optional<KeyMessage> KeyMessageFromNativeScanCode(uint32_t nativeScanCode, HeldModifiers held = {},
                                                       bool release = false);

} // namespace kovantis
