#pragma once
// What key capture does with one key event while a key (or a macro) is being recorded: let it
// through to the desktop, swallow it, or swallow it and take its key. Shared by the key
// assignment dialog and the macro recorder, independent of both.
//
// The key is named the way the rest of the program names keys: the window system's native scan
// code (the evdev code + 8 on X11 and Wayland) becomes a key message and then a key code through
// KeyCodeFromMessage, so a captured key is exactly the key the key table and the keyboard know.

#include <cstdint>

#include "keyboard/evdev_keys.h"
#include "keyboard/key_code.h"

namespace kovantis {

struct KeyEventFacts {
    uint32_t nativeScanCode = 0;  // 0 when the event did not come from a key
    bool release = false;
    bool autoRepeat = false;
    HeldModifiers held;  // Ctrl turns Pause into Break, Alt turns Print Screen into Sys Req
};

enum class CaptureAction {
    Pass,              // not a key the program can assign, or a media key: the desktop gets it
    Swallow,           // a key the program knows, but a release or a repeat: nothing to take
    SwallowAndCapture, // the first press of a key: take `code`
};

struct CaptureDecision {
    CaptureAction action = CaptureAction::Pass;
    KeyCode code = 0;  // the event's key; 0 when it names none

    friend constexpr bool operator==(const CaptureDecision&, const CaptureDecision&) = default;
};

// Media keys are left to the desktop (the media page assigns them); every other known key is
// kept from the desktop while capturing, so Super, Menu, Print Screen, Enter, Esc and Tab open,
// confirm and move nothing. Print Screen is taken on its release too: some desktops let only
// the release through.
CaptureDecision DecideKeyCapture(const KeyEventFacts& event);

} // namespace kovantis
