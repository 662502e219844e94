#pragma once
// What a key button says about its key's assignment: its tooltip text and its assigned mark.

#include <cstdint>
#include <functional>
#include <string>

#include "keyboard/key_assignment.h"
#include "keyboard/key_code.h"
#include "keyboard/key_names.h"
#include "ports/text_source.h"

namespace kovantis {

// The name of the first macro in the store with this id; empty when there is none.
using MacroNameLookup = std::function<std::u16string(uint32_t macroId)>;

// The key a button shows: a key of the key list, or G key g (0 to 8 for G1 to G9).
struct AssignedKey {
    KeyCode code = 0;
    int gKey = -1;

    static constexpr AssignedKey Key(KeyCode code) { return {code, -1}; }
    static constexpr AssignedKey G(int g) { return {0, g}; }
};

struct AssignmentTextResult {
    std::u16string text;  // at most 259 characters
    bool assigned = false;
};

// "A" for a key doing its default; "A" + "Keys, Set: " + "Key(" + "B" + ")" for A sending B,
// and so on by kind. The prompts are read from `texts` now (KEY_PROMPT_SET, KEY_PROMPT_SINGLE,
// KEY_PROMPT_MACRO, KEY_PROMPT_MEDIA, KEY_PROMPT_FUNCTION), names from `names`.
AssignmentTextResult AssignmentText(AssignedKey key, const KeyAssignment& record, const KeyNames& names,
                                    const TextSource& texts, const MacroNameLookup& macroNameOf);

} // namespace kovantis
