#pragma once
// A macro: a named list of key presses and releases, each followed by a pause. The record's
// bytes are also the macro part of every profile file, so its layout is fixed.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace kovantis {

inline constexpr int kMaxMacros = 100;
inline constexpr int kMaxMacroActions = 2000;
inline constexpr int kMacroNameUnits = 250;        // including the terminator
inline constexpr int kMaxMacroNameLength = 249;
inline constexpr uint32_t kMaxMacroDelayMs = 40000;
inline constexpr size_t kMacroActionSize = 8;
inline constexpr size_t kMacroRecordSize = 16512;

// State of a step.
inline constexpr uint16_t kMacroPress = 0;
inline constexpr uint16_t kMacroRelease = 1;

struct MacroAction {
    uint32_t delay = 0;  // ms after this step, 0..40000
    uint16_t key = 0;    // KeyCode
    uint16_t state = 0;  // kMacroPress or kMacroRelease

    friend bool operator==(const MacroAction&, const MacroAction&) = default;
};
static_assert(sizeof(MacroAction) == kMacroActionSize);
static_assert(offsetof(MacroAction, delay) == 0);
static_assert(offsetof(MacroAction, key) == 4);
static_assert(offsetof(MacroAction, state) == 6);

struct MacroRecord {
    std::array<char16_t, kMacroNameUnits> name{};  // NUL-terminated, zero after the terminator
    uint8_t playCount = 0;                         // 1..255
    uint8_t reserved501 = 0;
    uint16_t fresh = 0;        // 1 while created in the open editor and not yet committed
    uint16_t reserved504 = 0;  // kept as read from a file
    uint16_t id = 0;           // 1..100, what play-macro assignments store
    uint16_t actionCount = 0;  // 0..2000
    uint16_t reserved510 = 0;
    std::array<MacroAction, kMaxMacroActions> actions{};

    // The name up to its terminator (never more than 249 units).
    std::u16string Name() const;
    // Sets the name, cut to 249 units; the units after the terminator become 0.
    void SetName(std::u16string_view text);
    // The steps that count: the action count, never more than the record holds.
    int StepCount() const { return actionCount > kMaxMacroActions ? kMaxMacroActions : actionCount; }
    std::span<const MacroAction> Steps() const { return std::span(actions).first(static_cast<size_t>(StepCount())); }

    friend bool operator==(const MacroRecord&, const MacroRecord&) = default;
};
static_assert(sizeof(MacroRecord) == kMacroRecordSize);
static_assert(offsetof(MacroRecord, name) == 0);
static_assert(offsetof(MacroRecord, playCount) == 500);
static_assert(offsetof(MacroRecord, reserved501) == 501);
static_assert(offsetof(MacroRecord, fresh) == 502);
static_assert(offsetof(MacroRecord, reserved504) == 504);
static_assert(offsetof(MacroRecord, id) == 506);
static_assert(offsetof(MacroRecord, actionCount) == 508);
static_assert(offsetof(MacroRecord, reserved510) == 510);
static_assert(offsetof(MacroRecord, actions) == 512);
static_assert(std::is_trivially_copyable_v<MacroRecord>);

// The record's file bytes.
void EncodeMacroRecord(const MacroRecord& record, std::span<uint8_t, kMacroRecordSize> out);
// A record from file bytes, exactly as stored. False (and `out` unspecified) when the bytes
// break the record's own limits: more than 2000 steps or a name without a terminator.
bool DecodeMacroRecord(std::span<const uint8_t, kMacroRecordSize> bytes, MacroRecord& out);

// The macro a play-macro assignment's value names: ids are 16-bit, the value's high half is
// ignored wherever a macro is looked up by it.
constexpr uint16_t MacroIdOfValue(uint32_t value) { return static_cast<uint16_t>(value & 0xFFFF); }

// A zeroed record with the name (cut to 249 units), play count 1, fresh flag 1 and the lowest id
// in 1..100 that no record of `inUse` carries (0 when all are taken).
MacroRecord NewMacroRecord(std::u16string_view name, std::span<const MacroRecord> inUse);

} // namespace kovantis
