#include "keyboard/default_layout.h"

namespace kovantis {
namespace {

// Keyboard/Keypad page usages by the key they name; modifiers by their bit.
constexpr DeviceKeyAction K(uint8_t usage) { return KeyboardUsageAction(usage); }
constexpr DeviceKeyAction M(uint8_t bit) { return ModifierAction(bit); }
constexpr DeviceKeyAction kNone = NoAction();
constexpr DeviceKeyAction kFixed{5, 0, 0};  // a key with a fixed hardware role

constexpr DeviceKeyAction kLayout[kKeymapPositions] = {
    kFixed, kFixed, kFixed, kFixed, kFixed, kFixed, kNone, kNone,
    // Esc, `, Tab, Caps Lock, Shift, Ctrl
    K(0x29), K(0x35), K(0x2B), K(0x39), M(0x02), M(0x01), kNone, kNone,
    // F1, 1, Q, A, Z, Win
    K(0x3A), K(0x1E), K(0x14), K(0x04), K(0x1D), M(0x08), kNone, kNone,
    // F2, 2, W, S, X, Alt
    K(0x3B), K(0x1F), K(0x1A), K(0x16), K(0x1B), M(0x04), kNone, kNone,
    // F3, 3, E, D, C, Space, Print Screen
    K(0x3C), K(0x20), K(0x08), K(0x07), K(0x06), K(0x2C), K(0x46), kNone,
    // F4, 4, R, F, V, Right Alt, Scroll Lock
    K(0x3D), K(0x21), K(0x15), K(0x09), K(0x19), M(0x40), K(0x47), kNone,
    // F5, 5, T, G, B, a fixed role the program does not name, =
    K(0x3E), K(0x22), K(0x17), K(0x0A), K(0x05), DeviceKeyAction{5, 2, 2}, K(0x2E), kNone,
    // F6, 6, Y, H, N, App, Pause
    K(0x3F), K(0x23), K(0x1C), K(0x0B), K(0x11), K(0x65), K(0x48), kNone,
    // F7, 7, U, J, M, Right Ctrl, Insert
    K(0x40), K(0x24), K(0x18), K(0x0D), K(0x10), M(0x10), K(0x49), kNone,
    // F8, 8, I, K, ",", Left, Home
    K(0x41), K(0x25), K(0x0C), K(0x0E), K(0x36), K(0x50), K(0x4A), kNone,
    // F9, 9, O, L, ".", Down, Page Up
    K(0x42), K(0x26), K(0x12), K(0x0F), K(0x37), K(0x51), K(0x4B), kNone,
    // F10, 0, P, ;, /, Up, Delete
    K(0x43), K(0x27), K(0x13), K(0x33), K(0x38), K(0x52), K(0x4C), kNone,
    // F11, -, [, ', Right Shift, Right, End
    K(0x44), K(0x2D), K(0x2F), K(0x34), M(0x20), K(0x4F), K(0x4D), kNone,
    // F12, =, ], \, Enter, Backspace, Page Down
    K(0x45), K(0x2E), K(0x30), K(0x31), K(0x28), K(0x2A), K(0x4E), kNone,
    // previous track, Num Lock, Num 7, Num 4, Num 1, Num 0, Num -
    ConsumerAction(0x0B6), K(0x53), K(0x5F), K(0x5C), K(0x59), K(0x62), K(0x56), kNone,
    // play/pause, Num /, Num 8, Num 5, Num 2, Num .
    ConsumerAction(0x0CD), K(0x54), K(0x60), K(0x5D), K(0x5A), K(0x63),
};

constexpr DefaultLayout Flatten()
{
    DefaultLayout bytes{};
    for (int k = 0; k < kKeymapPositions; ++k) {
        bytes[3 * k] = kLayout[k].type;
        bytes[3 * k + 1] = kLayout[k].p1;
        bytes[3 * k + 2] = kLayout[k].p2;
    }
    return bytes;
}

constexpr DefaultLayout kCompiled = Flatten();

} // namespace

const DefaultLayout& CompiledDefaultLayout() { return kCompiled; }

std::span<const uint8_t, kKeymapSize> DefaultLayoutBytes() { return kCompiled; }

} // namespace kovantis
