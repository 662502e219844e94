#pragma once
// The editing commands the keyboard performs itself for a Function assignment; the program
// stores only the index and never knows which keystrokes the keyboard sends for them.

#include "keyboard/name_buffers.h"

namespace kovantis {

inline constexpr int kFunctionActionCount = 11;

// Display names from FUNC_KEY_DESC1 to FUNC_KEY_DESC11, English until the language table loads.
class FunctionActionNames : public NameBuffers<kFunctionActionCount> {
public:
    FunctionActionNames();
};

} // namespace kovantis
