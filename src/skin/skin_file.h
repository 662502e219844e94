#pragma once
// One window's skin file (Main.ini, Profile.ini, Composite.ini, UpdateDlg.ini): its background
// and mask pictures, the rectangle of every control, and the few texts the main window keeps
// there (link address, effect names, lighting labels). Pictures live beside the skin file.

#include <string>
#include <string_view>

#include "platform/ini_file.h"
#include "skin/skin_rect.h"

namespace kovantis {

class SkinFile {
public:
    // Reads the file at once. A file that cannot be read behaves as an empty one: every control
    // is absent and the window has no background, which start-up treats as a missing picture.
    static SkinFile Open(const std::string& path);
    static SkinFile FromDocument(IniDocument document, const std::string& path);

    const std::string& Path() const { return path_; }
    // The folder of the skin file, with a trailing '/', or empty for a bare file name.
    const std::string& Folder() const { return folder_; }
    bool WasRead() const { return wasRead_; }

    // SCREEN/Main and SCREEN/Mask (Mask defaults to Main) as paths beside the skin file;
    // empty when the skin names no background.
    std::string BackgroundPath() const;
    std::string MaskPath() const;
    // SCREEN/Link, empty when missing.
    std::u16string Link() const;

    // BUTTONINFO rectangle of a control; absent ("1,1,1,1,x") when the key is missing.
    SkinRect Rect(std::string_view key) const;
    // BUTTONINFO2: the picture origin of a control whose picture lies elsewhere.
    SkinRect PictureOrigin(std::string_view key) const;

    std::u16string Text(std::string_view section, std::string_view key, std::u16string_view fallback) const;
    // A picture beside the skin file (or in a folder below it); empty for a name that would lead
    // out of the skin's folder.
    std::string PicturePath(std::string_view fileName) const;

private:
    SkinFile(IniDocument document, const std::string& path, bool wasRead);
    SkinRect RectIn(std::string_view section, std::string_view key) const;

    IniDocument document_;
    std::string path_;
    std::string folder_;
    bool wasRead_ = false;
};

// Folder part of a path, with its trailing '/'.
std::string FolderOf(const std::string& path);

} // namespace kovantis
