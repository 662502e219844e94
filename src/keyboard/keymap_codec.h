#pragma once
// Between a profile's bank of records and the keyboard's keymap. The program holds no list of
// which key sits at which keymap position: it decodes the factory layout's action there.

#include <cstdint>
#include <functional>

#include "keyboard/bank.h"
#include "keyboard/device_key_action.h"
#include "keyboard/key_code.h"
#include "keyboard/keymap.h"

namespace kovantis {

// Maps a macro id to the 0-based position of that macro in the macro store; 0 when no macro
// has the id.
using MacroPositionLookup = std::function<int(uint32_t macroId)>;

// The key a factory action names; 0 for actions that name none (05 00 00 and the like).
KeyCode DecodeDeviceAction(DeviceKeyAction action);

// The action the keyboard gets for one record at a position whose factory action is
// `defaultAction`. A record the keyboard cannot perform keeps the position's default: kinds 0
// and 3, and a damaged record (kind outside 0 to 8, media index outside the list).
DeviceKeyAction EncodeAssignment(const KeyAssignment& record, DeviceKeyAction defaultAction,
                                 const MacroPositionLookup& macroPositionOf);

// Every position whose factory action names a key takes the action of that key's record; the
// others, and G-key records, never change.
Keymap EncodeKeymap(BankView bank, KeymapView defaultLayout, const MacroPositionLookup& macroPositionOf);

// The records a keymap read back from the keyboard stands for: positions equal to their
// default stay kind 0, the others become what their action says, Disabled if it says nothing
// the program knows. Macro position n becomes macro id n + 1.
Bank DecodeKeymap(KeymapView keymap, KeymapView defaultLayout);

} // namespace kovantis
