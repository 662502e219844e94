// Any text from the language file as a message format, with the arguments the program passes
// (numbers, a path): FormatText never reads an argument that is not there, never reads or
// writes out of bounds, and a text without '%' comes back unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/text_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kovantis;
    std::u16string format(size / 2, u'\0');
    for (size_t i = 0; i < format.size(); ++i)
        format[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
    const std::u16string path = u"/home/user/Documents/Kovantis_09A/$Profile0";
    FormatText(format, {});
    FormatText(format, {std::u16string_view(path)});
    FormatText(format, {-1LL, std::u16string_view(path), 4294967296LL});
    const std::u16string plain = FormatText(format, {42LL});
    if (format.find(u'%') == std::u16string::npos && plain != format)
        std::abort();
    return 0;
}
