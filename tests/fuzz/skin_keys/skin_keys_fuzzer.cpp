// Any bytes as a skin file: the rectangle of every control the windows look up, their picture
// origins and texts never misbehave, and no picture name leads out of the skin's folder.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "skin/skin_file.h"
#include "skin/skin_keys.h"

namespace {

void CheckInside(const kovantis::SkinFile& skin, const std::string& path)
{
    if (path.empty())
        return;
    if (!path.starts_with(skin.Folder()) || path.find("/../") != std::string::npos || path.ends_with("/.."))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kovantis;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const SkinFile skin = SkinFile::FromDocument(IniDocument::Parse(bytes), "/skins/Main.ini");
    for (const auto& keys : {MainImageKeys(), MainPlainKeys(), MainMovedKeys(), ProfileImageKeys(),
                             ProfilePlainKeys(), CompositeImageKeys(), CompositePlainKeys(), UpdateImageKeys(),
                             UpdatePlainKeys()}) {
        for (std::string_view key : keys) {
            skin.Rect(key);
            skin.PictureOrigin(key);
            skin.Text("EFFECT", key, u"");
        }
    }
    CheckInside(skin, skin.BackgroundPath());
    CheckInside(skin, skin.MaskPath());
    skin.Link();
    return 0;
}
