#pragma once
// The texts of LaunchProgram and TextBlock assignments, one entry per global record number
// (512 x bank + record), with the running total the profile file's string area is sized by.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "keyboard/bank.h"

namespace kovantis {

class AssignmentStrings {
public:
    // Replaces the entry's text; the text ends at its first NUL, as it will in a file. False
    // (and nothing changed) for a number outside 0 to 2047.
    bool Set(int global, std::u16string_view text);
    // Frees the entry's text and takes it off the total.
    void Release(int global);
    void ReleaseAll();

    // None when the entry has no text.
    std::optional<std::u16string_view> Text(int global) const;
    // Bytes of the text with its terminator; 0 when there is no text.
    size_t Length(int global) const;
    // Sum of all lengths.
    size_t Total() const { return total_; }

private:
    static bool InRange(int global) { return global >= 0 && global < kGlobalRecordCount; }

    std::array<std::optional<std::u16string>, kGlobalRecordCount> entries_;
    size_t total_ = 0;
};

} // namespace kovantis
