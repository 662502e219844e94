#pragma once
// The macro page of the key assignment dialog: the macro list being edited (private copies of
// the records), the steps of the current macro, the recorder, and the macro part of OK, Apply
// and Cancel. Nothing reaches the program's macro list before OK or Apply.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "keyboard/key_assignment.h"
#include "macros/macro_editor_host.h"
#include "macros/macro_record.h"
#include "macros/macro_recorder.h"
#include "macros/macro_step_list.h"
#include "ports/prompter.h"
#include "ports/text_source.h"

namespace kovantis {

struct MacroPageOpening {
    KeyAssignment clicked;   // the clicked key's record when the dialog opened
    bool macroOnly = false;  // opened to edit macros (the macro button, G9)
};

// How much of the keyboard's macro space the list takes, in bytes of the macro area.
struct MacroSpaceUse {
    uint32_t needed = 0;     // without names: this much must fit
    uint32_t withNames = 0;  // names are stored too when this fits
    uint32_t space = 0;      // the keyboard's macro space; 0 while unknown
    bool Known() const { return space != 0; }
    bool Fits() const { return !Known() || needed <= space; }
    bool NamesFit() const { return !Known() || withNames <= space; }
};

enum class CellEditKind { None, Key, State, Delay };

struct MacroConfirmResult {
    bool proceed = false;         // false: refused, the dialog stays as it is
    bool setsAssignment = false;  // the macro page decides the key's assignment
    KeyAssignment assignment;     // kind 4 (id, play count) or kind 0 for an empty list
};

class MacroEditor {
public:
    MacroEditor(MacroEditorHost& host, Prompter& prompter, const TextSource& texts);

    // The macro part of the dialog's opening. Everything but the name counter starts afresh.
    void Open(const MacroPageOpening& opening);
    // The macro page is shown by its page button.
    void ShowByPageButton();
    // Another page is shown.
    void LeavePage() { StopRecording(); }

    // -- the macro selector --
    int EntryCount() const { return static_cast<int>(entries_.size()); }
    const MacroRecord& Entry(int index) const { return entries_[static_cast<size_t>(index)]; }
    int CurrentIndex() const { return current_; }
    bool SelectorEnabled() const { return !Recording(); }
    void SelectEntry(int index);
    // Text typed into the selector's edit field: names the current macro, or makes the first one.
    void TypeName(std::u16string_view text);
    void AddMacro();
    void DeleteMacro();
    int NameCounter() const { return nameCounter_; }

    // -- the play count --
    const std::u16string& PlayCountText() const { return playCountText_; }
    // Takes the typed text and gives what the field must show (kept within 1 to 255).
    std::u16string SetPlayCountText(std::u16string_view text);
    uint8_t PlayCount() const;

    // -- the steps --
    const MacroStepList& Steps() const { return steps_; }
    bool StepButtonsEnabled() const { return current_ != -1; }
    void SelectRow(int row) { steps_.Select(row); }
    int AddStep(const MacroAction& step, AddStepOptions options, bool markModified);
    void DeleteStep();
    void ClearSteps();
    void MoveStepToTop();
    void MoveStepUp();
    void MoveStepDown();
    void MoveStepToBottom();
    // Starting to edit a cell: a delay edit stops a recording first.
    CellEditKind BeginCellEdit(int row, int column);
    // Gives the delay the row stores now.
    uint32_t CommitDelayEdit(int row, std::u16string_view text);
    void CommitStateEdit(int row, uint16_t state);
    void CommitKeyEdit(int row, int pickerPosition);

    // -- recording --
    bool Recording() const { return recorder_.Recording(); }
    // `nowMs`: the time stamp of the gesture, on the keystrokes' clock.
    void ToggleRecording(uint32_t nowMs);
    void StopRecording();
    RecorderVerdict RecordKeystroke(const RecorderKeystroke& keystroke);

    // -- the record-delay option --
    bool RecordDelayChecked() const { return recordDelay_ == kRecordRealPauses; }
    void ToggleRecordDelay();

    MacroSpaceUse SpaceUse() const;

    // OK and Apply: commits the macro list. With the macro page active, it also decides the
    // clicked key's assignment. Refused (nothing committed) when the macros cannot fit.
    MacroConfirmResult Confirm(bool macroPageActive);
    // Cancel and every close: nothing is committed.
    void Cancel();

    bool Modified() const { return modified_; }
    // Raised by every change the page must redraw.
    uint64_t Revision() const { return revision_; }

private:
    void LoadMacro();
    void SaveMacro(int index);
    void MarkModified();
    void Changed() { ++revision_; }
    bool NameTaken(std::u16string_view candidate) const;
    void SelectForValue(uint32_t value);

    MacroEditorHost& host_;
    Prompter& prompter_;
    const TextSource& texts_;

    std::vector<MacroRecord> entries_;
    int current_ = -1;
    int nameCounter_ = 0;
    bool firstVisit_ = true;
    bool modified_ = false;
    int recordDelay_ = 0;
    uint32_t clickedValue_ = 0;
    std::u16string playCountText_ = u"1";
    MacroStepList steps_;
    MacroRecorder recorder_;
    uint64_t revision_ = 0;
};

// Case-insensitive "begins with" for macro names.
bool NameBeginsWith(std::u16string_view name, std::u16string_view prefix);

} // namespace kovantis
