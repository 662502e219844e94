#pragma once
// The keyboard's lighting and report-rate block of one on-board profile: 42 bytes at
// profile * 42 of the profile-record space (read with command 0x05, written with 0x06).

#include <array>
#include <cstdint>
#include <span>

#include "device/command_set.h"
#include "lighting/rgb.h"

namespace kovantis {

inline constexpr int kProfileBlockSize = kProfileRecordSize;

// Field offsets inside the block.
namespace block_field {
inline constexpr int kEffectId = 0;
inline constexpr int kBrightness = 1;
inline constexpr int kSpeed = 2;
inline constexpr int kDirection = 3;
inline constexpr int kMulticolour = 4;
inline constexpr int kEffectColour = 5;  // 3 bytes R, G, B
inline constexpr int kReportRate = 15;
inline constexpr int kColourChoice = 17;
inline constexpr int kReactiveMulticolour = 18;
inline constexpr int kTriggerMode = 19;
inline constexpr int kStoneColour = 25;  // "七彩投石", 3 bytes
inline constexpr int kStoneSevenColour = 28;
inline constexpr int kRibbonColour = 30;  // "七彩彩带", 3 bytes
inline constexpr int kRibbonSevenColour = 33;
} // namespace block_field

// Byte 3: the first (left / up / spread) direction picture, or the second one.
inline constexpr uint8_t kDirectionFirst = 0xFF;
inline constexpr uint8_t kDirectionSecond = 0x00;

inline constexpr int kMaxBrightness = 4;
inline constexpr int kMaxSpeed = 3;
inline constexpr int kMaxReportRate = 3;

// What restore writes: bytes 0..34 of a default block, in one write.
inline constexpr int kRestoreLength = 35;
inline constexpr std::array<uint8_t, kRestoreLength> kRestoreBytes = {
    0x01, 0x04, 0x02, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x08, 0xFF, 0xFF, 0xFF,
    0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00,
    0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00};

struct ProfileBlock {
    std::array<uint8_t, kProfileBlockSize> bytes{};

    uint8_t EffectId() const { return bytes[block_field::kEffectId]; }
    uint8_t Brightness() const { return bytes[block_field::kBrightness]; }
    uint8_t Speed() const { return bytes[block_field::kSpeed]; }
    uint8_t Direction() const { return bytes[block_field::kDirection]; }
    bool Multicolour() const { return bytes[block_field::kMulticolour] != 0; }
    Rgb EffectColour() const { return ColourAt(block_field::kEffectColour); }
    // Values above 3 are shown as 3.
    int ReportRate() const;
    uint8_t ColourChoice() const { return bytes[block_field::kColourChoice]; }
    uint8_t ReactiveMulticolour() const { return bytes[block_field::kReactiveMulticolour]; }
    uint8_t TriggerMode() const { return bytes[block_field::kTriggerMode]; }
    Rgb StoneColour() const { return ColourAt(block_field::kStoneColour); }
    bool StoneSevenColour() const { return bytes[block_field::kStoneSevenColour] != 0; }
    Rgb RibbonColour() const { return ColourAt(block_field::kRibbonColour); }
    bool RibbonSevenColour() const { return bytes[block_field::kRibbonSevenColour] != 0; }

    void SetByte(int offset, uint8_t value) { bytes[static_cast<size_t>(offset)] = value; }
    void SetColour(int offset, Rgb colour);
    // Copies `data` to the block at `offset`, as a write of the keyboard would.
    void Store(int offset, std::span<const uint8_t> data);

    friend bool operator==(const ProfileBlock&, const ProfileBlock&) = default;

private:
    Rgb ColourAt(int offset) const;
};

static_assert(sizeof(ProfileBlock) == kProfileBlockSize);

// Address of a field of a profile's block: profile * 42 + offset.
constexpr int ProfileBlockAddress(int profile, int offset)
{
    return profile * kProfileBlockSize + offset;
}

} // namespace kovantis
