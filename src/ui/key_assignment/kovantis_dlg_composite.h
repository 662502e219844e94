#pragma once
// Kovantis_DlgComposite: the key assignment dialog. It opens beside the clicked key of the
// keyboard picture, shows the page of the key's assignment (single key, macro, media,
// function), captures the key to send while the single-key page is shown, and stores the
// record on OK or Apply. Its state lives in KeyAssignmentDialogModel; this window only draws it
// and forwards gestures. It is application-modal and returns at once from OpenForKey; Closed
// says when it has closed.

#include <QRect>
#include <QString>

#include <map>
#include <memory>
#include <string>

#include "keyboard/key_assignment_dialog_model.h"
#include "keyboard/key_names.h"
#include "ports/process_starter.h"
#include "ports/text_source.h"
#include "ui/key_assignment/macro_page_view.h"
#include "ui/skin/c_base_dialog.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace kovantis {

class CPngButton;

namespace ui {
class KeyCaptureFilter;
}

struct CompositeSetup {
    std::string skinFile;  // Skins/Composite.ini
    const KeyNames& names;
    const TextSource& texts;
    KeyAssignmentDialogModel& model;
    ProcessStarter& processes;  // starts the on-screen keyboard
    std::string searchPath;     // where to look for one (the PATH value)
};

class Kovantis_DlgComposite final : public CBaseDialog {
    Q_OBJECT
public:
    explicit Kovantis_DlgComposite(const CompositeSetup& setup, QWidget* parent = nullptr);
    ~Kovantis_DlgComposite() override;

    // The macro editor's page, in place of the placeholder; before the first opening.
    void SetMacroPage(std::unique_ptr<MacroPageView> page);

    // Loads the pictures and builds the controls, once. False when a picture is missing (the
    // program cannot go on without them).
    bool Prepare();

    // Opens for `record` of the bank being edited, clicked on main-window button `controlId`
    // whose rectangle on the screen is `keyOnScreen`. False when it could not open (already
    // open, or Prepare failed).
    bool OpenForKey(int record, int controlId, const QRect& keyOnScreen);
    // The close from outside (keyboard unplugged, program quitting): the Cancel path.
    void CloseFromOutside();
    bool IsOpen() const { return model_.IsOpen(); }

    KeyAssignmentDialogModel& Model() { return model_; }
    const KeyNames& Names() const { return names_; }
    const TextSource& Texts() const { return texts_; }
    // A run-time caption: the language text, a single space when the key is missing.
    QString Caption(std::string_view key) const;

    // -- what tests and the screenshot look at --
    CPngButton* Button(int controlId) const;
    CPngButton* PageButton(KeyPage page) const;
    QLineEdit* KeyField() const { return keyField_; }
    QComboBox* MediaList() const { return mediaList_; }
    QComboBox* FunctionList() const { return functionList_; }
    QLabel* Title() const { return title_; }
    ui::KeyCaptureFilter& Capture() const { return *capture_; }

    // Gestures, as the buttons forward them.
    void PressPage(KeyPage page);
    void PressClear();
    void PressOnScreenKeyboard();
    void PressOk();
    void PressCancel();
    void PressApply();
    // The macro page changed something the dialog shows (its Apply button).
    void MacroPageChanged() { Refresh(); }

signals:
    // A record was stored in the bank: the key buttons need refreshing.
    void Applied();
    // The dialog closed, by any way; `controlId` is the button it was opened from.
    void Closed(int controlId);
    // The on-screen keyboard could not be started and the key list was offered (tests).
    void KeyListOffered();

protected:
    void reject() override;

private:
    void BuildControls();
    void ApplyLanguage();
    void FillLists();
    void Refresh();
    void PlaceBeside(const QRect& keyOnScreen);
    void FinishClose(int controlId);
    void OfferKeyList();
    void TakeCapturedKey(KeyCode code);

    KeyAssignmentDialogModel& model_;
    const KeyNames& names_;
    const TextSource& texts_;
    ProcessStarter& processes_;
    std::string searchPath_;
    bool prepared_ = false;
    bool built_ = false;

    std::map<int, CPngButton*> buttons_;
    QLabel* title_ = nullptr;
    QLabel* keyPrompt_ = nullptr;
    QLabel* mediaPrompt_ = nullptr;
    QLabel* functionPrompt_ = nullptr;
    QLineEdit* keyField_ = nullptr;
    QComboBox* mediaList_ = nullptr;
    QComboBox* functionList_ = nullptr;
    ui::KeyCaptureFilter* capture_ = nullptr;
    std::unique_ptr<MacroPageView> macroPage_;
    KeyPage shownPage_ = KeyPage::SingleKey;
    bool refreshing_ = false;
};

} // namespace kovantis
