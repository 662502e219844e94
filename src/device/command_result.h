#pragma once
// What a command result means, in words a user can act on, and which results say that the
// keyboard itself is gone or silent (no point in sending it anything else now).

#include <string>
#include <string_view>

namespace kovantis {

class TextSource;

// The cause of a failed command: "the keyboard refused it (status 0xFF)", "the keyboard did not
// answer", "the keyboard is not connected", ... Taken from the language table (DEVICE_RESULT_*)
// when it has the text, else these English words.
std::u16string DescribeCommandResult(int result, const TextSource& texts);
std::string DescribeCommandResult(int result);

// Refusals come from a keyboard that is there and listening; 0 and -1 mean it is gone, -2 that
// it did not answer.
bool KeyboardRefused(int result);
bool KeyboardGoneOrSilent(int result);

} // namespace kovantis
