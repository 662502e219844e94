#include "lighting/profile_block.h"

#include <algorithm>

namespace kovantis {

int ProfileBlock::ReportRate() const
{
    return std::min<int>(bytes[block_field::kReportRate], kMaxReportRate);
}

Rgb ProfileBlock::ColourAt(int offset) const
{
    const auto at = static_cast<size_t>(offset);
    return Rgb{bytes[at], bytes[at + 1], bytes[at + 2]};
}

void ProfileBlock::SetColour(int offset, Rgb colour)
{
    const uint8_t rgb[3] = {colour.r, colour.g, colour.b};
    Store(offset, rgb);
}

void ProfileBlock::Store(int offset, std::span<const uint8_t> data)
{
    if (offset < 0 || offset >= kProfileBlockSize) {
        return;
    }
    const size_t count = std::min(data.size(), static_cast<size_t>(kProfileBlockSize - offset));
    std::copy_n(data.begin(), count, bytes.begin() + offset);
}

} // namespace kovantis
