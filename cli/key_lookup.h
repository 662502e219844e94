#pragma once
// The keys of the keyboard by the names the program shows ("A", "Page Up", "Num 1", "Fn"), for
// `kovantis-cli keys` and for commands that take a key.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "keyboard/key_code.h"

namespace kovantis::cli {

struct ListedKey {
    std::string name;     // as the program shows it
    KeyCode code = 0;     // 0 for Fn, which sends nothing of its own
    int matrixIndex = 0;  // its place in the per-key colours
    int controlId = 0;    // its picture on the main window
};

// Every key of the keyboard with a name, in the keyboard's order, then Fn.
const std::vector<ListedKey>& ListedKeys();

// The key a name stands for: as listed, in any letter case, with or without its spaces.
std::optional<ListedKey> FindKey(std::string_view name);

} // namespace kovantis::cli
