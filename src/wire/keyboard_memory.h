#pragma once
// The keyboard's memory as the command set addresses it: the settings block, the lighting and
// report-rate record of each profile, the per-key colour area, the keymaps and the macro area.
// Shared by the program, the device library and the virtual keyboard, so that all three agree
// on every size and offset.

#include "wire/command_report.h"
#include "wire/profile_count.h"

namespace kovantis {

// The settings block (commands 0x03 and 0x04).
inline constexpr int kSettingsBlockSize = 44;
inline constexpr int kSettingsActiveProfile = 10;
inline constexpr int kSettingsMacroSpace = 11;  // macro area size in units of kMacroSpaceUnit
inline constexpr int kSettingsEffectList = 12;  // kEffectListSize effect numbers
inline constexpr int kEffectListSize = 32;
inline constexpr int kMacroSpaceUnit = 128;
static_assert(kSettingsEffectList + kEffectListSize == kSettingsBlockSize);

// One profile's lighting and report-rate record (commands 0x05 and 0x06), at profile * 42.
inline constexpr int kProfileRecordSize = 42;

// Per-key colours (command 0x11): one area per profile, at profile * 512, three bytes per
// matrix position.
inline constexpr int kKeyColourProfileStride = 512;

// A keymap (commands 0x07, 0x08, 0x0F): one three-byte action per position of the 6 x 21 key
// matrix.
inline constexpr int kKeymapPositions = 126;
inline constexpr int kKeymapEntrySize = 3;
inline constexpr int kKeymapSize = kKeymapPositions * kKeymapEntrySize;
static_assert(kKeymapSize == 378);
static_assert(kKeymapPositions * 3 <= kKeyColourProfileStride);

inline constexpr int kReportDataSize = static_cast<int>(kMaxDataLength);

} // namespace kovantis
