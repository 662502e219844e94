#include "vkbd/keyboard_defaults.h"

namespace kovantis::vkbd {

std::array<uint8_t, kEffectListSize> DefaultEffectList()
{
    std::array<uint8_t, kEffectListSize> list{};
    size_t slot = 0;
    for (uint8_t id = 1; id <= 18; ++id) {
        list[slot++] = id;
    }
    list[slot] = 20;
    return list;
}

std::array<uint8_t, kProfileRecordSize> DefaultLightingRecord(int profile)
{
    // The same bytes the program's restore writes for 0..34; 35..41 belong to the firmware.
    std::array<uint8_t, kProfileRecordSize> record{
        0x01, 0x04, 0x02, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x08, 0xFF, 0xFF, 0xFF, 0xFF, 0x00,
        0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF,
        0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    constexpr std::array<uint8_t, 3> kEffectOfProfile{1, 6, 20};  // wave, static, per-key
    if (profile >= 0 && profile < 3) {
        record[0] = kEffectOfProfile[static_cast<size_t>(profile)];
    }
    return record;
}

} // namespace kovantis::vkbd
