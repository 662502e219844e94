#include "macros/macro_record.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <type_traits>

#include "wire/le_bytes.h"

namespace kovantis {

std::u16string MacroRecord::Name() const
{
    const auto end = std::find(name.begin(), name.begin() + kMaxMacroNameLength, u'\0');
    return std::u16string(name.begin(), end);
}

void MacroRecord::SetName(std::u16string_view text)
{
    name.fill(u'\0');
    const size_t length = std::min(text.size(), static_cast<size_t>(kMaxMacroNameLength));
    std::copy_n(text.begin(), length, name.begin());
}

namespace {

// On a little-endian machine the record in memory is its file bytes: no padding, every field
// at its file offset. Copying it whole keeps loading and saving of the largest files cheap.
constexpr bool kRecordIsFileBytes =
    std::endian::native == std::endian::little && std::has_unique_object_representations_v<MacroRecord>;

} // namespace

void EncodeMacroRecord(const MacroRecord& record, std::span<uint8_t, kMacroRecordSize> out)
{
    if constexpr (kRecordIsFileBytes) {
        std::memcpy(out.data(), &record, kMacroRecordSize);
        return;
    }
    for (size_t i = 0; i < record.name.size(); ++i) {
        WriteU16(out, 2 * i, record.name[i]);
    }
    out[500] = record.playCount;
    out[501] = record.reserved501;
    WriteU16(out, 502, record.fresh);
    WriteU16(out, 504, record.reserved504);
    WriteU16(out, 506, record.id);
    WriteU16(out, 508, record.actionCount);
    WriteU16(out, 510, record.reserved510);
    for (size_t i = 0; i < record.actions.size(); ++i) {
        const size_t at = 512 + kMacroActionSize * i;
        WriteU32(out, at, record.actions[i].delay);
        WriteU16(out, at + 4, record.actions[i].key);
        WriteU16(out, at + 6, record.actions[i].state);
    }
}

bool DecodeMacroRecord(std::span<const uint8_t, kMacroRecordSize> bytes, MacroRecord& out)
{
    if constexpr (kRecordIsFileBytes) {
        std::memcpy(&out, bytes.data(), kMacroRecordSize);
        const bool terminated = std::find(out.name.begin(), out.name.end(), u'\0') != out.name.end();
        return terminated && out.actionCount <= kMaxMacroActions;
    }
    bool terminated = false;
    for (size_t i = 0; i < out.name.size(); ++i) {
        out.name[i] = ReadU16(bytes, 2 * i);
        terminated = terminated || out.name[i] == u'\0';
    }
    out.playCount = bytes[500];
    out.reserved501 = bytes[501];
    out.fresh = ReadU16(bytes, 502);
    out.reserved504 = ReadU16(bytes, 504);
    out.id = ReadU16(bytes, 506);
    out.actionCount = ReadU16(bytes, 508);
    out.reserved510 = ReadU16(bytes, 510);
    for (size_t i = 0; i < out.actions.size(); ++i) {
        const size_t at = 512 + kMacroActionSize * i;
        out.actions[i] = {ReadU32(bytes, at), ReadU16(bytes, at + 4), ReadU16(bytes, at + 6)};
    }
    return terminated && out.actionCount <= kMaxMacroActions;
}

MacroRecord NewMacroRecord(std::u16string_view name, std::span<const MacroRecord> inUse)
{
    std::array<bool, kMaxMacros + 1> used{};
    for (const MacroRecord& m : inUse) {
        if (m.id >= 1 && m.id <= kMaxMacros) {
            used[m.id] = true;
        }
    }
    MacroRecord record;
    record.SetName(name);
    record.playCount = 1;
    record.fresh = 1;
    for (uint16_t id = 1; id <= kMaxMacros; ++id) {
        if (!used[id]) {
            record.id = id;
            break;
        }
    }
    return record;
}

} // namespace kovantis
