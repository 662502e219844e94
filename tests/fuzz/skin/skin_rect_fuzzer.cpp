// Rectangles and whole skin files from arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "skin/skin_file.h"
#include "skin/skin_rect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::u16string wide;
    for (size_t i = 0; i + 1 < size; i += 2) {
        wide.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    }
    const kovantis::SkinRect rect = kovantis::ParseSkinRect(wide);
    if (rect.w < 0 || rect.h < 0 || rect.x > 32767 || rect.x < -32767) {
        __builtin_trap();
    }
    const kovantis::SkinFile skin = kovantis::SkinFile::FromDocument(kovantis::IniDocument::Parse(bytes), "Skins/Main.ini");
    (void)skin.Rect("CONTROL_OK");
    (void)skin.PictureOrigin("UP_ARROW_LEFT1");
    (void)skin.MaskPath();
    return 0;
}
