#pragma once
// The factory keymap the program assumes until the keyboard has reported its own: which key
// sits at each of the 126 keymap positions of the usual model.

#include <cstdint>
#include <span>

#include "keyboard/keymap.h"

namespace kovantis {

// The compiled-in layout, 126 entries of 3 bytes.
const DefaultLayout& CompiledDefaultLayout();
std::span<const uint8_t, kKeymapSize> DefaultLayoutBytes();

} // namespace kovantis
