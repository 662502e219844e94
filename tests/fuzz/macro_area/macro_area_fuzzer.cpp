// Any bytes as the keyboard's macro area, with any count: decoding never reads past the image
// or writes past a record, and what decodes encodes to an image that decodes the same.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "macros/macro_area.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kovantis;
    if (size < 1) {
        return 0;
    }
    // The first byte picks the count (also beyond the limit); the rest is the image.
    const int count = data[0] == 0xFF ? MacroAreaCountOf({data + 1, size - 1}) : data[0] % 110;
    const std::span<const uint8_t> image(data + 1, size - 1);
    std::vector<MacroRecord> records;
    if (ParseMacroAreaImage(image, count, u"Macro", records) != 1) {
        if (!records.empty()) {
            std::abort();
        }
        return 0;
    }
    if (records.size() != static_cast<size_t>(count)) {
        std::abort();
    }
    const std::vector<uint8_t> rebuilt = BuildMacroAreaImage(records, true);
    if (rebuilt.empty()) {
        return 0;  // larger than a macro area can be
    }
    std::vector<MacroRecord> again;
    if (ParseMacroAreaImage(rebuilt, count, u"Macro", again) != 1 || again.size() != records.size()) {
        std::abort();
    }
    for (size_t i = 0; i < records.size(); ++i) {
        const MacroRecord& a = records[i];
        const MacroRecord& b = again[i];
        if (a.Name() != b.Name() || a.playCount != b.playCount || a.actionCount != b.actionCount || a.id != b.id) {
            std::abort();
        }
        for (int s = 0; s < a.StepCount(); ++s) {
            if (a.actions[s].delay != b.actions[s].delay || a.actions[s].state != b.actions[s].state) {
                std::abort();
            }
        }
    }
    return 0;
}
