#pragma once
// The keyboard's macro area: every macro of the list, in list order, as the keyboard stores and
// plays them. Sizes and offsets are computed in 32 bits so that an oversized list can never wrap
// round and look small; only an image that fits the 16-bit fields is ever built.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "macros/macro_record.h"

namespace kovantis {

inline constexpr uint16_t kMacroAreaMagic = 0x55AA;
inline constexpr uint32_t kMacroAreaHeaderSize = 16;
inline constexpr uint32_t kMacroAreaMaxSize = 0xFFFF;

struct MacroAreaSizes {
    uint32_t withNames = 0;
    uint32_t withoutNames = 0;
};

// The encoded step: bits 0-11 delay / 10, bits 12-14 usage class, bit 15 press; then the two
// bytes of the key's action.
struct EncodedMacroAction {
    uint16_t word = 0;
    uint8_t b2 = 0;
    uint8_t b3 = 0;
};

EncodedMacroAction EncodeMacroAction(const MacroAction& action);
MacroAction DecodeMacroAction(EncodedMacroAction encoded);

MacroAreaSizes MeasureMacroAreaImage(std::span<const MacroRecord> macros);

// The whole image with or without names. Empty when it would not fit the 16-bit total.
std::vector<uint8_t> BuildMacroAreaImage(std::span<const MacroRecord> macros, bool withNames);

// Decodes `count` entries of an image into fresh records (ids 1, 2, ... in image order; nameless
// entries are named namePrefix + position + 1). Gives 1, or 0 when the image breaks any limit of
// the records or points outside itself; `out` is then left empty.
int ParseMacroAreaImage(std::span<const uint8_t> image, int count, std::u16string_view namePrefix,
                        std::vector<MacroRecord>& out);

// The count of a macro area's 16-byte head, or -1 when the head does not carry the mark.
int MacroAreaCountOf(std::span<const uint8_t> head);
uint32_t MacroAreaTotalOf(std::span<const uint8_t> head);

} // namespace kovantis
