// The main window's texts: captions and tooltips from the language table, the language
// commands, and the window commands and messages other programs send.

#include "ui/main_window/main_window.h"

#include <QtGlobal>

#include "app/language_table.h"
#include "session/session.h"
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
    if (tray_)
        tray_->SetTooltip(Text("KEYBOARD_TRAY_DESC"));
}

void CKovantisDlg::SwitchLanguage(int command)
{
    setup_.language.RunLanguageCommand(command);
    Core().LanguageChanged(setup_.language.LanguageValue());
    ApplyLanguage();
    setWindowTitle(Text("MAIN_CAPTION"));
    jobs_.Run([this] {
        Core().Lighting().Reread();
        Core().Profiles().RebuildProfileMenu();
    });
    jobs_.WhenIdle([this] {
        RefreshKeyView();
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
