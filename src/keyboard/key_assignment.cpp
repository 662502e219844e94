#include "keyboard/key_assignment.h"

namespace kovantis {
namespace {

uint32_t Read(std::span<const uint8_t> bytes, size_t offset, size_t width) {
    uint32_t value = 0;
    for (size_t i = 0; i < width; ++i) value |= static_cast<uint32_t>(bytes[offset + i]) << (8 * i);
    return value;
}

void Write(std::span<uint8_t> bytes, size_t offset, size_t width, uint32_t value) {
    for (size_t i = 0; i < width; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

} // namespace

KeyAssignment ReadKeyAssignment(std::span<const uint8_t, kKeyAssignmentSize> bytes) {
    KeyAssignment record;
    record.kind = static_cast<AssignmentKind>(Read(bytes, offsetof(KeyAssignment, kind), 2));
    record.extra = static_cast<uint16_t>(Read(bytes, offsetof(KeyAssignment, extra), 2));
    record.value = Read(bytes, offsetof(KeyAssignment, value), 4);
    record.reserved1 = Read(bytes, offsetof(KeyAssignment, reserved1), 4);
    record.reserved2 = Read(bytes, offsetof(KeyAssignment, reserved2), 4);
    return record;
}

void WriteKeyAssignment(const KeyAssignment& record, std::span<uint8_t, kKeyAssignmentSize> bytes) {
    Write(bytes, offsetof(KeyAssignment, kind), 2, static_cast<uint16_t>(record.kind));
    Write(bytes, offsetof(KeyAssignment, extra), 2, record.extra);
    Write(bytes, offsetof(KeyAssignment, value), 4, record.value);
    Write(bytes, offsetof(KeyAssignment, reserved1), 4, record.reserved1);
    Write(bytes, offsetof(KeyAssignment, reserved2), 4, record.reserved2);
}

} // namespace kovantis
