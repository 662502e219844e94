#include "keyboard/key_names.h"

#include "keyboard/key_table.h"

namespace kovantis {
namespace {

constexpr std::u16string_view kBuiltInUnknownKey = u"Unknown Key: %03x";
constexpr size_t kMaxWidth = 16;

std::u16string Hex(uint32_t value, size_t width, char16_t pad, bool upper)
{
    const char16_t* digits = upper ? u"0123456789ABCDEF" : u"0123456789abcdef";
    std::u16string text;
    do {
        text.insert(text.begin(), digits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    if (text.size() < width) text.insert(0, width - text.size(), pad);
    return text;
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

} // namespace

std::u16string FormatUnknownKey(std::u16string_view format, uint32_t code)
{
    std::u16string out;
    bool used = false;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != u'%') {
            out += format[i];
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == u'%') {
            out += u'%';
            ++i;
            continue;
        }
        size_t j = i + 1;
        const char16_t pad = j < format.size() && format[j] == u'0' ? u'0' : u' ';
        size_t width = 0;
        while (j < format.size() && IsDigit(format[j]) && width <= kMaxWidth) width = width * 10 + (format[j++] - u'0');
        const bool isHex = j < format.size() && (format[j] == u'x' || format[j] == u'X');
        if (used || !isHex || width > kMaxWidth) {
            out += format[i];
            continue;
        }
        out += Hex(code, width, pad, format[j] == u'X');
        used = true;
        i = j;
    }
    return out;
}

KeyNames::KeyNames() : unknownFormat_(kBuiltInUnknownKey) {}

void KeyNames::Load(const TextSource& texts)
{
    media_.Load(texts);
    functions_.Load(texts);
    unknownFormat_ = texts.Text("UNKNOWN_KEY");
}

std::u16string KeyNames::KeyNameOf(KeyCode code) const
{
    std::u16string_view name = KeyTableEntryOf(code).name;
    // A media slot's name is its function's run-time name, whichever code reaches the slot.
    if (const auto media = MediaFunctionOfCode(KeyCodeOfSlot(SlotOf(code)))) name = media_.Name(*media);
    std::u16string text = name.empty() ? FormatUnknownKey(unknownFormat_, code) : std::u16string(name);
    if (text.size() > kKeyNameMaxChars) text.resize(kKeyNameMaxChars);
    return text;
}

} // namespace kovantis
