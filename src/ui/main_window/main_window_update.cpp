// Where the firmware update dialog opens from the main window.

#include "ui/main_window/main_window.h"

#include <QtGlobal>

namespace kovantis {

// Window command 32780 (kCommandFirmwareUpdate). The firmware update dialog (ui/update/) opens
// here, registered through OpenEditor while it is open, on Core().Update().
void CKovantisDlg::OpenFirmwareUpdate()
{
    qInfo("kovantis: the firmware update dialog is not available in this version");
}

} // namespace kovantis
