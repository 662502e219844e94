#pragma once
// What the main window keeps for the key assignment dialog, built at the first click on a key:
// the record store over the bank of the profile the window shows, the dialog's model and the
// dialog itself (destroyed first, since it refers to the model).

#include <memory>
#include <string>

#include "keyboard/key_assignment_dialog_model.h"
#include "platform/posix_process_starter.h"
#include "profiles/working_bank_store.h"
#include "ui/key_assignment/kovantis_dlg_composite.h"

namespace kovantis {

class AppSettings;
class CKovantisDlg;

struct KeyAssignmentParts {
    KeyAssignmentParts(CKovantisDlg& window, const std::string& skinFile, const AppSettings& settings);

    WorkingBankStore store;
    KeyAssignmentDialogModel model;
    PosixProcessStarter processes;
    std::unique_ptr<Kovantis_DlgComposite> dialog;
};

} // namespace kovantis
