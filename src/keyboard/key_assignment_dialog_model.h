#pragma once
// The state of the key assignment dialog (Kovantis_DlgComposite), apart from any widget: which
// record it edits, the kind of assignment it will store, the key captured, the media and
// function chosen, which page is shown and whether there is anything to apply. The dialog window
// draws this state and forwards gestures; the macro page plugs in through MacroPagePart.

#include <cstdint>
#include <optional>

#include "keyboard/assignment_record_store.h"
#include "keyboard/key_assignment.h"
#include "keyboard/key_code.h"
#include "keyboard/macro_page_part.h"

namespace kovantis {

// The four pages, each chosen by its page button; the kind each gives a key is in KindOfPage.
enum class KeyPage { SingleKey, Macro, Media, Function };

// Control ids of the dialog's buttons.
inline constexpr int kSingleKeyPageControlId = 1028;
inline constexpr int kMacroPageControlId = 1029;
inline constexpr int kMediaPageControlId = 1030;
inline constexpr int kFunctionPageControlId = 1031;
inline constexpr int kClearControlId = 1032;
inline constexpr int kOnScreenKeyboardControlId = 1132;
inline constexpr int kDialogApplyControlId = 1015;
// The G9 button; it and the macro button open the dialog on the macro page alone.
inline constexpr int kMacroOnlyControlId = 1143;

AssignmentKind KindOfPage(KeyPage page);
// The page that shows a kind: macro, media and function pages for their kinds, the single-key
// page for every other kind (the dialog offers no way to edit the others).
KeyPage PageOfKind(AssignmentKind kind);

enum class ApplyResult {
    Stored,
    NotOpen,
    MacroCommitFailed,  // the macro list could not be committed; nothing changed
    StoreFailed,        // the record could not be stored
};

class KeyAssignmentDialogModel {
public:
    // Both outlive the model.
    explicit KeyAssignmentDialogModel(AssignmentRecordStore& store);

    // The macro editor takes over the macro page; by default a key keeps the macro it plays.
    // Only while the dialog is closed.
    void SetMacroPage(MacroPagePart& part);
    MacroPagePart& MacroPage() const { return *macroPage_; }

    // -- opening and closing --

    // Opens for `record` of the bank being edited (0 to 255 keys, 256 to 273 G keys), clicked
    // on main-window button `controlId`. False, and nothing changed, while already open or for
    // a record outside the bank.
    bool Open(int record, int controlId);
    bool IsOpen() const { return openCount_ > 0; }
    // Raised at opening, lowered at closing; other windows ask it whether the dialog is open.
    int OpenCount() const { return openCount_; }

    // -- what the window draws --

    int TargetRecord() const { return targetRecord_; }
    int TargetControl() const { return targetControl_; }
    bool MacroOnly() const { return macroOnly_; }
    AssignmentKind Kind() const { return kind_; }
    KeyCode ChosenKey() const { return chosenKey_; }
    uint32_t InitialValue() const { return initialValue_; }
    uint16_t InitialExtra() const { return initialExtra_; }
    KeyPage Page() const { return page_; }
    // The key the key field names; 0 when the field is empty.
    KeyCode FieldKey() const { return fieldKey_; }
    int MediaSelection() const { return mediaSelection_; }
    int FunctionSelection() const { return functionSelection_; }
    // Whether there is something to apply; the dialog's Apply button is enabled by it.
    bool Modified() const { return modified_; }
    // Whether key presses are being captured: open, on the single-key page.
    bool Capturing() const { return IsOpen() && page_ == KeyPage::SingleKey; }
    // In macro-only mode every page button but the macro page's, and Clear, are disabled.
    bool PageButtonEnabled(KeyPage page) const { return !macroOnly_ || page == KeyPage::Macro; }
    bool ClearEnabled() const { return !macroOnly_; }

    // -- gestures --

    void PressPage(KeyPage page);
    // Returns the key to its default: on the single-key page, the field empties and the kind
    // becomes Default; from another page, the single-key page is shown first.
    void PressClear();
    void SelectMedia(int index);
    void SelectFunction(int index);
    // A key pressed while capturing: it becomes the chosen key. False (ignored) when not
    // capturing.
    bool CaptureKey(KeyCode code);
    // A key chosen from the key list instead of pressed: like a capture, after showing the
    // single-key page if need be. False in macro-only mode.
    bool PickKey(KeyCode code);
    // The macro page changed something.
    void MarkModified() { if (IsOpen()) modified_ = true; }

    // Apply (1015): commits the macro page, then stores the record by kind. Stays open.
    ApplyResult Apply();
    // OK: Apply, then close; stays open when nothing could be stored.
    ApplyResult Ok();
    // Cancel, and the close from outside (keyboard unplugged, program quitting).
    void Cancel();

    // The record Apply would store now, before the macro page has its say (for kind PlayMacro
    // give the macro choice).
    KeyAssignment BuildRecord(const std::optional<MacroChoice>& macro) const;

private:
    void ShowPage(bool initialise);
    void Close();

    AssignmentRecordStore& store_;
    KeepAssignedMacro keepMacro_;
    MacroPagePart* macroPage_ = &keepMacro_;

    int openCount_ = 0;
    int targetRecord_ = 0;
    int targetControl_ = 0;
    bool macroOnly_ = false;
    AssignmentKind kind_ = AssignmentKind::Default;
    AssignmentKind openedKind_ = AssignmentKind::Default;
    KeyCode chosenKey_ = 0;
    uint32_t initialValue_ = 0;
    uint16_t initialExtra_ = 0;
    KeyPage page_ = KeyPage::SingleKey;
    KeyCode fieldKey_ = 0;
    int mediaSelection_ = 0;
    int functionSelection_ = 0;
    bool modified_ = false;
};

} // namespace kovantis
