#pragma once
// What one key does in one profile: the 16-byte record kept in profile images and files.

#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

namespace kovantis {

// A damaged file may hold any 16-bit value; only 0 to 8 mean something.
enum class AssignmentKind : uint16_t {
    Default = 0,        // the keyboard's own function
    Disabled = 1,
    Key = 2,            // value: the KeyCode sent instead
    LaunchProgram = 3,  // value: in a file, the path's offset in the string area
    PlayMacro = 4,      // value: macro id; extra: the cycle count typed
    StopMacro = 5,
    TextBlock = 6,      // value: as LaunchProgram, for the text to type
    Media = 7,          // value: MediaFunction index
    Function = 8,       // value: FunctionAction index
};

inline constexpr uint16_t kLastAssignmentKind = 8;

constexpr bool IsKnownKind(AssignmentKind kind) { return static_cast<uint16_t>(kind) <= kLastAssignmentKind; }

struct KeyAssignment {
    AssignmentKind kind = AssignmentKind::Default;
    uint16_t extra = 0;  // cycle count of a PlayMacro, else the GKeyId of a G-key record, else 0
    uint32_t value = 0;
    uint32_t reserved1 = 0;
    uint32_t reserved2 = 0;

    friend constexpr bool operator==(const KeyAssignment&, const KeyAssignment&) = default;
};

inline constexpr size_t kKeyAssignmentSize = 16;
static_assert(sizeof(KeyAssignment) == kKeyAssignmentSize);
static_assert(offsetof(KeyAssignment, kind) == 0);
static_assert(offsetof(KeyAssignment, extra) == 2);
static_assert(offsetof(KeyAssignment, value) == 4);
static_assert(offsetof(KeyAssignment, reserved1) == 8);
static_assert(offsetof(KeyAssignment, reserved2) == 12);
static_assert(std::is_trivially_copyable_v<KeyAssignment>);

constexpr KeyAssignment MakeAssignment(AssignmentKind kind, uint32_t value = 0, uint16_t extra = 0)
{
    return {kind, extra, value, 0, 0};
}

// The record as it lies in an image or file, little-endian.
KeyAssignment ReadKeyAssignment(std::span<const uint8_t, kKeyAssignmentSize> bytes);
void WriteKeyAssignment(const KeyAssignment& record, std::span<uint8_t, kKeyAssignmentSize> bytes);

} // namespace kovantis
