#pragma once
// One keymap entry as the keyboard stores it: type, p1, p2.

#include <cstdint>
#include <span>

#include "wire/keyboard_memory.h"

namespace kovantis {

// Action types and sub-types the program writes or reads. Other values occur in factory
// layouts (05 00 00 on keys with a fixed hardware role) and are kept as they are.
enum class DeviceActionType : uint8_t {
    None = 0,
    Keyboard = 2,       // p1 = kKeyboardModifier or kKeyboardUsage
    Consumer = 3,       // p1, p2 = usage, little-endian
    GenericDesktop = 4, // p1, p2 = usage, little-endian
    Macro = 5,          // p1 = kMacroPlay, kMacroStop or kMacroFunction
};

inline constexpr uint8_t kKeyboardModifier = 1;
inline constexpr uint8_t kKeyboardUsage = 2;
inline constexpr uint8_t kMacroPlay = 1;
inline constexpr uint8_t kMacroStop = 2;
inline constexpr uint8_t kMacroFunction = 5;

struct DeviceKeyAction {
    uint8_t type = 0;
    uint8_t p1 = 0;
    uint8_t p2 = 0;

    static constexpr DeviceKeyAction FromBytes(std::span<const uint8_t, 3> b) { return {b[0], b[1], b[2]}; }
    constexpr void ToBytes(std::span<uint8_t, 3> b) const
    {
        b[0] = type;
        b[1] = p1;
        b[2] = p2;
    }
    // The 16-bit usage of a Consumer or Generic Desktop action.
    constexpr uint16_t Usage16() const { return static_cast<uint16_t>(p1 | (p2 << 8)); }
    constexpr bool Is(DeviceActionType t) const { return type == static_cast<uint8_t>(t); }

    friend constexpr bool operator==(const DeviceKeyAction&, const DeviceKeyAction&) = default;
};

constexpr DeviceKeyAction NoAction() { return {}; }
constexpr DeviceKeyAction KeyboardUsageAction(uint8_t usage) { return {2, kKeyboardUsage, usage}; }
constexpr DeviceKeyAction ModifierAction(uint8_t mask) { return {2, kKeyboardModifier, mask}; }
constexpr DeviceKeyAction ConsumerAction(uint16_t usage)
{
    return {3, static_cast<uint8_t>(usage & 0xFF), static_cast<uint8_t>(usage >> 8)};
}
constexpr DeviceKeyAction PlayMacroAction(uint8_t position) { return {5, kMacroPlay, position}; }
constexpr DeviceKeyAction StopMacroAction() { return {5, kMacroStop, 0}; }
constexpr DeviceKeyAction PerformFunctionAction(uint8_t index) { return {5, kMacroFunction, index}; }

} // namespace kovantis
