// Draws the macro page of the key assignment dialog into PNG files, with the default skin and
// the shipped English texts, for the documentation (scripts/screenshot): an empty macro list,
// a recording under way, and a macro with its steps.
//   macro_page_screenshots BIN_DIR OUTPUT_DIR

#include <QApplication>

#include <filesystem>
#include <iostream>

#include "dialog_screenshots.h"
#include "ui/key_assignment/macro_page.h"

namespace {

using namespace kovantis;

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
    const std::filesystem::path out = argv[2];
    screenshots::DialogForPictures pictures("macro_page_screenshots", argv[1]);
    SilentPrompter prompter;
    auto owned = std::make_unique<MemoryHost>();
    MemoryHost& host = *owned;
    auto page = std::make_unique<MacroPage>(MacroPageSetup{std::move(owned), prompter, pictures.Texts(), pictures.Names()});
    MacroPage& macroPage = *page;
    Kovantis_DlgComposite& dialog = pictures.Dialog();
    dialog.SetMacroPage(std::move(page));
    if (!pictures.Prepare())
        return 1;
    int failures = 0;

    pictures.Store().record = MakeAssignment(AssignmentKind::Default);
    dialog.OpenForKey(0x3B, 1060, QRect(40, 40, 40, 40));
    dialog.PressPage(KeyPage::Macro);
    failures += pictures.Shoot(out / "macro-page-empty.png") ? 0 : 1;
    dialog.PressCancel();

    constexpr KeyCode kCtrl = 0x01D, kC = 0x02E, kV = 0x02F, kEnter = 0x01C;
    // Pauses in tens of milliseconds, as the keyboard plays them.
    host.macros = {Macro(1, u"Copy and paste", {{30, kCtrl, 0}, {60, kC, 0}, {40, kC, 1}, {120, kCtrl, 1},
                                                 {250, kCtrl, 0}, {50, kV, 0}, {40, kV, 1}, {80, kCtrl, 1},
                                                 {0, kEnter, 0}})};
    pictures.Store().record = MakeAssignment(AssignmentKind::PlayMacro, 1, 1);
    dialog.OpenForKey(0x3B, 1060, QRect(40, 40, 40, 40));
    macroPage.Editor().SelectRow(4);
    macroPage.Editor().SetPlayCountText(u"2");
    macroPage.Redraw();
    failures += pictures.Shoot(out / "macro-page-steps.png") ? 0 : 1;

    macroPage.Editor().SelectRow(8);
    macroPage.PressRecord(1000);
    macroPage.Editor().RecordKeystroke({0x039, false, false, 1500});
    macroPage.Editor().RecordKeystroke({0x039, true, false, 1580});
    macroPage.Redraw();
    failures += pictures.Shoot(out / "macro-page-recording.png") ? 0 : 1;
    macroPage.Editor().StopRecording();
    dialog.PressCancel();
    return failures == 0 ? 0 : 1;
}
