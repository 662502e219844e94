#include "skin/mask_shape.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "platform/regular_file.h"

namespace kovantis {
namespace {

constexpr uint64_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr int32_t kMaxSide = 16384;
constexpr uint32_t kUncompressed = 0;
// Rows are read in pieces of about this many bytes.
constexpr uint64_t kChunkBytes = 256 * 1024;

uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

using Runs = std::vector<std::pair<int, int>>;  // [begin, end) of the shape's pixels in a row

void RunsOfRow(const uint8_t* row, int width, int bytesPerPixel, Runs* runs)
{
    runs->clear();
    int begin = -1;
    for (int x = 0; x < width; ++x) {
        const uint8_t* pixel = row + static_cast<ptrdiff_t>(x) * bytesPerPixel;
        const bool white = pixel[0] == 0xFF && pixel[1] == 0xFF && pixel[2] == 0xFF;
        if (!white && begin < 0) {
            begin = x;
        } else if (white && begin >= 0) {
            runs->emplace_back(begin, x);
            begin = -1;
        }
    }
    if (begin >= 0)
        runs->emplace_back(begin, width);
}

// Rows with the same runs one below the other make one band.
class BandBuilder {
public:
    void AddRow(int y, const Runs& runs)
    {
        if (y == bandTop_ + bandHeight_ && runs == bandRuns_) {
            ++bandHeight_;
            return;
        }
        Flush();
        bandTop_ = y;
        bandHeight_ = 1;
        bandRuns_ = runs;
    }
    std::vector<ShapeRect> Finish()
    {
        Flush();
        return std::move(rects_);
    }

private:
    void Flush()
    {
        for (const auto& [begin, end] : bandRuns_)
            rects_.push_back({begin, bandTop_, end - begin, bandHeight_});
        bandRuns_.clear();
        bandHeight_ = 0;
    }

    int bandTop_ = 0;
    int bandHeight_ = 0;
    Runs bandRuns_;
    std::vector<ShapeRect> rects_;
};

} // namespace

std::optional<std::vector<ShapeRect>> ReadBmpMaskShape(const std::string& path)
{
    FileCheck check;
    const RegularFile file(path, &check);
    uint8_t header[kFileHeaderSize + kInfoHeaderSize];
    if (!file.IsOpen() || !file.ReadAt(0, header) || header[0] != 'B' || header[1] != 'M')
        return std::nullopt;
    const uint8_t* info = header + kFileHeaderSize;
    const uint64_t pixelsAt = Le32(header + 10);
    const int32_t width = static_cast<int32_t>(Le32(info + 4));
    const int32_t height = static_cast<int32_t>(Le32(info + 8));
    const int bitsPerPixel = Le16(info + 14);
    if (Le32(info) < kInfoHeaderSize || Le32(info + 16) != kUncompressed || (bitsPerPixel != 24 && bitsPerPixel != 32) ||
        width <= 0 || width > kMaxSide || height == 0 || height < -kMaxSide || height > kMaxSide)
        return std::nullopt;
    const int rows = std::abs(height);
    const bool bottomUp = height > 0;
    const int bytesPerPixel = bitsPerPixel / 8;
    const uint64_t stride = (static_cast<uint64_t>(width) * bytesPerPixel + 3) & ~uint64_t{3};
    if (pixelsAt < sizeof header || pixelsAt + stride * static_cast<uint64_t>(rows) > file.Size())
        return std::nullopt;

    // Bands are built top to bottom, so a bottom-up file is read from its end.
    const int rowsPerChunk = static_cast<int>(std::max<uint64_t>(1, kChunkBytes / stride));
    std::vector<uint8_t> chunk(stride * static_cast<uint64_t>(std::min(rowsPerChunk, rows)));
    BandBuilder bands;
    Runs runs;
    const size_t rowBytes = static_cast<size_t>(width) * static_cast<size_t>(bytesPerPixel);
    std::vector<uint8_t> previous(rowBytes);
    for (int top = 0; top < rows; top += rowsPerChunk) {
        const int count = std::min(rowsPerChunk, rows - top);
        // The file rows holding image rows top .. top + count - 1.
        const int firstFileRow = bottomUp ? rows - top - count : top;
        const std::span<uint8_t> piece(chunk.data(), stride * static_cast<uint64_t>(count));
        if (!file.ReadAt(pixelsAt + stride * static_cast<uint64_t>(firstFileRow), piece))
            return std::nullopt;
        for (int i = 0; i < count; ++i) {
            const int y = top + i;
            const int inChunk = bottomUp ? count - 1 - i : i;
            const uint8_t* row = chunk.data() + stride * static_cast<uint64_t>(inChunk);
            // Most rows of a window's mask repeat the row above: compared whole, they need no
            // look at each pixel.
            if (y == 0 || !std::equal(row, row + rowBytes, previous.begin())) {
                RunsOfRow(row, width, bytesPerPixel, &runs);
                std::copy(row, row + rowBytes, previous.begin());
            }
            bands.AddRow(y, runs);
        }
    }
    return bands.Finish();
}

} // namespace kovantis
