#include "macros/macro_step_list.h"

#include <algorithm>

namespace kovantis {

DelayEdit ParseDelayText(std::u16string_view text)
{
    uint32_t value = 0;
    bool number = !text.empty();
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') {
            number = false;
            break;
        }
        value = std::min<uint32_t>(value * 10 + static_cast<uint32_t>(c - u'0'), kMaxMacroDelayMs + 1);
    }
    DelayEdit edit;
    if (text.empty()) {
        return edit;  // an emptied cell is no pause
    }
    if (!number || value > kMaxMacroDelayMs) {
        edit.clamped = true;
        value = kMaxMacroDelayMs;
    }
    edit.stored = value - value % 10;
    return edit;
}

void MacroStepList::Select(int row)
{
    selected_ = ValidRow(row) ? row : -1;
}

int MacroStepList::AddStep(MacroAction step, AddStepOptions options)
{
    if (Full()) {
        return -1;
    }
    if (step.state > kMacroRelease) {
        step.state = kMacroPress;
    }
    int at = RowCount();
    if (options.insertAfterSelection && ValidRow(selected_)) {
        at = selected_ + 1;
    }
    if (!options.showOwnDelay) {
        if (at == 0) {
            step.delay = 0;
        } else {
            MacroAction& before = rows_[static_cast<size_t>(at - 1)];
            std::swap(before.delay, step.delay);
        }
    }
    rows_.insert(rows_.begin() + at, step);
    if (options.fromRecorder) {
        selected_ = at;
    } else if (selected_ >= at) {
        ++selected_;
    }
    return at;
}

void MacroStepList::Clear()
{
    rows_.clear();
    selected_ = -1;
}

void MacroStepList::Load(std::span<const MacroAction> steps)
{
    Clear();
    for (const MacroAction& step : steps.first(std::min(steps.size(), static_cast<size_t>(kMaxMacroActions)))) {
        AddStep(step, {.showOwnDelay = true});
    }
}

bool MacroStepList::DeleteSelected()
{
    if (!ValidRow(selected_)) {
        return false;
    }
    rows_.erase(rows_.begin() + selected_);
    if (selected_ >= RowCount()) {
        selected_ = RowCount() - 1;
    }
    return true;
}

bool MacroStepList::MoveSelectedTo(int target)
{
    if (!ValidRow(selected_) || !ValidRow(target) || target == selected_) {
        return false;
    }
    const MacroAction moved = rows_[static_cast<size_t>(selected_)];
    rows_.erase(rows_.begin() + selected_);
    rows_.insert(rows_.begin() + target, moved);
    selected_ = target;
    return true;
}

bool MacroStepList::MoveSelectedToTop() { return MoveSelectedTo(0); }
bool MacroStepList::MoveSelectedUp() { return MoveSelectedTo(selected_ - 1); }
bool MacroStepList::MoveSelectedDown() { return ValidRow(selected_) && MoveSelectedTo(selected_ + 1); }
bool MacroStepList::MoveSelectedToBottom() { return MoveSelectedTo(RowCount() - 1); }

bool MacroStepList::SetDelay(int row, uint32_t delay)
{
    if (!ValidRow(row) || rows_[static_cast<size_t>(row)].delay == delay) {
        return false;
    }
    rows_[static_cast<size_t>(row)].delay = delay;
    return true;
}

bool MacroStepList::SetState(int row, uint16_t state)
{
    if (!ValidRow(row) || state > kMacroRelease || rows_[static_cast<size_t>(row)].state == state) {
        return false;
    }
    rows_[static_cast<size_t>(row)].state = state;
    return true;
}

bool MacroStepList::SetKey(int row, uint16_t key)
{
    if (!ValidRow(row) || key == 0 || rows_[static_cast<size_t>(row)].key == key) {
        return false;
    }
    rows_[static_cast<size_t>(row)].key = key;
    return true;
}

} // namespace kovantis
