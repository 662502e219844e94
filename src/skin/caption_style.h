#pragma once
// How an image button draws its caption: font, colour, rotation, margins and placement flags.

#include <cstdint>
#include <string>

namespace kovantis {

// Placement flags of a caption, combinable like the classic text-drawing flags.
enum CaptionFormat : uint32_t {
    kCaptionLeft = 0x00,
    kCaptionCenter = 0x01,
    kCaptionRight = 0x02,
    kCaptionTop = 0x00,
    kCaptionVCenter = 0x04,
    kCaptionBottom = 0x08,
    kCaptionWordBreak = 0x10,
    kCaptionSingleLine = 0x20,
};

struct CaptionStyle {
    std::u16string face = u"Tahoma";
    int points = 8;
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    int rotationTenths = 0;   // counter-clockwise, tenths of a degree
    bool rotated = false;     // rotated captions are drawn heavy, whatever the angle
    int marginLeft = 0;       // each margin is added to its edge of the client area
    int marginRight = 0;
    int marginTop = 0;
    int marginBottom = 0;
    uint32_t format = kCaptionCenter | kCaptionVCenter | kCaptionSingleLine;
};

// The caption of the skinned windows' buttons: 9 points, white, grey while out of use.
inline CaptionStyle SkinButtonCaption(bool enabled = true)
{
    CaptionStyle style;
    style.points = 9;
    const uint8_t level = enabled ? 255 : 130;
    style.red = style.green = style.blue = level;
    return style;
}

// Font weight on the 1..1000 scale.
constexpr int CaptionWeight(const CaptionStyle& style) { return style.rotated ? 956 : 400; }

// Character height in pixels of `points` at `dotsPerInch`, rounded half away from zero.
constexpr int CaptionPixelHeight(int points, int dotsPerInch)
{
    const long long product = static_cast<long long>(points) * dotsPerInch;
    const long long rounded = product >= 0 ? (product + 36) / 72 : (product - 36) / 72;
    return static_cast<int>(rounded);
}

} // namespace kovantis
