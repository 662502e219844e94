// What the main window does for the core: the handlers the window port reaches, on the UI
// thread. Keyboard work they start runs as jobs, never here.

#include "ui/main_window/main_window.h"

#include "session/session.h"
#include "ui/lighting/lighting_panel.h"
#include "ui/main_window/keyboard_view.h"
#include "ui/main_window/progress_picture.h"
#include "ui/shell/tray_icon.h"
#include "ui/skin/c_png_button.h"

namespace kovantis {

void CKovantisDlg::OnReloadActiveProfile()
{
    jobs_.Run([this] { Core().Profiles().OnKeyboardArrived(); });
    jobs_.WhenIdle([this] { ShowLighting(); });
}

void CKovantisDlg::OnRefreshBankKeys(int bank)
{
    viewModel_.SetBank(bank == 0 ? GKeyBank::A : GKeyBank::B);
    ShowBankIndicator();
    keyboardView_->Show();
    jobs_.WhenIdle([this] { RefreshGKeyView(); });
}

void CKovantisDlg::OnOpen()
{
    // After the profile the keyboard's arrival is loading.
    jobs_.WhenIdle([this] { Open(); });
}

void CKovantisDlg::OnLightingReread()
{
    lighting_->OnKeyboardLightingChanged();
}

void CKovantisDlg::OnHide() { HideWindow(); }

void CKovantisDlg::OnTrayIcon(TrayIcon icon)
{
    if (icon == currentIcon_)
        return;
    currentIcon_ = icon;
    if (tray_)
        tray_->SetIcon(icon);
}

void CKovantisDlg::OnApplyEnabled(bool enabled) { Control("CONTROL2_APPLY")->setEnabled(enabled); }

void CKovantisDlg::OnRefreshKeys() { RefreshKeyButtons(); }

void CKovantisDlg::OnProgress(bool running)
{
    if (running)
        progress_->Start();
    else
        progress_->Stop();
}

} // namespace kovantis
