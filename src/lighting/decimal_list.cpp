#include "lighting/decimal_list.h"

namespace kovantis {

std::u16string FormatDecimalList(std::initializer_list<int> values)
{
    std::u16string text;
    bool first = true;
    for (int v : values) {
        if (!first) {
            text.push_back(u',');
        }
        first = false;
        for (char c : std::to_string(v)) {
            text.push_back(static_cast<char16_t>(c));
        }
    }
    return text;
}

namespace {

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}

} // namespace

bool ParseDecimalList(std::u16string_view text, std::span<int> out)
{
    size_t pos = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        while (pos < text.size() && IsBlank(text[pos])) {
            ++pos;
        }
        bool negative = false;
        if (pos < text.size() && text[pos] == u'-') {
            negative = true;
            ++pos;
        }
        long value = 0;
        size_t digits = 0;
        while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
            if (value < 100000000) {
                value = value * 10 + (text[pos] - u'0');
            }
            ++pos;
            ++digits;
        }
        if (digits == 0) {
            return false;
        }
        while (pos < text.size() && IsBlank(text[pos])) {
            ++pos;
        }
        const bool last = i + 1 == out.size();
        if (!last) {
            if (pos >= text.size() || text[pos] != u',') {
                return false;
            }
            ++pos;
        }
        out[i] = static_cast<int>(negative ? -value : value);
    }
    return pos == text.size();
}

} // namespace kovantis
