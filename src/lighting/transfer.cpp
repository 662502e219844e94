#include "lighting/transfer.h"

#include "lighting/profile_block.h"

namespace kovantis {

namespace {

constexpr int kKeysPerWrite = 18;

} // namespace

int WriteBlockField(CommandSet& commands, int profile, int offset, std::span<const uint8_t> data)
{
    return commands.WriteProfileRecord(data, ProfileBlockAddress(profile, offset));
}

void WriteKeyColourTable(CommandSet& commands, int profile, std::span<const uint8_t, kKeyColourBytes> table)
{
    constexpr size_t kChunk = kKeysPerWrite * 3;
    for (int key = 0; key < kKeyColourEntries; key += kKeysPerWrite) {
        commands.WriteKeyColours(table.subspan(static_cast<size_t>(key) * 3, kChunk), key, profile);
    }
}

void WriteKeyColour(CommandSet& commands, int profile, int matrixIndex, Rgb colour)
{
    const uint8_t data[3] = {colour.r, colour.g, colour.b};
    commands.WriteKeyColours(data, matrixIndex, profile);
}

} // namespace kovantis
