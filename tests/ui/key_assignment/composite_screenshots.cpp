// Draws the three key pages of the key assignment dialog into PNG files, with the default skin
// and the shipped English texts, for the documentation (scripts/screenshot).
//   composite_screenshots BIN_DIR OUTPUT_DIR

#include <QApplication>
#include <QPixmap>

#include <filesystem>
#include <iostream>
#include <string>

#include "app/language_table.h"
#include "keyboard/bank.h"
#include "keyboard/key_assignment_dialog_model.h"
#include "keyboard/key_names.h"
#include "ui/key_assignment/kovantis_dlg_composite.h"

namespace {

using namespace kovantis;

class OneRecord final : public AssignmentRecordStore {
public:
    KeyAssignment ReadRecord(int) override { return record; }
    bool WriteRecord(int, const KeyAssignment& value, bool) override
    {
        record = value;
        return true;
    }
    KeyAssignment record;
};

class NoProcesses final : public ProcessStarter {
public:
    bool StartDetached(const std::string&, const std::vector<std::string>&, const std::string&) override { return false; }
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: composite_screenshots BIN_DIR OUTPUT_DIR\n";
        return 2;
    }
    QApplication application(argc, argv);
    const std::filesystem::path bin = argv[1];
    const std::filesystem::path out = argv[2];
    LanguageTable language(bin / "Skins" / "language.ini", out / "no-overlay.ini");
    language.Load();
    KeyNames names;
    names.Load(language);
    OneRecord store;
    NoProcesses processes;
    KeyAssignmentDialogModel model(store);
    Kovantis_DlgComposite dialog(CompositeSetup{(bin / "Skins" / "Composite.ini").string(), names, language, model,
                                                processes, std::string()});
    if (!dialog.Prepare()) {
        std::cerr << "composite_screenshots: the skin in " << bin << " is incomplete\n";
        return 1;
    }
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
        store.record = shot.record;
        dialog.OpenForKey(0x1E, 1058, QRect(40, 40, 40, 40));
        for (int i = 0; i < 10; ++i)
            QApplication::processEvents();
        const std::string path = (out / shot.file).string();
        if (!dialog.grab().save(QString::fromStdString(path))) {
            std::cerr << "composite_screenshots: cannot write " << path << '\n';
            ++failures;
        }
        dialog.PressCancel();
    }
    return failures == 0 ? 0 : 1;
}
