#pragma once
// The shape of a skinned window from its mask picture: every pixel that is not pure white
// belongs to the window. Masks are window-sized BMP files; they are read here row by row into the
// rectangles of the shape, so that the whole picture is never decoded into memory.

#include <optional>
#include <string>
#include <vector>

namespace kovantis {

struct ShapeRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    bool operator==(const ShapeRect&) const = default;
};

// The shape as rectangles in bands: sorted by y, then x; rectangles of one band share y and
// height, bands do not overlap. Empty when every pixel is white. nullopt when the file is not an
// uncompressed 24- or 32-bit BMP that this reader takes (the caller falls back to a general
// picture decoder) or cannot be read.
std::optional<std::vector<ShapeRect>> ReadBmpMaskShape(const std::string& path);

} // namespace kovantis
