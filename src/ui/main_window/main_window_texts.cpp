// The main window's texts: captions and tooltips from the language table, the language
// commands, and the window commands and messages other programs send.

#include "ui/main_window/main_window.h"

#include <QtGlobal>

#include "app/language_table.h"
#include "session/session.h"
#include "ui/common/language_notifier.h"
#include "ui/common/qt_text.h"
#include "ui/main_window/main_window_controls.h"
#include "ui/shell/tray_icon.h"
#include "ui/skin/c_png_button.h"

namespace kovantis {

QString CKovantisDlg::Text(std::string_view key) const { return ui::ToQString(Text16(key)); }
std::u16string CKovantisDlg::Text16(std::string_view key) const { return setup_.language.Text(key); }

void CKovantisDlg::ApplyLanguage()
{
    for (const auto& [key, textKey] : main_window::kCaptionTexts)
        Control(key)->setText(Text(textKey));
    for (const auto& [key, textKey] : main_window::kTooltipTexts)
        Control(key)->SetTipText(Text(textKey));
    Control("ZAVRIK_VER")->setText(Text("MAIN_BUTTON_ZAVRIK_VER"));
    setWindowTitle(Text("MAIN_CAPTION"));
    if (tray_) {
        tray_->SetTooltip(Text("KEYBOARD_TRAY_DESC"));
        tray_->RefreshMenu();
    }
}

void CKovantisDlg::SwitchLanguage(int command)
{
    setup_.language.RunLanguageCommand(command);
    Core().LanguageChanged(setup_.language.LanguageValue());
    ApplyLanguage();
    // Every other open window (dialogs, the lighting panel) re-applies its texts at once.
    ui::LanguageNotifier::Get().Announce();
    jobs_.Run([this] {
        Core().Lighting().Reread();
        Core().Profiles().RebuildProfileMenu();
    });
    jobs_.WhenIdle([this] {
        RefreshKeyView();
        ShowLighting();
        update();
    });
}

void CKovantisDlg::RunWindowCommand(int command)
{
    if (command == kCommandLanguageChinese || command == kCommandLanguageEnglish)
        SwitchLanguage(command);
    else if (command == kCommandFirmwareUpdate)
        OpenFirmwareUpdate();
}

void CKovantisDlg::RunWindowMessage(int message)
{
    if (message == kMessageApply)
        PressApply();
}

} // namespace kovantis
