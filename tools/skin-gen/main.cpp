// skin-gen: draws the default skin of the program (pictures and skin files) and its icons.
//   skin-gen SKIN_FOLDER ICON_FOLDER
#include <cstdio>
#include <filesystem>
#include <string>

#include <QGuiApplication>

#include "dialog_skins.h"
#include "main_skin.h"
#include "panel_pictures.h"

namespace {

std::string WithSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: skin-gen SKIN_FOLDER ICON_FOLDER\n");
        return 2;
    }
    // Drawing needs fonts but no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const std::string skins = WithSlash(argv[1]);
    const std::string icons = WithSlash(argv[2]);
    std::error_code error;
    std::filesystem::create_directories(skins, error);
    std::filesystem::create_directories(icons, error);

    bool ok = skingen::WriteMainSkin(skins);
    ok = skingen::WriteCompositeSkin(skins) && ok;
    ok = skingen::WriteProfileSkin(skins) && ok;
    ok = skingen::WriteUpdateSkin(skins) && ok;
    ok = skingen::WritePanelPictures(skins) && ok;
    ok = skingen::WriteIcons(skins, icons) && ok;
    if (!ok) {
        std::fprintf(stderr, "skin-gen: could not write every file into %s\n", skins.c_str());
        return 1;
    }
    return 0;
}
