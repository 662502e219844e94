#pragma once
// The keyboard holds three on-board profiles; key banks, lighting blocks, keymaps and colour
// tables all come in this number.

namespace kovantis {

inline constexpr int kProfileCount = 3;

} // namespace kovantis
