#pragma once
// Consumer page usages by key-table usage byte: a usage byte 0xC0 + i names entry i.

#include <array>
#include <cstdint>

namespace kovantis {

inline constexpr int kConsumerUsageCount = 32;
inline constexpr uint8_t kFirstConsumerUsageByte = 0xC0;

// Entries 18 to 31 are unused: the zoom and office keys that point there have no consumer usage.
inline constexpr std::array<uint16_t, kConsumerUsageCount> ConsumerUsageTable = {
    0x0E9, 0x0EA, 0x183, 0x18A, 0x192, 0x194, 0x221, 0x223, 0x224,
    0x225, 0x226, 0x227, 0x22A, 0x0E2, 0x0CD, 0x0B7, 0x0B6, 0x0B5,
};

} // namespace kovantis
