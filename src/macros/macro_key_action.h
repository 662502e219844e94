#pragma once
// The key of a macro step as the keyboard names it: the same three-byte action the keymap uses
// (usage class, then two bytes), so a step's key and a key assignment are encoded alike.

#include "keyboard/device_key_action.h"
#include "keyboard/key_code.h"

namespace kovantis {

// Keyboard page: class 2 with 01 bit for the eight modifiers, 02 usage for any other key;
// consumer and generic-desktop pages: class 3 / 4 with the 16-bit usage; no usage: all zero.
DeviceKeyAction MacroKeyActionOf(KeyCode key);
// The key named by a decoded step's action; 0 when it names none.
KeyCode MacroKeyCodeOf(DeviceKeyAction action);

} // namespace kovantis
