#pragma once
// Every change the lighting panel makes is one bracketed transfer: begin, one or more writes,
// end. The panel shows the new value whatever the keyboard answers and goes on with the next
// write; whether any exchange failed is asked of the command set afterwards (the user is told).
// The transfer's result is the end command's.

#include <cstdint>
#include <initializer_list>
#include <span>

#include "device/command_set.h"
#include "lighting/key_colour_table.h"
#include "lighting/rgb.h"

namespace kovantis {

template <typename Writes>
int InTransfer(CommandSet& commands, Writes&& writes)
{
    commands.BeginTransfer();
    writes();
    return commands.EndTransfer();
}

// One write of `data` at field `offset` of the profile's lighting block.
int WriteBlockField(CommandSet& commands, int profile, int offset, std::span<const uint8_t> data);
inline int WriteBlockByte(CommandSet& commands, int profile, int offset, uint8_t value)
{
    const uint8_t data[1] = {value};
    return WriteBlockField(commands, profile, offset, data);
}

// The whole colour table of a profile: seven writes of 18 keys (54 bytes).
void WriteKeyColourTable(CommandSet& commands, int profile, std::span<const uint8_t, kKeyColourBytes> table);
// One key's colour.
void WriteKeyColour(CommandSet& commands, int profile, int matrixIndex, Rgb colour);

} // namespace kovantis
