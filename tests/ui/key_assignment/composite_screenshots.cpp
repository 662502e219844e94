// Draws the three key pages of the key assignment dialog into PNG files, with the default skin
// and the shipped English texts, for the documentation (scripts/screenshot).
//   composite_screenshots BIN_DIR OUTPUT_DIR

#include <QApplication>

#include <filesystem>
#include <iostream>

#include "dialog_screenshots.h"

int main(int argc, char** argv)
{
    using namespace kovantis;
    if (argc != 3) {
        std::cerr << "usage: composite_screenshots BIN_DIR OUTPUT_DIR\n";
        return 2;
    }
    QApplication application(argc, argv);
    const std::filesystem::path out = argv[2];
    screenshots::DialogForPictures pictures("composite_screenshots", argv[1]);
    if (!pictures.Prepare())
        return 1;
    struct Shot {
        const char* file;
        KeyAssignment record;
    };
    const Shot shots[] = {
        {"key-page-single.png", MakeAssignment(AssignmentKind::Key, 0x15B)},
        {"key-page-media.png", MakeAssignment(AssignmentKind::Media, 6)},
        {"key-page-function.png", MakeAssignment(AssignmentKind::Function, 4)},
    };
    int failures = 0;
    for (const Shot& shot : shots) {
        pictures.Store().record = shot.record;
        pictures.Dialog().OpenForKey(0x1E, 1058, QRect(40, 40, 40, 40));
        failures += pictures.Shoot(out / shot.file) ? 0 : 1;
        pictures.Dialog().PressCancel();
    }
    return failures == 0 ? 0 : 1;
}
