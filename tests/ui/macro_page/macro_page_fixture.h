#pragma once
// The key assignment dialog with the macro page plugged in, driven as a user drives it.

#include <gtest/gtest.h>

#include <QEvent>

#include <memory>
#include <string>

#include "keyboard/bank.h"
#include "keyboard/key_assignment_dialog_model.h"
#include "keyboard/key_names.h"
#include "support/fake_ports.h"
#include "ui/key_assignment/kovantis_dlg_composite.h"
#include "ui/key_assignment/macro_page.h"

class QTableView;

namespace kovantis::testing {

std::string CompositeSkinFile();

// A key event with the time stamp the window system gave it.
bool DeliverTimedKey(QWidget& window, QEvent::Type type, uint16_t evdev, unsigned long timestampMs,
                     bool autoRepeat = false);

class NoProcesses final : public ProcessStarter {
public:
    bool StartDetached(const std::string&, const std::vector<std::string>&, const std::string&) override { return false; }
};

class MacroDialog {
public:
    MacroDialog(AssignmentRecordStore& store, std::unique_ptr<MacroEditorHost> host);
    ~MacroDialog();

    bool Open(int record, int controlId);
    Kovantis_DlgComposite& Dialog() { return *dialog_; }
    MacroPage& Page() { return *page_; }
    MacroEditor& Editor() { return page_->Editor(); }
    FakePrompter& Prompter() { return prompter_; }
    FakeTexts& Texts() { return texts_; }

    // The in-place editor of a step cell, opened as a double click opens it; null when refused.
    QWidget* EditCell(int row, int column);
    QString CellText(int row, int column) const;

private:
    KeyNames names_;
    FakeTexts texts_;
    FakePrompter prompter_;
    NoProcesses processes_;
    KeyAssignmentDialogModel model_;
    std::unique_ptr<Kovantis_DlgComposite> dialog_;
    MacroPage* page_ = nullptr;
};

} // namespace kovantis::testing
