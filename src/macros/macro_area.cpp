#include "macros/macro_area.h"

#include <algorithm>
#include <string>

#include "wire/le_bytes.h"
#include "macros/macro_key_action.h"

namespace kovantis {
namespace {

constexpr uint32_t kEntryHead = 4;
constexpr uint32_t kEncodedActionSize = 4;
constexpr uint32_t kMaxEncodedDelayUnits = 0x0FFF;

uint32_t EntrySize(const MacroRecord& record, bool withNames)
{
    const uint32_t steps = static_cast<uint32_t>(record.StepCount());
    const uint32_t nameBytes = withNames ? 2 * static_cast<uint32_t>(record.Name().size()) : 0;
    return kEntryHead + kEncodedActionSize * steps + nameBytes;
}

} // namespace

EncodedMacroAction EncodeMacroAction(const MacroAction& action)
{
    const DeviceKeyAction key = MacroKeyActionOf(action.key);
    EncodedMacroAction encoded;
    // The word holds at most 4095 units of 10 ms; a longer pause plays as the longest one
    // rather than wrapping round to a short one.
    encoded.word = static_cast<uint16_t>(std::min<uint32_t>(action.delay / 10, kMaxEncodedDelayUnits));
    encoded.word = static_cast<uint16_t>(encoded.word | ((key.type & 7u) << 12));
    if (action.state != kMacroRelease) {
        encoded.word = static_cast<uint16_t>(encoded.word | 0x8000);
    }
    encoded.b2 = key.p1;
    encoded.b3 = key.p2;
    return encoded;
}

MacroAction DecodeMacroAction(EncodedMacroAction encoded)
{
    MacroAction action;
    action.delay = (encoded.word & 0x0FFFu) * 10u;
    const DeviceKeyAction key{static_cast<uint8_t>((encoded.word >> 12) & 7), encoded.b2, encoded.b3};
    action.key = MacroKeyCodeOf(key);
    action.state = (encoded.word & 0x8000) != 0 ? kMacroPress : kMacroRelease;
    return action;
}

MacroAreaSizes MeasureMacroAreaImage(std::span<const MacroRecord> macros)
{
    MacroAreaSizes sizes;
    sizes.withoutNames = kMacroAreaHeaderSize + 2 * static_cast<uint32_t>(macros.size());
    sizes.withNames = sizes.withoutNames;
    for (const MacroRecord& record : macros) {
        sizes.withoutNames += EntrySize(record, false);
        sizes.withNames += EntrySize(record, true);
    }
    return sizes;
}

std::vector<uint8_t> BuildMacroAreaImage(std::span<const MacroRecord> macros, bool withNames)
{
    const MacroAreaSizes sizes = MeasureMacroAreaImage(macros);
    const uint32_t total = withNames ? sizes.withNames : sizes.withoutNames;
    if (total > kMacroAreaMaxSize || macros.size() > static_cast<size_t>(kMaxMacros)) {
        return {};
    }
    std::vector<uint8_t> image(total, 0);
    WriteU16(image, 0, kMacroAreaMagic);
    WriteU16(image, 2, static_cast<uint16_t>(total));
    WriteU16(image, 4, static_cast<uint16_t>(macros.size()));
    WriteU16(image, 6, withNames ? 1 : 0);

    uint32_t offset = kMacroAreaHeaderSize + 2 * static_cast<uint32_t>(macros.size());
    for (size_t i = 0; i < macros.size(); ++i) {
        const MacroRecord& record = macros[i];
        const std::u16string name = withNames ? record.Name() : std::u16string();
        WriteU16(image, kMacroAreaHeaderSize + 2 * i, static_cast<uint16_t>(offset));
        WriteU16(image, offset, static_cast<uint16_t>(record.StepCount()));
        image[offset + 2] = record.playCount;
        image[offset + 3] = static_cast<uint8_t>(name.size());
        offset += kEntryHead;
        for (const MacroAction& action : record.Steps()) {
            const EncodedMacroAction encoded = EncodeMacroAction(action);
            WriteU16(image, offset, encoded.word);
            image[offset + 2] = encoded.b2;
            image[offset + 3] = encoded.b3;
            offset += kEncodedActionSize;
        }
        for (char16_t unit : name) {
            WriteU16(image, offset, unit);
            offset += 2;
        }
    }
    return image;
}

int ParseMacroAreaImage(std::span<const uint8_t> image, int count, std::u16string_view namePrefix,
                        std::vector<MacroRecord>& out)
{
    out.clear();
    if (count < 0 || count > kMaxMacros) {
        return 0;
    }
    const uint64_t size = image.size();
    if (size < kMacroAreaHeaderSize + 2ull * static_cast<uint64_t>(count)) {
        return 0;
    }
    std::vector<MacroRecord> records;
    try {
        records.resize(static_cast<size_t>(count));
    } catch (const std::bad_alloc&) {
        return 0;
    }
    for (int i = 0; i < count; ++i) {
        const uint64_t entry = ReadU16(image, kMacroAreaHeaderSize + 2 * static_cast<size_t>(i));
        if (entry + kEntryHead > size) {
            return 0;
        }
        const uint32_t steps = ReadU16(image, entry);
        const uint32_t nameLength = image[entry + 3];
        const uint64_t end = entry + kEntryHead + kEncodedActionSize * uint64_t{steps} + 2ull * nameLength;
        if (steps > kMaxMacroActions || nameLength > kMaxMacroNameLength || end > size) {
            return 0;
        }
        MacroRecord& record = records[static_cast<size_t>(i)];
        record.playCount = image[entry + 2];
        record.id = static_cast<uint16_t>(i + 1);
        record.actionCount = static_cast<uint16_t>(steps);
        size_t at = entry + kEntryHead;
        for (uint32_t s = 0; s < steps; ++s, at += kEncodedActionSize) {
            record.actions[s] = DecodeMacroAction({ReadU16(image, at), image[at + 2], image[at + 3]});
        }
        std::u16string name;
        for (uint32_t u = 0; u < nameLength; ++u, at += 2) {
            name.push_back(ReadU16(image, at));
        }
        name.resize(std::min(name.size(), name.find(u'\0')));
        if (name.empty()) {
            // No stored name (or one that is empty up to its first NUL): named by position.
            name = namePrefix;
            for (char c : std::to_string(i + 1)) {
                name.push_back(static_cast<char16_t>(c));
            }
        }
        record.SetName(name);
    }
    out = std::move(records);
    return 1;
}

int MacroAreaCountOf(std::span<const uint8_t> head)
{
    if (head.size() < kMacroAreaHeaderSize || ReadU16(head, 0) != kMacroAreaMagic) {
        return -1;
    }
    return ReadU16(head, 4);
}

uint32_t MacroAreaTotalOf(std::span<const uint8_t> head)
{
    return head.size() < kMacroAreaHeaderSize ? 0 : ReadU16(head, 2);
}

} // namespace kovantis
