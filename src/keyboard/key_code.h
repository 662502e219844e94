#pragma once
// The one value every key is named by: the set-1 make code, plus 0x100 for keys whose make code
// carries the E0 prefix. Pause is 0x045 and Num Lock 0x145 (the way the desktop reports them),
// Print Screen 0x137, Ctrl+Break 0x146. 0 is no key.

#include <cstdint>

namespace kovantis {

using KeyCode = uint16_t;

inline constexpr int kKeySlotCount = 256;
inline constexpr KeyCode kExtendedKeyFlag = 0x100;

// E0 codes 0x100 to 0x17F share the table with the plain codes: they occupy slots 0x80 to 0xFF,
// which plain make codes never use.
constexpr int SlotOf(KeyCode code)
{
    return code < 0x100 ? code : ((code - 0x80) & 0xFF);
}

constexpr KeyCode KeyCodeOfSlot(int slot)
{
    return static_cast<KeyCode>(slot < 0x80 ? slot : slot + 0x80);
}

// Codes the program's rules single out.
namespace keys {
inline constexpr KeyCode kCtrl = 0x01D;
inline constexpr KeyCode kShift = 0x02A;
inline constexpr KeyCode kAlt = 0x038;
inline constexpr KeyCode kWin = 0x15B;
inline constexpr KeyCode kRightCtrl = 0x11D;
inline constexpr KeyCode kRightShift = 0x036;
inline constexpr KeyCode kRightAlt = 0x138;
inline constexpr KeyCode kRightWin = 0x15C;
inline constexpr KeyCode kApp = 0x15D;
inline constexpr KeyCode kPause = 0x045;
inline constexpr KeyCode kNumLock = 0x145;
inline constexpr KeyCode kPrintScreen = 0x137;
inline constexpr KeyCode kSysReq = 0x054;
inline constexpr KeyCode kBreak = 0x146;
} // namespace keys

} // namespace kovantis
