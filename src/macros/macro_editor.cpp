#include "macros/macro_editor.h"

#include <algorithm>
#include <string>

#include "app/text_format.h"
#include "keyboard/key_table.h"
#include "macros/macro_area.h"

namespace kovantis {
namespace {

constexpr long long kMaxPlayCount = 255;

// Upper and lower case of the scripts macro names are written in with cased letters: Latin,
// Greek and Cyrillic. Other characters compare as they are.
char16_t FoldCase(char16_t c)
{
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB) ||
        (c >= 0x410 && c <= 0x42F)) {
        return static_cast<char16_t>(c + 0x20);
    }
    if (c >= 0x400 && c <= 0x40F) {
        return static_cast<char16_t>(c + 0x50);
    }
    return c;
}

std::u16string Decimal(long long value)
{
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

// The leading decimal digits of a text, saturating well above any limit; 0 when there are none.
long long LeadingNumber(std::u16string_view text)
{
    long long value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') {
            break;
        }
        value = std::min<long long>(value * 10 + (c - u'0'), 1'000'000);
    }
    return value;
}

} // namespace

bool NameBeginsWith(std::u16string_view name, std::u16string_view prefix)
{
    if (name.size() < prefix.size()) {
        return false;
    }
    return std::equal(prefix.begin(), prefix.end(), name.begin(),
                      [](char16_t a, char16_t b) { return FoldCase(a) == FoldCase(b); });
}

MacroEditor::MacroEditor(MacroEditorHost& host, Prompter& prompter, const TextSource& texts)
    : host_(host), prompter_(prompter), texts_(texts)
{
}

void MacroEditor::Open(const MacroPageOpening& opening)
{
    recorder_.Stop();
    steps_.Clear();
    playCountText_ = u"1";
    // A stored value other than 0 or 1 is put right at once.
    recordDelay_ = host_.WriteRecordDelaySetting(host_.ReadRecordDelaySetting());
    entries_ = host_.CopyWorkingMacros();
    for (MacroRecord& record : entries_) {
        record.fresh = 0;
    }
    current_ = -1;
    firstVisit_ = true;
    clickedValue_ = opening.clicked.value;
    if (opening.clicked.kind == AssignmentKind::PlayMacro) {
        SelectForValue(opening.clicked.value);
    } else if (opening.macroOnly && !entries_.empty()) {
        // Opened to edit macros: show the first one rather than an empty page.
        firstVisit_ = false;
        current_ = 0;
        LoadMacro();
    }
    // Showing the macro the key plays is no change of the user's.
    modified_ = false;
    Changed();
}

void MacroEditor::SelectForValue(uint32_t value)
{
    if (entries_.empty()) {
        return;
    }
    const uint16_t id = static_cast<uint16_t>(value & 0xFFFF);
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [id](const MacroRecord& m) { return m.id == id; });
    current_ = (id == 0 || found == entries_.end()) ? 0 : static_cast<int>(found - entries_.begin());
    LoadMacro();
}

void MacroEditor::ShowByPageButton()
{
    if (!firstVisit_) {
        return;
    }
    firstVisit_ = false;
    if (clickedValue_ == 0 && current_ == -1 && !entries_.empty()) {
        current_ = 0;
        LoadMacro();
    }
}

void MacroEditor::LoadMacro()
{
    steps_.Clear();
    if (current_ != -1) {
        const MacroRecord& record = entries_[static_cast<size_t>(current_)];
        playCountText_ = Decimal(record.playCount);
        steps_.Load(record.Steps());
    }
    Changed();
}

void MacroEditor::SaveMacro(int index)
{
    if (index < 0 || index >= EntryCount()) {
        return;
    }
    MacroRecord& record = entries_[static_cast<size_t>(index)];
    record.playCount = PlayCount();
    const std::span<const MacroAction> rows = steps_.Rows();
    record.actionCount = static_cast<uint16_t>(rows.size());
    std::copy(rows.begin(), rows.end(), record.actions.begin());
    std::fill(record.actions.begin() + static_cast<std::ptrdiff_t>(rows.size()), record.actions.end(), MacroAction{});
}

void MacroEditor::MarkModified()
{
    modified_ = true;
    Changed();
}

