#pragma once
// The keyboard's own shape of a profile's key assignments: 126 three-byte actions, one per key
// position, position k at bytes 3k to 3k + 2. The factory keymap (`DefaultLayout`) has the
// same shape and tells which key sits at each position.

#include <array>
#include <cstdint>
#include <span>

#include "keyboard/device_key_action.h"
#include "wire/keyboard_memory.h"

namespace kovantis {


using Keymap = std::array<uint8_t, kKeymapSize>;
using DefaultLayout = Keymap;

using KeymapView = std::span<const uint8_t, kKeymapSize>;

inline DeviceKeyAction ActionAt(KeymapView keymap, int position)
{
    return DeviceKeyAction::FromBytes(keymap.subspan(static_cast<size_t>(position) * 3).first<3>());
}

inline void SetActionAt(std::span<uint8_t, kKeymapSize> keymap, int position, DeviceKeyAction action)
{
    action.ToBytes(keymap.subspan(static_cast<size_t>(position) * 3).first<3>());
}

} // namespace kovantis
