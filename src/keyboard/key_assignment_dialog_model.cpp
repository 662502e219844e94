#include "keyboard/key_assignment_dialog_model.h"

#include "keyboard/bank.h"
#include "keyboard/function_action.h"
#include "keyboard/media_function.h"

namespace kovantis {
namespace {

bool OwnsText(AssignmentKind kind)
{
    return kind == AssignmentKind::LaunchProgram || kind == AssignmentKind::TextBlock;
}

int ListIndexOr0(uint32_t value, int count)
{
    return value < static_cast<uint32_t>(count) ? static_cast<int>(value) : 0;
}

} // namespace

AssignmentKind KindOfPage(KeyPage page)
{
    switch (page) {
    case KeyPage::Macro: return AssignmentKind::PlayMacro;
    case KeyPage::Media: return AssignmentKind::Media;
    case KeyPage::Function: return AssignmentKind::Function;
    case KeyPage::SingleKey: break;
    }
    return AssignmentKind::Key;
}

KeyPage PageOfKind(AssignmentKind kind)
{
    switch (kind) {
    case AssignmentKind::PlayMacro: return KeyPage::Macro;
    case AssignmentKind::Media: return KeyPage::Media;
    case AssignmentKind::Function: return KeyPage::Function;
    default: return KeyPage::SingleKey;
    }
}

KeyAssignmentDialogModel::KeyAssignmentDialogModel(AssignmentRecordStore& store) : store_(store) {}

void KeyAssignmentDialogModel::SetMacroPage(MacroPagePart& part)
{
    if (!IsOpen())
        macroPage_ = &part;
}

bool KeyAssignmentDialogModel::Open(int record, int controlId)
{
    if (IsOpen() || record < 0 || record >= kRecordsPerBank)
        return false;
    ++openCount_;
    targetRecord_ = record;
    targetControl_ = controlId;
    macroOnly_ = controlId == kMacroOnlyControlId;
    modified_ = false;
    fieldKey_ = 0;
    mediaSelection_ = 0;
    functionSelection_ = 0;

    const KeyAssignment current = store_.ReadRecord(record);
    openedKind_ = current.kind;
    kind_ = macroOnly_ ? AssignmentKind::PlayMacro : current.kind;
    initialValue_ = current.value;
    initialExtra_ = current.extra;
    chosenKey_ = 0;
    macroPage_->Opened(current, macroOnly_);
    // Nothing is shown yet, so the first page shown leaves no macro page behind.
    page_ = KeyPage::SingleKey;
    ShowPage(true);
    return true;
}

void KeyAssignmentDialogModel::ShowPage(bool initialise)
{
    const KeyPage previous = page_;
    page_ = PageOfKind(kind_);
    if (previous == KeyPage::Macro && page_ != KeyPage::Macro)
        macroPage_->Left();
    switch (page_) {
    case KeyPage::Macro:
        if (previous != KeyPage::Macro || initialise)
            macroPage_->Shown(initialise);
        break;
    case KeyPage::Media:
        if (initialise)
            mediaSelection_ = ListIndexOr0(initialValue_, kMediaFunctionCount);
        break;
    case KeyPage::Function:
        if (initialise)
            functionSelection_ = ListIndexOr0(initialValue_, kFunctionActionCount);
        break;
    case KeyPage::SingleKey:
        // Only a Key record names a key in its value; any other kind's value would otherwise
        // come back as a key nobody chose once the single-key page is left and shown again.
        if (initialise) {
            chosenKey_ = kind_ == AssignmentKind::Key ? static_cast<KeyCode>(initialValue_) : 0;
            fieldKey_ = chosenKey_;
        }
        break;
    }
}

void KeyAssignmentDialogModel::PressPage(KeyPage page)
{
    if (!IsOpen() || !PageButtonEnabled(page))
        return;
    if (page == KeyPage::SingleKey) {
        // Default and Key both live on the single-key page, which is then already shown.
        if (kind_ == AssignmentKind::Default || kind_ == AssignmentKind::Key)
            return;
    } else if (kind_ == KindOfPage(page)) {
        return;
    }
    kind_ = KindOfPage(page);
    ShowPage(false);
    modified_ = true;
}

void KeyAssignmentDialogModel::PressClear()
{
    if (!IsOpen() || !ClearEnabled())
        return;
    PressPage(KeyPage::SingleKey);
    if (kind_ == AssignmentKind::Key) {
        fieldKey_ = 0;
        chosenKey_ = 0;
        kind_ = AssignmentKind::Default;
        // The key now does something else than what the bank holds: that is worth applying.
        modified_ = true;
    }
}

void KeyAssignmentDialogModel::SelectMedia(int index)
{
    if (!IsOpen() || index < 0 || index >= kMediaFunctionCount || index == mediaSelection_)
        return;
    mediaSelection_ = index;
    modified_ = true;
}

void KeyAssignmentDialogModel::SelectFunction(int index)
{
    if (!IsOpen() || index < 0 || index >= kFunctionActionCount || index == functionSelection_)
        return;
    functionSelection_ = index;
    modified_ = true;
}

bool KeyAssignmentDialogModel::CaptureKey(KeyCode code)
{
    if (!Capturing() || code == 0)
        return false;
    chosenKey_ = code;
    fieldKey_ = code;
    kind_ = AssignmentKind::Key;
    modified_ = true;
    return true;
}

bool KeyAssignmentDialogModel::PickKey(KeyCode code)
{
    if (!IsOpen() || macroOnly_ || code == 0)
        return false;
    PressPage(KeyPage::SingleKey);
    return CaptureKey(code);
}

KeyAssignment KeyAssignmentDialogModel::BuildRecord(const std::optional<MacroChoice>& macro) const
{
    KeyAssignment record = MakeAssignment(kind_, 0, GKeyIdOfRecord(targetRecord_));
    switch (kind_) {
    case AssignmentKind::Key:
        // A key sending itself is a key doing its default.
        if (chosenKey_ == 0 || SlotOf(chosenKey_) == targetRecord_)
            record.kind = AssignmentKind::Default;
        else
            record.value = chosenKey_;
        break;
    case AssignmentKind::PlayMacro:
        if (macro) {
            record.value = macro->macroId;
            record.extra = macro->cycles;
        } else {
            record.kind = AssignmentKind::Default;
        }
        break;
    case AssignmentKind::Media: record.value = static_cast<uint32_t>(mediaSelection_); break;
    case AssignmentKind::Function: record.value = static_cast<uint32_t>(functionSelection_); break;
    default:
        // Disabled, StopMacro, LaunchProgram and TextBlock records stay what they are; a kind
        // only a damaged file can hold would send the keyboard garbage, so it becomes Default.
        if (!IsKnownKind(kind_))
            record.kind = AssignmentKind::Default;
        break;
    }
    return record;
}

ApplyResult KeyAssignmentDialogModel::Apply()
{
    if (!IsOpen())
        return ApplyResult::NotOpen;
    const MacroCommit commit = macroPage_->Commit(page_ == KeyPage::Macro);
    if (!commit.committed)
        return ApplyResult::MacroCommitFailed;
    const KeyAssignment record = BuildRecord(commit.choice);
    // A launch or text record the user left alone keeps its text; any change of kind frees it.
    const bool releaseText = !(OwnsText(record.kind) && record.kind == openedKind_);
    if (!store_.WriteRecord(targetRecord_, record, releaseText))
        return ApplyResult::StoreFailed;
    openedKind_ = record.kind;
    modified_ = false;
    return ApplyResult::Stored;
}

ApplyResult KeyAssignmentDialogModel::Ok()
{
    const ApplyResult result = Apply();
    if (result == ApplyResult::Stored)
        Close();
    return result;
}

void KeyAssignmentDialogModel::Cancel()
{
    if (IsOpen())
        Close();
}

void KeyAssignmentDialogModel::Close()
{
    macroPage_->Closed();
    modified_ = false;
    --openCount_;
}

} // namespace kovantis
