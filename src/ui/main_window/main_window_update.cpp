// Where the firmware update dialog opens from the main window.

#include "ui/main_window/main_window.h"

#include <QCoreApplication>

#include "app/language_table.h"
#include "platform/paths.h"
#include "session/session.h"
#include "ui/update/c_kovantis_dlg_update.h"

namespace kovantis {

// Window command 32780 (kCommandFirmwareUpdate): the dialog opens modally, registered as an
// editor while it is open, so that quitting closes it as Cancel update does.
void CKovantisDlg::OpenFirmwareUpdate()
{
    if (quitting_ || !parts_)
        return;
    CKovantis_DlgUpdate dialog(setup_.paths.SkinsFolder(), Core().Update(), setup_.language, jobs_, this);
    if (!dialog.Initialise())
        return;
    connect(&dialog, &CBaseDialog::HelpRequested, this, &CKovantisDlg::OpenHelp);
    const OpenEditors::Registration registration =
        OpenEditor("firmware update", [&dialog] { dialog.CloseAsCancel(); });
    dialog.exec();
    // Closed while the boot-loader command was on its way: that job ends first.
    while (jobs_.Busy())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
}

} // namespace kovantis
