#include "keyboard/keyboard_view_model.h"

#include <algorithm>
#include <utility>

#include "keyboard/physical_layout.h"

namespace kovantis {
namespace {

constexpr int kLabelledGKeys = 5;
constexpr int kMacroOnlyGKey = 8;  // G9

bool IsFlippedFunctionKey(int controlId)
{
    return controlId >= kFirstFunctionKeyControlId &&
           controlId < kFirstFunctionKeyControlId + kFlippedFunctionKeyCount;
}

} // namespace

std::string ExtraKeySkinKey(int d)
{
    return "KEY_D" + std::to_string(d + 1);
}

KeyboardViewModel::KeyboardViewModel()
{
    buttons_.reserve(kKeyListSize + kGKeyCount + 1 + kExtraKeyCount);
    for (const PhysicalKey& key : KeyList()) {
        KeyButtonState button;
        button.controlId = key.controlId;
        button.kind = KeyButtonKind::Key;
        button.skinKey = SkinKeyOf(key.code);
        button.code = key.code;
        buttons_.push_back(button);
    }
    for (int g = 0; g < kGKeyCount; ++g) {
        KeyButtonState button;
        button.controlId = GKeyControlId(g);
        button.kind = KeyButtonKind::GKey;
        button.skinKey = GKeySkinKey(g);
        button.gKey = g;
        buttons_.push_back(button);
    }
    KeyButtonState fn;
    fn.controlId = kFnControlId;
    fn.kind = KeyButtonKind::Fn;
    fn.skinKey = std::string(kFnSkinKey);
    buttons_.push_back(fn);
    for (int d = 0; d < kExtraKeyCount; ++d) {
        KeyButtonState extra;
        extra.controlId = kFirstExtraControlId + d;
        extra.kind = KeyButtonKind::Extra;
        extra.skinKey = ExtraKeySkinKey(d);
        buttons_.push_back(extra);
    }
    SetBank(GKeyBank::A);
    SetFlip(false);
}

const KeyButtonState* KeyboardViewModel::Button(int controlId) const
{
    const auto found = std::find_if(buttons_.begin(), buttons_.end(),
                                    [controlId](const KeyButtonState& b) { return b.controlId == controlId; });
    return found == buttons_.end() ? nullptr : &*found;
}

KeyButtonState* KeyboardViewModel::Find(int controlId)
{
    return const_cast<KeyButtonState*>(std::as_const(*this).Button(controlId));
}

void KeyboardViewModel::Describe(KeyButtonState& button, BankView bank, GKeyBank gBank,
                                 const KeyTextSources& sources)
{
    AssignedKey key;
    int record = 0;
    if (button.kind == KeyButtonKind::Key) {
        key = AssignedKey::Key(button.code);
        record = SlotOf(button.code);
    } else if (button.kind == KeyButtonKind::GKey) {
        key = AssignedKey::G(button.gKey);
        record = GKeyRecord(button.gKey, gBank);
    } else {
        return;
    }
    const AssignmentTextResult text = AssignmentText(key, bank[static_cast<size_t>(record)], sources.names,
                                                     sources.texts, sources.macroNameOf);
    button.assigned = text.assigned;
    button.tooltip = text.text;
}

void KeyboardViewModel::RefreshKeyButtons(BankView bank, GKeyBank gBank, const KeyTextSources& sources)
{
    for (KeyButtonState& button : buttons_)
        Describe(button, bank, gBank, sources);
}

void KeyboardViewModel::RefreshGBankMarks(BankView bank, GKeyBank gBank, const KeyTextSources& sources)
{
    for (KeyButtonState& button : buttons_) {
        if (button.kind == KeyButtonKind::GKey)
            Describe(button, bank, gBank, sources);
    }
}

std::u16string KeyboardViewModel::BankLabel(int g, GKeyBank gBank)
{
    if (g < 0 || g >= kLabelledGKeys)
        return {};
    return std::u16string{gBank == GKeyBank::A ? u'A' : u'B', static_cast<char16_t>(u'1' + g)};
}

void KeyboardViewModel::SetBank(GKeyBank gBank)
{
    bank_ = gBank;
    for (KeyButtonState& button : buttons_) {
        if (button.kind == KeyButtonKind::GKey)
            button.caption = BankLabel(button.gKey, gBank);
    }
}

BankIndicatorLook KeyboardViewModel::IndicatorLook() const
{
    return bank_ == GKeyBank::B ? BankIndicatorLook::BankB : BankIndicatorLook::BankA;
}

void KeyboardViewModel::SetFlip(bool flipped)
{
    flipped_ = flipped;
    for (KeyButtonState& button : buttons_) {
        if (IsFlippedFunctionKey(button.controlId))
            button.usable = !flipped;
        else if (button.kind == KeyButtonKind::Extra)
            button.usable = flipped;
    }
}

std::optional<KeyEditTarget> KeyboardViewModel::BeginEditing(int controlId)
{
    if (controlId == kMacroEditControlId)
        controlId = GKeyControlId(kMacroOnlyGKey);
    KeyButtonState* button = Find(controlId);
    if (button == nullptr)
        return std::nullopt;
    KeyEditTarget target;
    if (button->kind == KeyButtonKind::Key) {
        target.record = SlotOf(button->code);
    } else if (button->kind == KeyButtonKind::GKey) {
        target.record = GKeyRecord(button->gKey, bank_);
        target.macroOnly = button->gKey == kMacroOnlyGKey;
    } else {
        return std::nullopt;
    }
    button->pictures = KeyPictureSet::Editing;
    return target;
}

void KeyboardViewModel::EndEditing(int controlId)
{
    if (controlId == kMacroEditControlId)
        controlId = GKeyControlId(kMacroOnlyGKey);
    if (KeyButtonState* button = Find(controlId))
        button->pictures = KeyPictureSet::Key;
}

bool KeyboardViewModel::ClickPaintsInLightingView(int controlId)
{
    return PhysicalKeyOfControl(controlId) != nullptr || controlId == kFnControlId || IsExtraKeyControl(controlId);
}

void KeyboardViewModel::RestoreDefaultRecords(std::span<KeyAssignment, kRecordsPerBank> bank, GKeyBank gBank)
{
    for (const PhysicalKey& key : KeyList())
        bank[static_cast<size_t>(SlotOf(key.code))] = KeyAssignment{};
    for (int g = 0; g < kGKeyCount; ++g)
        bank[static_cast<size_t>(GKeyRecord(g, gBank))] = KeyAssignment{};
}

} // namespace kovantis
