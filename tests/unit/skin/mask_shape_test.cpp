// Window masks read row by row into the rectangles of the window's shape.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

#include "skin/mask_shape.h"

namespace kovantis {
namespace {

namespace fs = std::filesystem;

void Put32(std::string& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A BMP whose pixel (x, y) (y from the top) is inside when `inside(x, y)`: black there, white
// elsewhere; the padding bytes are left white, the fourth byte of 32-bit pixels zero.
std::string Bmp(int width, int height, int bits, bool topDown, const std::function<bool(int, int)>& inside)
{
    const int bytesPerPixel = bits / 8;
    const size_t stride = (static_cast<size_t>(width) * bytesPerPixel + 3) & ~size_t{3};
    std::string bytes(54 + stride * height, '\xFF');
    bytes[0] = 'B';
    bytes[1] = 'M';
    Put32(bytes, 2, static_cast<uint32_t>(bytes.size()));
    Put32(bytes, 6, 0);
    Put32(bytes, 10, 54);
    Put32(bytes, 14, 40);
    Put32(bytes, 18, static_cast<uint32_t>(width));
    Put32(bytes, 22, static_cast<uint32_t>(topDown ? -height : height));
    bytes[26] = 1;
    bytes[27] = 0;
    bytes[28] = static_cast<char>(bits);
    bytes[29] = 0;
    for (size_t at : {30, 34, 38, 42, 46, 50})
        Put32(bytes, at, 0);
    for (int y = 0; y < height; ++y) {
        const int fileRow = topDown ? y : height - 1 - y;
        for (int x = 0; x < width; ++x) {
            char* pixel = bytes.data() + 54 + stride * fileRow + static_cast<size_t>(x) * bytesPerPixel;
            const char value = inside(x, y) ? '\0' : '\xFF';
            pixel[0] = pixel[1] = pixel[2] = value;
            if (bytesPerPixel == 4)
                pixel[3] = '\0';
        }
    }
    return bytes;
}

class MaskFile {
public:
    explicit MaskFile(const std::string& bytes)
        : path_(fs::temp_directory_path() / ("kovantis-mask-" + std::to_string(::getpid()) + "-" + std::to_string(next_++)))
    {
        std::ofstream(path_, std::ios::binary) << bytes;
    }
    ~MaskFile() { fs::remove(path_); }
    std::string Path() const { return path_.string(); }

private:
    static inline int next_ = 0;
    fs::path path_;
};

// Every pixel of the picture against the rectangles: each inside pixel in exactly one of them.
void ExpectShape(const std::vector<ShapeRect>& rects, int width, int height, const std::function<bool(int, int)>& inside)
{
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int covering = 0;
            for (const ShapeRect& r : rects)
                covering += x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
            ASSERT_EQ(covering, inside(x, y) ? 1 : 0) << "pixel " << x << "," << y;
        }
    }
    for (size_t i = 1; i < rects.size(); ++i) {
        const ShapeRect& a = rects[i - 1];
        const ShapeRect& b = rects[i];
        // Banded: the same band side by side, else the next band strictly below.
        EXPECT_TRUE((a.y == b.y && a.h == b.h && a.x + a.w < b.x) || b.y >= a.y + a.h) << i;
    }
}

TEST(MaskShape, EveryPixelThatIsNotWhiteInBandsWhateverTheRowOrderAndDepth)
{
    // A window with cut corners and a hole in the middle, and a lone pixel on the right edge.
    const int width = 37;
    const int height = 23;
    const auto inside = [](int x, int y) {
        const bool corner = (x + y < 4) || (36 - x + y < 4) || (x + 22 - y < 4);
        const bool hole = x >= 10 && x < 20 && y >= 8 && y < 12;
        return (!corner && !hole) || (x == 36 && y == 0);
    };
    for (const int bits : {24, 32}) {
        for (const bool topDown : {false, true}) {
            const MaskFile file(Bmp(width, height, bits, topDown, inside));
            const auto shape = ReadBmpMaskShape(file.Path());
            ASSERT_TRUE(shape) << bits << (topDown ? " top-down" : " bottom-up");
            ExpectShape(*shape, width, height, inside);
        }
    }
    // Rows that repeat each other merge: a plain rectangle is one rectangle.
    const MaskFile plain(Bmp(1200, 700, 24, false, [](int, int) { return true; }));
    EXPECT_EQ(ReadBmpMaskShape(plain.Path()), (std::vector<ShapeRect>{{0, 0, 1200, 700}}));
    const MaskFile white(Bmp(5, 4, 24, false, [](int, int) { return false; }));
    EXPECT_EQ(ReadBmpMaskShape(white.Path()), std::vector<ShapeRect>{});
}

TEST(MaskShape, WhatThisReaderDoesNotTakeIsLeftToTheGeneralDecoder)
{
    const std::string good = Bmp(8, 6, 24, false, [](int x, int) { return x < 4; });
    const auto changed = [&](size_t at, uint32_t value) {
        std::string bytes = good;
        Put32(bytes, at, value);
        return bytes;
    };
    std::string eightBit = good;
    eightBit[28] = 8;
    for (const std::string& bytes : {good.substr(0, good.size() - 1),  // truncated pixels
                                     good.substr(0, 30),                // truncated header
                                     std::string("\x89PNG\r\n\x1a\n") + good.substr(8),
                                     changed(30, 1),                    // run-length compressed
                                     changed(14, 12),                   // old core header
                                     changed(18, 0),                    // no width
                                     changed(18, 100000),               // absurd width
                                     changed(10, 5),                    // pixels inside the header
                                     eightBit, std::string()}) {
        const MaskFile file(bytes);
        EXPECT_FALSE(ReadBmpMaskShape(file.Path()));
    }
    EXPECT_FALSE(ReadBmpMaskShape("/nonexistent/mask.bmp"));
    EXPECT_FALSE(ReadBmpMaskShape(fs::temp_directory_path().string())) << "a folder";
}

} // namespace
} // namespace kovantis
