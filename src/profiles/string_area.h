#pragma once
// The string area of a profile file: the texts of launch and text-block records, zero-terminated
// UTF-16LE, back to back in record order; each such record's value field holds its text's byte
// offset in the area.

#include <cstdint>
#include <span>
#include <vector>

#include "keyboard/assignment_strings.h"
#include "keyboard/key_assignment.h"
#include "profiles/profile_image.h"

namespace kovantis {

// Whether a record of this kind owns a text.
constexpr bool CarriesString(AssignmentKind kind)
{
    return kind == AssignmentKind::LaunchProgram || kind == AssignmentKind::TextBlock;
}

// Packs the texts of records 0..2047 and sets each packed record's offset field; records
// without a text keep their field as it was when it points outside the area, and otherwise get
// the area's size (outside it), so that no record takes another's text when the file is read.
std::vector<uint8_t> PackStringArea(std::span<KeyAssignment, kProfileRecordCount> records,
                                    const AssignmentStrings& strings);

// Fills `strings` with the text each launch or text-block record's offset (rounded down to even)
// names in `area`. An offset outside the area gives the record no text; a text ends at its
// terminator or at the end of the area.
void UnpackStringArea(std::span<const KeyAssignment, kProfileRecordCount> records,
                      std::span<const uint8_t> area, AssignmentStrings& strings);

} // namespace kovantis
