// Any bytes as an INI file: parsing, lookups and a write never misbehave, and a value written
// always reads back as written (line breaks become blanks).

#include "platform/ini_file.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kovantis::IniDocument document = kovantis::IniDocument::Parse(bytes);

    // The first line names what to look up and write: section, key and value split by '|'.
    const std::string_view first = bytes.substr(0, bytes.find('\n'));
    const std::size_t bar = first.find('|');
    const std::size_t bar2 = first.find('|', bar == std::string_view::npos ? 0 : bar + 1);
    const std::u16string section = kovantis::Utf8ToUtf16(first.substr(0, bar));
    const std::u16string key = kovantis::Utf8ToUtf16(
        bar == std::string_view::npos ? std::string_view{} : first.substr(bar + 1, bar2 - bar - 1));
    std::u16string value = kovantis::Utf8ToUtf16(
        bar2 == std::string_view::npos ? std::string_view{} : first.substr(bar2 + 1));

    document.Read(section, key, u"fallback");
    document.HasSection(section);
    for (const std::u16string& name : document.Keys(section)) {
        document.Find(section, name);
    }
    if (!kovantis::IniDocument::CanWrite(section, key)) {
        return 0;
    }
    document.Write(section, key, value);
    const kovantis::IniDocument reread = kovantis::IniDocument::Parse(document.Serialize());
    for (char16_t& unit : value) {
        if (unit == u'\r' || unit == u'\n') {
            unit = u' ';
        }
    }
    if (reread.Find(section, key) != value) {
        __builtin_trap();
    }
    return 0;
}
