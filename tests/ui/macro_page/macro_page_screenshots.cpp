// Draws the macro page of the key assignment dialog into PNG files, with the default skin and
// the shipped English texts, for the documentation (scripts/screenshot): an empty macro list,
// a recording under way, and a macro with its steps.
//   macro_page_screenshots BIN_DIR OUTPUT_DIR

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
#include "ui/key_assignment/macro_page.h"

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

class SilentPrompter final : public Prompter {
public:
    void ShowMessage(const std::u16string&, const std::u16string&) override {}
    bool AskYesNo(const std::u16string&, const std::u16string&) override { return false; }
};

// A macro list in memory and a keyboard with 4 KiB of macro space.
class MemoryHost final : public MacroEditorHost {
public:
    std::vector<MacroRecord> CopyWorkingMacros() override { return macros; }
    bool IsMacroAssigned(const MacroRecord&) override { return false; }
    int CommitMacroList(std::span<const MacroRecord> records) override
    {
        macros.assign(records.begin(), records.end());
        return 1;
    }
    int MacroSpace() const override { return 32 * 128; }
    int ReadRecordDelaySetting() override { return 1; }
    int WriteRecordDelaySetting(int value) override { return value == 1 ? 1 : 0; }
    std::vector<MacroRecord> macros;
};

MacroRecord Macro(uint16_t id, std::u16string_view name, std::initializer_list<MacroAction> steps)
{
    MacroRecord record;
    record.SetName(name);
    record.id = id;
    record.playCount = 1;
    record.actionCount = static_cast<uint16_t>(steps.size());
    std::copy(steps.begin(), steps.end(), record.actions.begin());
    return record;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: macro_page_screenshots BIN_DIR OUTPUT_DIR\n";
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
    SilentPrompter prompter;
    KeyAssignmentDialogModel model(store);
    Kovantis_DlgComposite dialog(CompositeSetup{(bin / "Skins" / "Composite.ini").string(), names, language, model,
                                                processes, std::string()});
    auto owned = std::make_unique<MemoryHost>();
    MemoryHost& host = *owned;
    auto page = std::make_unique<MacroPage>(MacroPageSetup{std::move(owned), prompter, language, names});
    MacroPage& macroPage = *page;
    dialog.SetMacroPage(std::move(page));
    if (!dialog.Prepare()) {
        std::cerr << "macro_page_screenshots: the skin in " << bin << " is incomplete\n";
        return 1;
    }
    int failures = 0;
    const auto shoot = [&](const char* file) {
        for (int i = 0; i < 10; ++i)
            QApplication::processEvents();
        const std::string path = (out / file).string();
        if (!dialog.grab().save(QString::fromStdString(path))) {
            std::cerr << "macro_page_screenshots: cannot write " << path << '\n';
            ++failures;
        }
    };

    store.record = MakeAssignment(AssignmentKind::Default);
    dialog.OpenForKey(0x3B, 1060, QRect(40, 40, 40, 40));
    dialog.PressPage(KeyPage::Macro);
    shoot("macro-page-empty.png");
    dialog.PressCancel();

    constexpr KeyCode kCtrl = 0x01D, kC = 0x02E, kV = 0x02F, kEnter = 0x01C;
    host.macros = {Macro(1, u"Copy and paste", {{30, kCtrl, 0}, {60, kC, 0}, {45, kC, 1}, {120, kCtrl, 1},
                                                 {250, kCtrl, 0}, {55, kV, 0}, {40, kV, 1}, {80, kCtrl, 1},
                                                 {0, kEnter, 0}})};
    store.record = MakeAssignment(AssignmentKind::PlayMacro, 1, 1);
    dialog.OpenForKey(0x3B, 1060, QRect(40, 40, 40, 40));
    macroPage.Editor().SelectRow(4);
    macroPage.Editor().SetPlayCountText(u"2");
    macroPage.Redraw();
    shoot("macro-page-steps.png");

    macroPage.Editor().SelectRow(8);
    macroPage.PressRecord(1000);
    macroPage.Editor().RecordKeystroke({0x039, false, false, 1500});
    macroPage.Editor().RecordKeystroke({0x039, true, false, 1580});
    macroPage.Redraw();
    shoot("macro-page-recording.png");
    macroPage.Editor().StopRecording();
    dialog.PressCancel();
    return failures == 0 ? 0 : 1;
}
