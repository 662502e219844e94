#pragma once
// The keymap the keyboard leaves the factory with, as its firmware holds it: what each of the
// 126 keymap positions does before the user assigns anything. It is the keyboard's own table,
// kept apart from the program's compiled-in fallback, so that the tests can hold the two
// against each other.

#include <array>
#include <cstdint>

#include "wire/keyboard_memory.h"

namespace kovantis::vkbd {

const std::array<uint8_t, kKeymapSize>& FactoryKeymapBytes();

} // namespace kovantis::vkbd
