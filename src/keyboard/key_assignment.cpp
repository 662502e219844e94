#include "keyboard/key_assignment.h"

#include "wire/le_bytes.h"

namespace kovantis {

KeyAssignment ReadKeyAssignment(std::span<const uint8_t, kKeyAssignmentSize> bytes)
{
    KeyAssignment record;
    record.kind = static_cast<AssignmentKind>(ReadU16(bytes, offsetof(KeyAssignment, kind)));
    record.extra = ReadU16(bytes, offsetof(KeyAssignment, extra));
    record.value = ReadU32(bytes, offsetof(KeyAssignment, value));
    record.reserved1 = ReadU32(bytes, offsetof(KeyAssignment, reserved1));
    record.reserved2 = ReadU32(bytes, offsetof(KeyAssignment, reserved2));
    return record;
}

void WriteKeyAssignment(const KeyAssignment& record, std::span<uint8_t, kKeyAssignmentSize> bytes)
{
    WriteU16(bytes, offsetof(KeyAssignment, kind), static_cast<uint16_t>(record.kind));
    WriteU16(bytes, offsetof(KeyAssignment, extra), record.extra);
    WriteU32(bytes, offsetof(KeyAssignment, value), record.value);
    WriteU32(bytes, offsetof(KeyAssignment, reserved1), record.reserved1);
    WriteU32(bytes, offsetof(KeyAssignment, reserved2), record.reserved2);
}

} // namespace kovantis
