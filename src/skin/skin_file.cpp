#include "skin/skin_file.h"

#include <algorithm>

#include <optional>
#include <utility>

namespace kovantis {
namespace {

std::u16string Widen(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

} // namespace

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

SkinFile::SkinFile(IniDocument document, const std::string& path, bool wasRead)
    : document_(std::move(document)), path_(path), folder_(FolderOf(path)), wasRead_(wasRead) {}

SkinFile SkinFile::Open(const std::string& path)
{
    std::optional<IniDocument> document = IniDocument::Load(path);
    const bool wasRead = document.has_value();
    return SkinFile(wasRead ? std::move(*document) : IniDocument(), path, wasRead);
}

SkinFile SkinFile::FromDocument(IniDocument document, const std::string& path)
{
    return SkinFile(std::move(document), path, true);
}

std::string SkinFile::BackgroundPath() const
{
    const std::u16string name = document_.Read(u"SCREEN", u"Main", u"");
    return name.empty() ? std::string() : PicturePath(Utf16ToUtf8(name));
}

std::string SkinFile::MaskPath() const
{
    const std::u16string main = document_.Read(u"SCREEN", u"Main", u"");
    const std::u16string name = document_.Read(u"SCREEN", u"Mask", main);
    return name.empty() ? std::string() : PicturePath(Utf16ToUtf8(name));
}

std::u16string SkinFile::Link() const { return document_.Read(u"SCREEN", u"Link", u""); }

SkinRect SkinFile::Rect(std::string_view key) const { return RectIn("BUTTONINFO", key); }

SkinRect SkinFile::PictureOrigin(std::string_view key) const { return RectIn("BUTTONINFO2", key); }

SkinRect SkinFile::RectIn(std::string_view section, std::string_view key) const
{
    return ParseSkinRect(document_.Read(Widen(section), Widen(key), kAbsentRectValue));
}

std::u16string SkinFile::Text(std::string_view section, std::string_view key, std::u16string_view fallback) const
{
    return document_.Read(Widen(section), Widen(key), fallback);
}

std::string SkinFile::PicturePath(std::string_view fileName) const
{
    // Skin files are plain text anyone can edit: a picture name never leads out of the skin's
    // folder (no absolute path, no "..").
    if (fileName.empty() || fileName.front() == '/') {
        return {};
    }
    for (size_t start = 0; start <= fileName.size();) {
        const size_t end = std::min(fileName.find_first_of("/\\", start), fileName.size());
        if (fileName.substr(start, end - start) == "..") {
            return {};
        }
        start = end + 1;
    }
    return folder_ + std::string(fileName);
}

} // namespace kovantis
