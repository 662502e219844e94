#include "macro_page_fixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTableView>
#include <QWindow>

#include <cstdlib>

#include "key_events.h"

namespace kovantis::testing {

std::string CompositeSkinFile()
{
    const char* bin = std::getenv("KOVANTIS_BIN_DIR");
    return bin ? std::string(bin) + "/Skins/Composite.ini" : std::string("Skins/Composite.ini");
}

bool DeliverTimedKey(QWidget& window, QEvent::Type type, uint16_t evdev, unsigned long timestampMs, bool autoRepeat)
{
    constexpr uint32_t kScanOffset = 8;
    QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : &window;
    if (type == QEvent::KeyPress) {
        QKeyEvent shortcut(QEvent::ShortcutOverride, 0, Qt::NoModifier, evdev + kScanOffset, 0, 0, QString(), autoRepeat);
        shortcut.setTimestamp(timestampMs);
        shortcut.ignore();
        QCoreApplication::sendEvent(focus, &shortcut);
    }
    QKeyEvent event(type, 0, Qt::NoModifier, evdev + kScanOffset, 0, 0, QString(), autoRepeat);
    event.setTimestamp(timestampMs);
    QWindow* handle = window.windowHandle();
    QObject* receiver = handle != nullptr ? static_cast<QObject*>(handle) : static_cast<QObject*>(focus);
    const bool taken = QCoreApplication::sendEvent(receiver, &event) && event.isAccepted();
    QCoreApplication::processEvents();
    return taken;
}

MacroDialog::MacroDialog(AssignmentRecordStore& store, std::unique_ptr<MacroEditorHost> host) : model_(store)
{
    texts_.Set("MACRO_NEW_PREFIX", u"Macro");
    texts_.Set("MACRO_ACTION_RECORD", u"Record");
    texts_.Set("MACRO_ACTION_STOP_RECORD", u"Stop recording");
    texts_.Set("MACRO_ACTION_ERR_DELAY_MAX", u"The longest delay is %d ms.");
    dialog_ = std::make_unique<Kovantis_DlgComposite>(
        CompositeSetup{CompositeSkinFile(), names_, texts_, model_, processes_, std::string()});
    auto page = std::make_unique<MacroPage>(MacroPageSetup{std::move(host), prompter_, texts_, names_});
    page_ = page.get();
    dialog_->SetMacroPage(std::move(page));
}

MacroDialog::~MacroDialog() { dialog_.reset(); }

bool MacroDialog::Open(int record, int controlId)
{
    return dialog_->Prepare() && dialog_->OpenForKey(record, controlId, QRect(100, 100, 40, 40)) &&
           ShowActive(*dialog_);
}

QWidget* MacroDialog::EditCell(int row, int column)
{
    QTableView& list = *page_->StepList();
    const QModelIndex index = list.model()->index(row, column);
    list.setCurrentIndex(index);
    list.edit(index);
    QCoreApplication::processEvents();
    return page_->OpenCellEditor();
}

QString MacroDialog::CellText(int row, int column) const
{
    const QAbstractItemModel& model = *page_->StepList()->model();
    return model.data(model.index(row, column), Qt::DisplayRole).toString();
}

} // namespace kovantis::testing
