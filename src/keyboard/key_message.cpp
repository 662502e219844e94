#include "keyboard/key_message.h"

#include "keyboard/key_table.h"
#include "keyboard/virtual_key_table.h"

namespace kovantis {

KeyCode KeyCodeFromMessage(uint32_t vk, uint32_t data)
{
    const uint8_t vkByte = static_cast<uint8_t>(vk & 0xFF);
    const uint8_t vkSlot = VirtualKeyTable()[vkByte];
    const KeyCode byVk = vkSlot != 0 ? KeyCodeOfSlot(vkSlot) : 0;
    const KeyCode scan = ScanOfKeyData(data);

    // Right Shift comes with or without the extended flag, depending on who reports it.
    if (scan == keys::kRightShift || scan == (keys::kRightShift | kExtendedKeyFlag)) return keys::kRightShift;
    if (vkByte == 0xFF) return scan;
    if ((scan & 0xFF) == 0) return byVk;
    const KeyTableEntry& entry = KeyTableEntryOf(scan);
    // The secondary VK lets a keypad digit pressed with Num Lock off stay the keypad key.
    if (entry.primaryVk == vkByte || entry.secondaryVk == vkByte) return scan;
    if (vkSlot == (scan & 0xFF)) return scan;
    return byVk;
}

} // namespace kovantis
