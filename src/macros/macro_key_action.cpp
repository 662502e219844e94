#include "macros/macro_key_action.h"

#include "keyboard/hid_usage.h"
#include "keyboard/modifier_keys.h"
#include "keyboard/keymap_codec.h"

namespace kovantis {

DeviceKeyAction MacroKeyActionOf(KeyCode key)
{
    const std::optional<HidUsage> usage = KeyCodeToUsage(key);
    if (!usage) {
        return NoAction();
    }
    switch (usage->page) {
    case kKeyboardPage:
        if (const uint8_t bit = ModifierBitOf(key); bit != 0) {
            return ModifierAction(bit);
        }
        return KeyboardUsageAction(static_cast<uint8_t>(usage->id));
    case kConsumerPage:
        return ConsumerAction(usage->id);
    case kGenericDesktopPage:
        return {static_cast<uint8_t>(DeviceActionType::GenericDesktop), static_cast<uint8_t>(usage->id & 0xFF),
                static_cast<uint8_t>(usage->id >> 8)};
    default:
        return NoAction();
    }
}

KeyCode MacroKeyCodeOf(DeviceKeyAction action) { return DecodeDeviceAction(action); }

} // namespace kovantis
