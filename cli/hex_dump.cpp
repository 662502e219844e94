#include "cli/hex_dump.h"

#include <cstdio>

namespace kovantis::cli {

std::string HexDump(std::span<const uint8_t> bytes, size_t firstOffset)
{
    std::string text;
    char cell[16];
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i % 16 == 0) {
            std::snprintf(cell, sizeof cell, "%04zx:", firstOffset + i);
            text += cell;
        }
        std::snprintf(cell, sizeof cell, " %02x", bytes[i]);
        text += cell;
        if (i % 16 == 15 || i + 1 == bytes.size())
            text += '\n';
    }
    return text;
}

} // namespace kovantis::cli
