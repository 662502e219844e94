#pragma once
// The matrix indexes of the keys on the board: the 104 main keys and Fn (the G keys share
// index 125 and have no place of their own).

#include <cstdint>
#include <span>

namespace kovantis {

std::span<const int16_t> BoardKeys();

} // namespace kovantis
