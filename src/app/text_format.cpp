#include "app/text_format.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace kovantis {
namespace {

// Enough for any sensible message; a width or precision of millions is a broken text.
constexpr std::size_t kMaxField = 256;

struct Directive {
    bool left = false;
    bool zero = false;
    bool plus = false;
    bool space = false;
    bool alternate = false;
    std::size_t width = 0;
    std::optional<std::size_t> precision;
    char16_t conversion = 0;
    std::size_t end = 0;  // index just after the directive
};

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

std::size_t ReadNumber(std::u16string_view text, std::size_t& i)
{
    std::size_t number = 0;
    while (i < text.size() && IsDigit(text[i])) {
        number = std::min(kMaxField, number * 10 + static_cast<std::size_t>(text[i] - u'0'));
        ++i;
    }
    return number;
}

// Parses the directive starting at text[start] == '%'; nullopt when it is not one we know.
std::optional<Directive> ParseDirective(std::u16string_view text, std::size_t start)
{
    Directive directive;
    std::size_t i = start + 1;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'-') {
            directive.left = true;
        } else if (c == u'0') {
            directive.zero = true;
        } else if (c == u'+') {
            directive.plus = true;
        } else if (c == u' ') {
            directive.space = true;
        } else if (c == u'#') {
            directive.alternate = true;
        } else {
            break;
        }
    }
    directive.width = ReadNumber(text, i);
    if (i < text.size() && text[i] == u'.') {
        ++i;
        directive.precision = ReadNumber(text, i);
    }
    if (text.substr(i).starts_with(u"I64") || text.substr(i).starts_with(u"I32")) {
        i += 3;
    }
    constexpr std::u16string_view kLengths = u"hlLqjzt";
    constexpr std::u16string_view kConversions = u"diuxXocsS%";
    while (i < text.size() && kLengths.find(text[i]) != std::u16string_view::npos) {
        ++i;
    }
    if (i >= text.size() || kConversions.find(text[i]) == std::u16string_view::npos) {
        return std::nullopt;
    }
    directive.conversion = text[i];
    directive.end = i + 1;
    return directive;
}

std::u16string Digits(std::uint64_t value, unsigned base, bool upper)
{
    const char16_t* symbols = upper ? u"0123456789ABCDEF" : u"0123456789abcdef";
    std::u16string digits;
    do {
        digits.push_back(symbols[value % base]);
        value /= base;
    } while (value != 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

void Pad(std::u16string& out, const Directive& directive, std::u16string_view prefix,
         std::u16string_view body, bool numeric)
{
    const std::size_t length = prefix.size() + body.size();
    const std::size_t fill = directive.width > length ? directive.width - length : 0;
    if (directive.left) {
        out.append(prefix).append(body).append(fill, u' ');
    } else if (directive.zero && numeric && !directive.precision) {
        out.append(prefix).append(fill, u'0').append(body);
    } else {
        out.append(fill, u' ').append(prefix).append(body);
    }
}

void RenderNumber(std::u16string& out, const Directive& directive, long long value)
{
    const char16_t conversion = directive.conversion;
    std::u16string prefix;
    std::u16string body;
    if (conversion == u'd' || conversion == u'i') {
        const std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value)
                                                  : static_cast<std::uint64_t>(value);
        prefix = value < 0 ? u"-" : directive.plus ? u"+" : directive.space ? u" " : u"";
        body = Digits(magnitude, 10, false);
    } else {
        const std::uint64_t bits = value < 0 ? static_cast<std::uint32_t>(value)
                                             : static_cast<std::uint64_t>(value);
        const unsigned base = conversion == u'u' ? 10 : conversion == u'o' ? 8 : 16;
        body = Digits(bits, base, conversion == u'X');
        if (directive.alternate && bits != 0 && base == 16) {
            prefix = conversion == u'X' ? u"0X" : u"0x";
        } else if (directive.alternate && base == 8) {
            prefix = u"0";
        }
    }
    if (directive.precision && body.size() < *directive.precision) {
        body.insert(0, *directive.precision - body.size(), u'0');
    }
    Pad(out, directive, prefix, body, true);
}

void Render(std::u16string& out, const Directive& directive, const FormatArgument& argument)
{
    const char16_t conversion = directive.conversion;
    if (const auto* text = std::get_if<std::u16string_view>(&argument)) {
        std::u16string_view body = *text;
        if (conversion == u'c') {
            body = body.substr(0, 1);
        } else if ((conversion == u's' || conversion == u'S') && directive.precision) {
            body = body.substr(0, *directive.precision);
        }
        Pad(out, directive, {}, body, false);
        return;
    }
    const long long value = std::get<long long>(argument);
    if (conversion == u'c') {
        const char16_t unit =
            (value > 0 && value <= 0xFFFF) ? static_cast<char16_t>(value) : char16_t{0xFFFD};
        Pad(out, directive, {}, std::u16string_view(&unit, 1), false);
        return;
    }
    if (conversion == u's' || conversion == u'S') {
        Directive decimal = directive;
        decimal.conversion = u'd';
        decimal.precision.reset();
        RenderNumber(out, decimal, value);
        return;
    }
    RenderNumber(out, directive, value);
}

} // namespace

std::u16string FormatText(std::u16string_view format,
                          std::initializer_list<FormatArgument> arguments)
{
    std::u16string out;
    out.reserve(format.size());
    auto next = arguments.begin();
    std::size_t i = 0;
    while (i < format.size()) {
        if (format[i] != u'%') {
            out.push_back(format[i++]);
            continue;
        }
        const std::optional<Directive> directive = ParseDirective(format, i);
        if (!directive) {
            out.push_back(format[i++]);
            continue;
        }
        if (directive->conversion == u'%') {
            out.push_back(u'%');
        } else if (next == arguments.end()) {
            out.append(format.substr(i, directive->end - i));
        } else {
            Render(out, *directive, *next++);
        }
        i = directive->end;
    }
    return out;
}

} // namespace kovantis
