#pragma once
// Key codes as HID usages, the way the keyboard names keys.

#include <cstdint>
#include <optional>

#include "keyboard/key_code.h"

namespace kovantis {

inline constexpr uint16_t kGenericDesktopPage = 0x01;
inline constexpr uint16_t kKeyboardPage = 0x07;
inline constexpr uint16_t kConsumerPage = 0x0C;

struct HidUsage {
    uint16_t page = 0;
    uint16_t id = 0;
    friend constexpr bool operator==(const HidUsage&, const HidUsage&) = default;
};

// None for codes without a usage (mouse buttons, editing commands, empty slots). A consumer
// usage may be 0: the zoom and office keys have a consumer byte but no usage behind it.
std::optional<HidUsage> KeyCodeToUsage(KeyCode code);

// The first slot, in slot order, with the usage's byte; 0 if none. Duplicates resolve to the
// first slot: keyboard usage 0x48 is Pause (never Break), 0xE5 is 0x036.
KeyCode UsageToKeyCode(uint16_t page, uint16_t usage);

} // namespace kovantis
