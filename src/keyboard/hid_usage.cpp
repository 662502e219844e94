#include "keyboard/hid_usage.h"

#include "keyboard/consumer_usage_table.h"
#include "keyboard/key_table.h"

namespace kovantis {
namespace {

constexpr uint8_t kFirstGenericDesktopByte = 0x81;
constexpr uint8_t kLastGenericDesktopByte = 0x83;
constexpr uint8_t kLastConsumerUsageByte = kFirstConsumerUsageByte + kConsumerUsageCount - 1;

constexpr bool IsGenericDesktopByte(unsigned b) { return b >= kFirstGenericDesktopByte && b <= kLastGenericDesktopByte; }

uint8_t UsageByteOf(uint16_t page, uint16_t usage)
{
    switch (page) {
    case kKeyboardPage:
        // Keyboard usages above 0xFF have no slot; none may match a usage byte by truncation.
        return usage <= 0xFF ? static_cast<uint8_t>(usage) : 0;
    case kGenericDesktopPage:
        return IsGenericDesktopByte(usage) ? static_cast<uint8_t>(usage) : 0;
    case kConsumerPage:
        for (int i = 0; i < kConsumerUsageCount; ++i) {
            if (ConsumerUsageTable[i] == usage) return static_cast<uint8_t>(kFirstConsumerUsageByte + i);
        }
        return 0;
    default:
        return 0;
    }
}

} // namespace

std::optional<HidUsage> KeyCodeToUsage(KeyCode code)
{
    const uint8_t b = KeyTableEntryOf(code).usageByte;
    if (b == 0x00 || b == 0xFF) return std::nullopt;
    if (IsGenericDesktopByte(b)) return HidUsage{kGenericDesktopPage, b};
    if (b >= kFirstConsumerUsageByte && b <= kLastConsumerUsageByte) {
        return HidUsage{kConsumerPage, ConsumerUsageTable[b - kFirstConsumerUsageByte]};
    }
    return HidUsage{kKeyboardPage, b};
}

KeyCode UsageToKeyCode(uint16_t page, uint16_t usage)
{
    const uint8_t b = UsageByteOf(page, usage);
    const auto& table = KeyTable();
    for (int slot = 0; slot < kKeySlotCount; ++slot) {
        if (table[slot].usageByte == b) return KeyCodeOfSlot(slot);
    }
    return 0;
}

} // namespace kovantis