void MacroEditor::SelectEntry(int index)
{
    if (Recording() || index < 0 || index >= EntryCount() || index == current_) {
        return;
    }
    SaveMacro(current_);
    current_ = index;
    LoadMacro();
}

void MacroEditor::TypeName(std::u16string_view text)
{
    if (Recording()) {
        return;
    }
    if (entries_.empty()) {
        if (text.empty()) {
            return;
        }
        entries_.insert(entries_.begin(), NewMacroRecord(text, entries_));
        current_ = 0;
        LoadMacro();
        MarkModified();
    } else if (current_ != -1) {
        entries_[static_cast<size_t>(current_)].SetName(text);
        MarkModified();
    }
}

bool MacroEditor::NameTaken(std::u16string_view candidate) const
{
    return std::any_of(entries_.begin(), entries_.end(),
                       [candidate](const MacroRecord& m) { return NameBeginsWith(m.Name(), candidate); });
}

void MacroEditor::AddMacro()
{
    if (Recording()) {
        return;
    }
    if (EntryCount() >= kMaxMacros) {
        prompter_.ShowMessage(FormatText(texts_.Text("MACRO_ERR_MAX"), {static_cast<long long>(kMaxMacros)}));
        return;
    }
    if (entries_.empty()) {
        nameCounter_ = 0;
    }
    // A candidate that begins some present name is skipped, so Macro1 is not offered while
    // Macro10 exists. Each present name rules out finitely many candidates, so this ends.
    const std::u16string prefix = texts_.Text("MACRO_NEW_PREFIX");
    std::u16string name;
    do {
        ++nameCounter_;
        name = prefix + Decimal(nameCounter_);
    } while (NameTaken(name));

    MacroRecord record = NewMacroRecord(name, entries_);
    SaveMacro(current_);
    entries_.push_back(record);
    current_ = EntryCount() - 1;
    LoadMacro();
    MarkModified();
}

void MacroEditor::DeleteMacro()
{
    if (Recording() || current_ < 0 || current_ >= EntryCount()) {
        return;
    }
    if (host_.IsMacroAssigned(entries_[static_cast<size_t>(current_)]) &&
        !prompter_.AskYesNo(texts_.Text("MACRO_DELETE_CONFIRM_OF_KEYS"))) {
        return;
    }
    entries_.erase(entries_.begin() + current_);
    current_ = entries_.empty() ? -1 : std::max(current_ - 1, 0);
    LoadMacro();
    MarkModified();
}

std::u16string MacroEditor::SetPlayCountText(std::u16string_view text)
{
    const long long value = std::clamp<long long>(LeadingNumber(text), 1, kMaxPlayCount);
    playCountText_ = Decimal(value);
    MarkModified();
    return playCountText_;
}

uint8_t MacroEditor::PlayCount() const
{
    return static_cast<uint8_t>(std::clamp<long long>(LeadingNumber(playCountText_), 1, kMaxPlayCount));
}

int MacroEditor::AddStep(const MacroAction& step, AddStepOptions options, bool markModified)
{
    const int row = steps_.AddStep(step, options);
    if (row >= 0 && markModified) {
        MarkModified();
    }
    return row;
}

void MacroEditor::DeleteStep()
{
    if (steps_.DeleteSelected()) {
        MarkModified();
    }
}

void MacroEditor::ClearSteps()
{
    if (steps_.RowCount() == 0 || !prompter_.AskYesNo(texts_.Text("MACRO_ACTION_CLEAR_CONFIRM"))) {
        return;
    }
    steps_.Clear();
    MarkModified();
}

void MacroEditor::MoveStepToTop()
{
    if (steps_.MoveSelectedToTop()) MarkModified();
}

void MacroEditor::MoveStepUp()
{
    if (steps_.MoveSelectedUp()) MarkModified();
}

void MacroEditor::MoveStepDown()
{
    if (steps_.MoveSelectedDown()) MarkModified();
}

void MacroEditor::MoveStepToBottom()
{
    if (steps_.MoveSelectedToBottom()) MarkModified();
}

CellEditKind MacroEditor::BeginCellEdit(int row, int column)
{
    if (row < 0 || row >= steps_.RowCount()) {
        return CellEditKind::None;
    }
    switch (static_cast<StepColumn>(column)) {
    case StepColumn::Delay:
        StopRecording();
        return CellEditKind::Delay;
    case StepColumn::State:
        return CellEditKind::State;
    case StepColumn::Key:
        return CellEditKind::Key;
    }
    prompter_.ShowMessage(texts_.Text("MACRO_ACTION_ERR_MODIFY"));
    return CellEditKind::None;
}

