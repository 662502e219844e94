#include "cli/people_units.h"

#include <algorithm>
#include <charconv>

namespace kovantis::cli {

std::optional<long> ParseDecimal(std::string_view text, long low, long high)
{
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<int> ParseProfileNumber(std::string_view text)
{
    const std::optional<long> number = ParseDecimal(text, 1, 3);
    if (!number)
        return std::nullopt;
    return static_cast<int>(*number) - 1;
}

std::optional<int> ParseReportRate(std::string_view text)
{
    if (text.size() > 2) {
        const std::string_view tail = text.substr(text.size() - 2);
        if (tail == "Hz" || tail == "hz" || tail == "HZ") {
            text.remove_suffix(2);
            while (!text.empty() && text.back() == ' ')
                text.remove_suffix(1);
        }
    }
    const std::optional<long> hz = ParseDecimal(text, 1, 100000);
    if (!hz)
        return std::nullopt;
    const auto found = std::find(kReportRatesHz.begin(), kReportRatesHz.end(), static_cast<int>(*hz));
    if (found == kReportRatesHz.end())
        return std::nullopt;
    return static_cast<int>(found - kReportRatesHz.begin());
}

int ReportRateHzOf(int choice)
{
    return kReportRatesHz[static_cast<size_t>(std::clamp(choice, 0, static_cast<int>(kReportRatesHz.size()) - 1))];
}

} // namespace kovantis::cli
