#pragma once
// The keys a user can give a key, in a list to choose from: the way to every key, Win and Print
// Screen included, where no on-screen keyboard is installed and a key cannot be pressed.

#include <QDialog>

#include "keyboard/key_code.h"
#include "keyboard/key_names.h"

class QListWidget;

namespace kovantis::ui {

class KeyPickerDialog final : public QDialog {
    Q_OBJECT
public:
    KeyPickerDialog(const KeyNames& names, const QString& title, QWidget* parent = nullptr);

    // The key of the chosen row; 0 when none is chosen.
    KeyCode ChosenKey() const;
    QListWidget& List() const { return *list_; }

private:
    QListWidget* list_ = nullptr;
};

} // namespace kovantis::ui
