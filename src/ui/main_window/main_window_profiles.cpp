// The main window's profile controls: the three profile buttons, Apply and OK, import and export
// from the menu button, and the profile manager's button.

#include "ui/main_window/main_window.h"

#include <memory>

#include "app/app_settings.h"
#include "app/language_table.h"
#include "platform/paths.h"
#include "profiles/profile_manager_model.h"
#include "session/session.h"
#include "ui/profiles/c_kovantis_dlg_profile.h"
#include "ui/common/qt_text.h"
#include "ui/main_window/main_window_controls.h"
#include "ui/skin/c_png_button.h"

#include <QCoreApplication>

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
    // A failed Apply has said why; the window stays so that the user can try again.
    auto applied = std::make_shared<int>(0);
    jobs_.Run([this, applied] { *applied = Core().Profiles().Apply(); });
    jobs_.WhenIdle([this, applied] {
        if (*applied == 1)
            HideWindow();
    });
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

// The profile manager's button (FUNC_PROFILES): the manager opens modally, registered as an
// editor while it is open, so that unplugging the keyboard or quitting closes it as Cancel does.
void CKovantisDlg::OpenProfileManager()
{
    if (quitting_)
        return;
    ProfileManagerModel model(Core().Profiles(), setup_.settings);
    CKovantis_DlgProfile dialog(setup_.paths.SkinsFolder(), model, setup_.language, jobs_, this);
    if (!dialog.Initialise())
        return;
    connect(&dialog, &CBaseDialog::HelpRequested, this, &CKovantisDlg::OpenHelp);
    const OpenEditors::Registration registration =
        OpenEditor("profile manager", [&dialog] { dialog.CloseAsCancel(); });
    dialog.exec();
    // Closed on unplug while its Apply ran: the job finishes before the model goes.
    while (jobs_.Busy())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
}

} // namespace kovantis
