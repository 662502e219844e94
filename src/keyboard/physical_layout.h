#pragma once
// Where the keyboard's keys are: their position in its 6 x 21 key matrix (which indexes the
// per-key colours), the main-window button that shows each one, and its skin key.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "keyboard/key_code.h"

namespace kovantis {

inline constexpr int kMatrixRows = 6;
inline constexpr int kMatrixColumns = 21;
inline constexpr int kMatrixSize = kMatrixRows * kMatrixColumns;
inline constexpr int kKeyListSize = 104;

inline constexpr int kFnMatrixIndex = 110;
inline constexpr int kFnControlId = 1174;
inline constexpr std::string_view kFnSkinKey = "KEY_FN";

inline constexpr int kGKeyCount = 9;
inline constexpr int kGKeyMatrixIndex = 125;  // all G keys share one colour position

struct PhysicalKey {
    KeyCode code;
    int matrixIndex;
    int controlId;
};

// The 104 keys with a code, in the order they are visited wherever all key buttons are: the
// picker order from A to Caps Lock, then the modifiers, then the keypad.
std::span<const PhysicalKey, kKeyListSize> KeyList();

// nullptr when the keyboard has no such key or button. Fn and the G keys are not in the list.
const PhysicalKey* PhysicalKeyOfCode(KeyCode code);
const PhysicalKey* PhysicalKeyOfControl(int controlId);

// G buttons give 125, Fn 110, any other id that is no key button 0.
int MatrixIndexOfControl(int controlId);

// 0 for G buttons, Fn and ids that are no key button.
KeyCode KeyCodeOfControl(int controlId);

// G key g is 0 to 8 for G1 to G9.
int GKeyControlId(int g);
std::optional<int> GKeyOfControl(int controlId);

// Skin keys of the button rectangles: "KEY_%03X" with the key's slot, "FUNC_G%d" with 1 to 9.
std::string SkinKeyOf(KeyCode code);
std::string GKeySkinKey(int g);

} // namespace kovantis
