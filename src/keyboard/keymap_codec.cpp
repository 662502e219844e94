#include "keyboard/keymap_codec.h"

#include <algorithm>

#include "keyboard/hid_usage.h"
#include "keyboard/media_function.h"
#include "keyboard/modifier_keys.h"

namespace kovantis {
namespace {

DeviceKeyAction EncodeKey(uint32_t value)
{
    // A value above 16 bits is no key code and sends nothing.
    const KeyCode code = value <= 0xFFFF ? static_cast<KeyCode>(value) : 0;
    if (const uint8_t bit = code != 0 ? ModifierBitOf(code) : 0) return ModifierAction(bit);
    const auto usage = code != 0 ? KeyCodeToUsage(code) : std::nullopt;
    return KeyboardUsageAction(usage && usage->page == kKeyboardPage ? static_cast<uint8_t>(usage->id) : 0);
}

uint8_t MacroPositionByte(const MacroPositionLookup& macroPositionOf, uint32_t macroId)
{
    const int position = macroPositionOf ? macroPositionOf(macroId) : 0;
    return position >= 0 && position <= 0xFF ? static_cast<uint8_t>(position) : 0;
}

// The record a keymap action stands for, once it differs from the position's default.
KeyAssignment DecodeAction(DeviceKeyAction action)
{
    if (action.Is(DeviceActionType::Macro)) {
        if (action.p1 == kMacroPlay) return MakeAssignment(AssignmentKind::PlayMacro, action.p2 + 1u);
        if (action.p1 == kMacroStop) return MakeAssignment(AssignmentKind::StopMacro);
        if (action.p1 == kMacroFunction) return MakeAssignment(AssignmentKind::Function, action.p2);
    } else if (action.Is(DeviceActionType::Consumer)) {
        if (const auto media = MediaFunctionOfUsage(action.Usage16())) {
            return MakeAssignment(AssignmentKind::Media, static_cast<uint32_t>(*media));
        }
    } else if (action.Is(DeviceActionType::Keyboard)) {
        if (action.p1 == kKeyboardUsage) {
            if (const KeyCode code = UsageToKeyCode(kKeyboardPage, action.p2)) return MakeAssignment(AssignmentKind::Key, code);
        } else if (action.p1 == kKeyboardModifier) {
            return MakeAssignment(AssignmentKind::Key, ModifierOfMask(action.p2));
        }
    }
    return MakeAssignment(AssignmentKind::Disabled);
}

} // namespace

KeyCode DecodeDeviceAction(DeviceKeyAction action)
{
    switch (static_cast<DeviceActionType>(action.type)) {
    case DeviceActionType::Keyboard:
        return action.p1 == kKeyboardUsage ? UsageToKeyCode(kKeyboardPage, action.p2) : ModifierOfMask(action.p2);
    case DeviceActionType::Consumer:
        return UsageToKeyCode(kConsumerPage, action.Usage16());
    case DeviceActionType::GenericDesktop:
        return UsageToKeyCode(kGenericDesktopPage, action.Usage16());
    default:
        return 0;
    }
}

DeviceKeyAction EncodeAssignment(const KeyAssignment& record, DeviceKeyAction defaultAction,
                                 const MacroPositionLookup& macroPositionOf)
{
    switch (record.kind) {
    case AssignmentKind::Disabled:
    case AssignmentKind::TextBlock:
        return NoAction();
    case AssignmentKind::Key:
        return EncodeKey(record.value);
    case AssignmentKind::PlayMacro:
        return PlayMacroAction(MacroPositionByte(macroPositionOf, record.value));
    case AssignmentKind::StopMacro:
        return StopMacroAction();
    case AssignmentKind::Media:
        if (record.value < kMediaFunctionCount) return ConsumerAction(kMediaFunctions[record.value].consumerUsage);
        return defaultAction;
    case AssignmentKind::Function:
        return PerformFunctionAction(static_cast<uint8_t>(record.value));
    case AssignmentKind::Default:
    case AssignmentKind::LaunchProgram:
    default:  // a damaged record: the key keeps its factory function
        return defaultAction;
    }
}

Keymap EncodeKeymap(BankView bank, KeymapView defaultLayout, const MacroPositionLookup& macroPositionOf)
{
    Keymap keymap;
    std::copy(defaultLayout.begin(), defaultLayout.end(), keymap.begin());
    for (int k = 0; k < kKeymapPositions; ++k) {
        const DeviceKeyAction defaultAction = ActionAt(defaultLayout, k);
        const KeyCode code = DecodeDeviceAction(defaultAction);
        if (code == 0) continue;
        SetActionAt(keymap, k, EncodeAssignment(bank[SlotOf(code)], defaultAction, macroPositionOf));
    }
    return keymap;
}

Bank DecodeKeymap(KeymapView keymap, KeymapView defaultLayout)
{
    Bank bank;
    InitBank(bank);
    for (int k = 0; k < kKeymapPositions; ++k) {
        const DeviceKeyAction action = ActionAt(keymap, k);
        const DeviceKeyAction defaultAction = ActionAt(defaultLayout, k);
        if (action == defaultAction) continue;
        const KeyCode code = DecodeDeviceAction(defaultAction);
        if (code == 0) continue;
        // Key records (slots) carry no GKeyId, so the decoded record replaces the whole record.
        bank[SlotOf(code)] = DecodeAction(action);
    }
    return bank;
}

} // namespace kovantis
