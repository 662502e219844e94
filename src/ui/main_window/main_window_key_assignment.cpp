// Where the key assignment dialog opens from the main window.

#include "ui/main_window/main_window_key_assignment.h"

#include <QEventLoop>

#include <cstdlib>

#include "platform/paths.h"
#include "profiles/profile_controller.h"
#include "profiles/working_macro_host.h"
#include "session/session.h"
#include "skin/skin_keys.h"
#include "ui/key_assignment/macro_page.h"
#include "ui/main_window/main_window.h"
#include "ui/skin/c_png_button.h"

namespace kovantis {
namespace {

std::string SearchPath()
{
    const char* path = std::getenv("PATH");
    return path != nullptr ? std::string(path) : std::string("/usr/local/bin:/usr/bin:/bin");
}

} // namespace

KeyAssignmentParts::KeyAssignmentParts(CKovantisDlg& window, const std::string& skinFile,
                                       const AppSettings& settings)
    : store(window.Core().Data().working, window.Core().Changes(),
            [&window] { return window.Core().Profiles().CurrentProfile(); }),
      model(store)
{
    dialog = std::make_unique<Kovantis_DlgComposite>(
        CompositeSetup{skinFile, window.Core().Names(),
                       window.Core().Texts(), model, processes, SearchPath()},
        &window);
    Session& core = window.Core();
    auto host = std::make_unique<WorkingMacroHost>(
        WorkingMacroLinks{core.Data().working, core.Changes(), core.Window(), core.Device(), settings});
    dialog->SetMacroPage(std::make_unique<MacroPage>(
        MacroPageSetup{std::move(host), core.Ask(), core.Texts(), core.Names()}));
}

// A click on a key, G button or the macro edit button in the function view; the clicked button
// shows its editing pictures until this returns. The dialog is modal: this returns when it has
// closed, by OK, Cancel, or the close from outside (keyboard unplugged, program quitting).
void CKovantisDlg::EditKey(int controlId, const KeyEditTarget& target)
{
    if (!keyAssignment_)
        keyAssignment_ = std::make_unique<KeyAssignmentParts>(
            *this, (setup_.paths.SkinsFolder() / kCompositeSkinFile).string(), setup_.settings);
    Kovantis_DlgComposite& dialog = *keyAssignment_->dialog;
    if (!dialog.Prepare()) {
        // The dialog cannot be drawn without its pictures: the program ends, as it does when
        // the main window's pictures are missing.
        Quit();
        return;
    }
    QWidget* clicked = controlId == kMacroEditControlId ? static_cast<QWidget*>(Control("FUNC_MACRO"))
                                                        : static_cast<QWidget*>(KeyButton(controlId));
    const QRect keyOnScreen = clicked != nullptr ? QRect(clicked->mapToGlobal(QPoint(0, 0)), clicked->size())
                                                 : QRect(mapToGlobal(QPoint(0, 0)), QSize(1, 1));
    // The macro edit button edits what G9 edits, in the same macro-only way.
    const int dialogControl = target.macroOnly ? kMacroOnlyControlId : controlId;
    if (!dialog.OpenForKey(target.record, dialogControl, keyOnScreen))
        return;
    const OpenEditors::Registration registration =
        OpenEditor("key assignment", [&dialog] { dialog.CloseFromOutside(); });
    QEventLoop loop;
    const auto applied = connect(&dialog, &Kovantis_DlgComposite::Applied, this, [this] { RefreshKeyButtons(); });
    const auto closed = connect(&dialog, &Kovantis_DlgComposite::Closed, &loop, &QEventLoop::quit);
    if (dialog.IsOpen())
        loop.exec();
    disconnect(applied);
    disconnect(closed);
}

Kovantis_DlgComposite* CKovantisDlg::KeyAssignmentDialog() const
{
    return keyAssignment_ ? keyAssignment_->dialog.get() : nullptr;
}

} // namespace kovantis
