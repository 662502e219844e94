#include "keyboard/virtual_key_table.h"

#include <utility>

#include "keyboard/key_code.h"
#include "keyboard/key_table.h"

namespace kovantis {
namespace {

constexpr std::pair<uint8_t, KeyCode> kExceptions[] = {
    {0x10, keys::kShift}, {0x11, keys::kCtrl}, {0x12, keys::kAlt},
    {0x2C, keys::kPrintScreen},
    {0x8B, 0x152}, {0x8C, 0x153},
    {0x9C, 0x154}, {0x9D, 0x155},  // empty slots
};

constexpr uint8_t kNone[] = {0x01, 0x02, 0x04, 0x88, 0x89, 0x8A, 0x97, 0x98, 0x99, 0x9A, 0x9B, 0x9E, 0x9F, 0xFF};

VirtualKeyTableEntries Build()
{
    VirtualKeyTableEntries table{};
    const auto& keys = KeyTable();
    for (int slot = kKeySlotCount - 1; slot > 0; --slot) {
        const uint8_t vk = keys[slot].primaryVk;
        if (vk != 0) table[vk] = static_cast<uint8_t>(slot);  // walking down leaves the first slot
    }
    for (const auto& [vk, code] : kExceptions) table[vk] = static_cast<uint8_t>(SlotOf(code));
    for (uint8_t vk : kNone) table[vk] = 0;
    return table;
}

} // namespace

const VirtualKeyTableEntries& VirtualKeyTable()
{
    static const VirtualKeyTableEntries table = Build();
    return table;
}

} // namespace kovantis
