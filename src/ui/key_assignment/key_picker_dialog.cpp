#include "ui/key_assignment/key_picker_dialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

#include "keyboard/key_table.h"
#include "ui/common/qt_text.h"

namespace kovantis::ui {

KeyPickerDialog::KeyPickerDialog(const KeyNames& names, const QString& title, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    list_ = new QListWidget(this);
    for (int position = 0; position < kPickerSize; ++position) {
        const KeyCode code = KeyCodeAtPickerPosition(position);
        auto* item = new QListWidgetItem(ToQString(names.KeyNameOf(code)), list_);
        item->setData(Qt::UserRole, code);
    }
    list_->setCurrentRow(0);
    layout->addWidget(list_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemActivated, this, &QDialog::accept);
    resize(280, 420);
}

KeyCode KeyPickerDialog::ChosenKey() const
{
    const QListWidgetItem* item = list_->currentItem();
    return item == nullptr ? 0 : static_cast<KeyCode>(item->data(Qt::UserRole).toUInt());
}

} // namespace kovantis::ui
