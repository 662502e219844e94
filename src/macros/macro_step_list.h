#pragma once
// The rows of the macro page's step list: one step each, the pause after it, and the selected
// row. Recording inserts after the selection; editing a cell keeps every value inside what a
// macro record and the keyboard can hold.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "macros/macro_record.h"

namespace kovantis {

struct AddStepOptions {
    bool fromRecorder = false;         // the new row is selected
    bool insertAfterSelection = false; // else appended
    bool showOwnDelay = false;         // loading: the row keeps its own delay
};

// The three columns of the list.
enum class StepColumn : int { Key = 0, State = 1, Delay = 2 };

// What a typed delay became.
struct DelayEdit {
    uint32_t stored = 0;
    bool clamped = false;  // above the longest pause (or not a number): the user is told
};

// A typed delay: decimal digits, longest pause 40000 ms, rounded down to 10 ms. Anything that
// is not a plain decimal number clamps like a too-long pause.
DelayEdit ParseDelayText(std::u16string_view text);

class MacroStepList {
public:
    int RowCount() const { return static_cast<int>(rows_.size()); }
    bool Full() const { return rows_.size() >= static_cast<size_t>(kMaxMacroActions); }
    const MacroAction& Row(int row) const { return rows_[static_cast<size_t>(row)]; }
    std::span<const MacroAction> Rows() const { return rows_; }

    // -1 when no row is selected.
    int Selected() const { return selected_; }
    void Select(int row);

    // Inserts a step. Unless the row shows its own delay, `step.delay` is the pause before the
    // step: it goes to the row before, and the new row takes over that row's old pause (the
    // first row has nothing before it and gets 0). Gives the new row, or -1 when the list is full.
    int AddStep(MacroAction step, AddStepOptions options);

    void Clear();
    // The rows of a record, with their own delays; nothing selected.
    void Load(std::span<const MacroAction> steps);

    // Removes the selected row; the row that takes its place becomes selected.
    bool DeleteSelected();
    // Moves the selected row; it stays selected. False when it could not move.
    bool MoveSelectedToTop();
    bool MoveSelectedUp();
    bool MoveSelectedDown();
    bool MoveSelectedToBottom();

    // In-place edits of one cell; each gives false when nothing changed.
    bool SetDelay(int row, uint32_t delay);
    bool SetState(int row, uint16_t state);
    bool SetKey(int row, uint16_t key);

private:
    bool ValidRow(int row) const { return row >= 0 && row < RowCount(); }
    bool MoveSelectedTo(int target);

    std::vector<MacroAction> rows_;
    int selected_ = -1;
};

} // namespace kovantis
