#pragma once
// Display names of key codes. Most are fixed; the media functions, the function actions and the
// text for an unknown code come from the language table and change when it reloads.

#include <cstdint>
#include <string>
#include <string_view>

#include "keyboard/function_action.h"
#include "keyboard/key_code.h"
#include "keyboard/media_function.h"
#include "ports/text_source.h"

namespace kovantis {

// A key name is at most 259 characters, the rest is cut off.
inline constexpr size_t kKeyNameMaxChars = 259;

class KeyNames {
public:
    KeyNames();  // the built-in texts, until Load

    // Refills the run-time names from the current language (MEDIA_*, FUNC_KEY_DESC*, UNKNOWN_KEY).
    void Load(const TextSource& texts);

    // The slot's name; for an empty slot the unknown-key text with the code, "Unknown Key: 154".
    std::u16string KeyNameOf(KeyCode code) const;

    // Empty for an index outside the list.
    std::u16string_view MediaFunctionName(int index) const { return media_.Name(index); }
    std::u16string_view FunctionActionName(int index) const { return functions_.Name(index); }

private:
    MediaFunctionNames media_;
    FunctionActionNames functions_;
    std::u16string unknownFormat_;
};

// Applies the unknown-key text to a code. The text comes from a language file, so it is never
// handed to printf: its first %x-style conversion (%x, %X, %03x, ...) takes the code in
// hexadecimal, "%%" is a percent sign, and anything else is kept as written.
std::u16string FormatUnknownKey(std::u16string_view format, uint32_t code);

} // namespace kovantis
