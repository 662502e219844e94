#include "profiles/string_area.h"

#include <string>

#include "wire/le_bytes.h"

namespace kovantis {

std::vector<uint8_t> PackStringArea(std::span<KeyAssignment, kProfileRecordCount> records,
                                    const AssignmentStrings& strings)
{
    std::vector<uint8_t> area;
    for (size_t r = 0; r < records.size(); ++r) {
        const int global = static_cast<int>(r);
        const auto text = strings.Text(global);
        if (!CarriesString(records[r].kind) || !text) {
            continue;
        }
        records[r].value = static_cast<uint32_t>(area.size());
        const size_t at = area.size();
        area.resize(at + 2 * (text->size() + 1), 0);
        for (size_t i = 0; i < text->size(); ++i) {
            WriteU16(area, at + 2 * i, (*text)[i]);
        }
    }
    // A record without a text keeps its field, unless the field now points into the area: read
    // back, it would take another record's text.
    for (size_t r = 0; r < records.size(); ++r) {
        if (CarriesString(records[r].kind) && !strings.Text(static_cast<int>(r)) &&
            (records[r].value & ~uint32_t{1}) < area.size()) {
            records[r].value = static_cast<uint32_t>(area.size());
        }
    }
    return area;
}

void UnpackStringArea(std::span<const KeyAssignment, kProfileRecordCount> records,
                      std::span<const uint8_t> area, AssignmentStrings& strings)
{
    for (size_t r = 0; r < records.size(); ++r) {
        if (!CarriesString(records[r].kind)) {
            continue;
        }
        const uint64_t offset = records[r].value & ~uint32_t{1};
        if (offset >= area.size()) {
            continue;
        }
        std::u16string text;
        for (uint64_t at = offset; at + 1 < area.size(); at += 2) {
            const char16_t unit = ReadU16(area, at);
            if (unit == u'\0') {
                break;
            }
            text.push_back(unit);
        }
        strings.Set(static_cast<int>(r), text);
    }
}

} // namespace kovantis
