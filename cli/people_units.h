#pragma once
// Numbers as people use them on the command line and in its output: profiles 1 to 3 (the
// keyboard counts 0 to 2), the report rate in Hz (the keyboard keeps a choice 0 to 3).

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kovantis::cli {

// "1" to "3" → the keyboard's profile index 0 to 2.
std::optional<int> ParseProfileNumber(std::string_view text);
// The keyboard's profile index → the number people see.
inline int ProfileNumberOf(int index) { return index + 1; }

// The report rates the keyboard offers, by the keyboard's choice 0 to 3.
inline constexpr std::array<int, 4> kReportRatesHz{125, 250, 500, 1000};
// "125", "250", "500", "1000", optionally followed by "Hz" → the keyboard's choice.
std::optional<int> ParseReportRate(std::string_view text);
// The keyboard's choice → Hz (a choice above 3 is shown as 3, as the keyboard's panel does).
int ReportRateHzOf(int choice);

// A decimal number within [low, high]; nothing else.
std::optional<long> ParseDecimal(std::string_view text, long low, long high);

} // namespace kovantis::cli
