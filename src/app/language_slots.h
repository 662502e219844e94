#pragma once
// The fixed slots of the language table, in load order, with the text each holds before the
// first load. Every user-visible message the program shows is one of these or another key of
// the chosen language section (see LanguageTable).

#include <cstddef>
#include <span>
#include <string_view>

namespace kovantis {

struct LanguageSlot {
    std::string_view key;
    std::u16string_view builtin;
    // How many characters the slot was made to hold. Texts are kept whole whatever their
    // length; the figure tells translators how much room a message has.
    std::size_t limit;
};

inline constexpr std::size_t kLanguageSlotCount = 86;

std::span<const LanguageSlot, kLanguageSlotCount> LanguageSlots();

// The slot of a key (exact spelling), or nullptr for a key that is not a slot.
const LanguageSlot* FindLanguageSlot(std::string_view key);

} // namespace kovantis