uint32_t MacroEditor::CommitDelayEdit(int row, std::u16string_view text)
{
    if (row < 0 || row >= steps_.RowCount()) {
        return 0;
    }
    const DelayEdit edit = ParseDelayText(text);
    if (edit.clamped) {
        prompter_.ShowMessage(
            FormatText(texts_.Text("MACRO_ACTION_ERR_DELAY_MAX"), {static_cast<long long>(kMaxMacroDelayMs)}));
    }
    if (steps_.SetDelay(row, edit.stored)) {
        MarkModified();
    }
    return steps_.Row(row).delay;
}

void MacroEditor::CommitStateEdit(int row, uint16_t state)
{
    if (steps_.SetState(row, state)) {
        MarkModified();
    }
}

void MacroEditor::CommitKeyEdit(int row, int pickerPosition)
{
    if (pickerPosition < 0 || pickerPosition >= kPickerSize) {
        return;
    }
    if (steps_.SetKey(row, KeyCodeAtPickerPosition(pickerPosition))) {
        MarkModified();
    }
}

void MacroEditor::ToggleRecording(uint32_t nowMs)
{
    if (Recording()) {
        StopRecording();
    } else if (current_ != -1) {
        recorder_.Start(nowMs, recordDelay_);
        Changed();
    }
}

void MacroEditor::StopRecording()
{
    if (Recording()) {
        recorder_.Stop();
        Changed();
    }
}

RecorderVerdict MacroEditor::RecordKeystroke(const RecorderKeystroke& keystroke)
{
    const RecorderOutput out = recorder_.Feed(keystroke);
    for (int i = 0; i < out.stepCount; ++i) {
        AddStep(out.steps[static_cast<size_t>(i)], {.fromRecorder = true, .insertAfterSelection = true}, true);
    }
    return out.verdict;
}

void MacroEditor::ToggleRecordDelay()
{
    recordDelay_ = host_.WriteRecordDelaySetting(recordDelay_ == kRecordRealPauses ? 0 : kRecordRealPauses);
    Changed();
}

MacroSpaceUse MacroEditor::SpaceUse() const
{
    const MacroAreaSizes sizes = MeasureMacroAreaImage(entries_);
    MacroSpaceUse use{sizes.withoutNames, sizes.withNames, static_cast<uint32_t>(std::max(host_.MacroSpace(), 0))};
    if (current_ >= 0 && current_ < EntryCount()) {
        // The current macro's steps live in the step list until it is saved.
        const uint32_t saved = 4u * static_cast<uint32_t>(entries_[static_cast<size_t>(current_)].StepCount());
        const uint32_t shown = 4u * static_cast<uint32_t>(steps_.RowCount());
        use.needed = use.needed - saved + shown;
        use.withNames = use.withNames - saved + shown;
    }
    return use;
}

MacroConfirmResult MacroEditor::Confirm(bool macroPageActive)
{
    StopRecording();
    SaveMacro(current_);
    MacroConfirmResult result;
    if (!SpaceUse().Fits()) {
        prompter_.ShowMessage(texts_.Text("EXTRA_MACRO_TOO_LONG"));
        return result;
    }
    if (host_.CommitMacroList(entries_) == 1) {
        // They are the program's macros now: a second Apply must not take them for new ones.
        for (MacroRecord& record : entries_) {
            record.fresh = 0;
        }
    }
    result.proceed = true;
    if (macroPageActive) {
        result.setsAssignment = true;
        if (entries_.empty()) {
            result.assignment = MakeAssignment(AssignmentKind::Default);
        } else {
            const uint16_t id = current_ >= 0 ? entries_[static_cast<size_t>(current_)].id : 0;
            result.assignment = MakeAssignment(AssignmentKind::PlayMacro, id, PlayCount());
        }
    }
    modified_ = false;
    Changed();
    return result;
}

void MacroEditor::Cancel()
{
    recorder_.Stop();
    steps_.Clear();
    entries_.clear();
    current_ = -1;
    modified_ = false;
    Changed();
}

} // namespace kovantis
