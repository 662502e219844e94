#pragma once
// Comma-separated decimal numbers, the value form of the mode files ("255,0,0,1").

#include <array>
#include <cstddef>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace kovantis {

std::u16string FormatDecimalList(std::initializer_list<int> values);

// Fills `out` from exactly out.size() numbers separated by commas (blanks around them allowed,
// an optional leading '-'); false when the text has fewer or more numbers or anything else.
bool ParseDecimalList(std::u16string_view text, std::span<int> out);

} // namespace kovantis
