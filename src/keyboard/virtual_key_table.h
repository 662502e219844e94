#pragma once
// From the desktop's virtual-key code to the key slot it names; 0 is none.

#include <array>
#include <cstdint>

namespace kovantis {

using VirtualKeyTableEntries = std::array<uint8_t, 256>;

// Each VK gives the first slot, in slot order, whose primary VK equals it, except where the
// desktop's meaning differs: the side-less modifiers give the left keys, VK_SNAPSHOT gives
// Print Screen (not Sys Req), the zoom and office VKs give the E0 slots the desktop reports for
// them, and mouse buttons, pseudo keys and 0xFF give none.
const VirtualKeyTableEntries& VirtualKeyTable();

} // namespace kovantis
