#pragma once
// The key assignments of all banks as one image: a 32-byte header, a 32-byte device descriptor
// block and 4 banks of 512 records. The header describes the file the image heads (macro count,
// string area size, total size, checksum) and is rebuilt at every save.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "keyboard/bank.h"
#include "keyboard/key_assignment.h"

namespace kovantis {

inline constexpr size_t kProfileHeaderSize = 32;
inline constexpr size_t kProfileDescriptorSize = 32;
inline constexpr size_t kProfileRecordsOffset = kImageRecordsOffset;
inline constexpr size_t kProfileImageSize = 32832;
inline constexpr uint16_t kProfileFileMagic = 0x4446;
inline constexpr uint16_t kProfileFileFixed = 3;
inline constexpr uint16_t kProfileFileVersion = 1;
inline constexpr uint16_t kProfileRecordCount = kGlobalRecordCount;

struct ProfileImage {
    std::array<uint8_t, kProfileHeaderSize> header{};
    std::array<uint8_t, kProfileDescriptorSize> descriptor{};
    std::array<KeyAssignment, kProfileRecordCount> records{};

    std::span<KeyAssignment, kRecordsPerBank> Bank(int bank)
    {
        return std::span(records).subspan(static_cast<size_t>(bank) * kRecordsPerBank).first<kRecordsPerBank>();
    }
    std::span<const KeyAssignment, kRecordsPerBank> Bank(int bank) const
    {
        return std::span(records).subspan(static_cast<size_t>(bank) * kRecordsPerBank).first<kRecordsPerBank>();
    }

    friend bool operator==(const ProfileImage&, const ProfileImage&) = default;
};
static_assert(sizeof(KeyAssignment) == 16);
static_assert(offsetof(ProfileImage, descriptor) == kProfileHeaderSize);
static_assert(offsetof(ProfileImage, records) == kProfileRecordsOffset);
static_assert(sizeof(ProfileImage) == kProfileImageSize);

// The header's fields as read.
struct ProfileHeader {
    uint16_t magic = 0;
    uint16_t headerSize = 0;
    uint16_t fixed = 0;
    uint16_t version = 0;
    uint32_t totalSize = 0;
    uint16_t recordCount = 0;
    uint16_t macroCount = 0;
    uint32_t stringAreaSize = 0;
    uint8_t flag = 0;
    uint8_t checksum = 0;
};

ProfileHeader DecodeProfileHeader(std::span<const uint8_t, kProfileHeaderSize> bytes);
// 8-bit sum of bytes 0 to 30.
uint8_t ProfileHeaderChecksum(std::span<const uint8_t, kProfileHeaderSize> bytes);
// The size the header announces for its file, in 64 bits so that no header can wrap it.
uint64_t ProfileFileSize(uint32_t macroCount, uint64_t stringAreaSize);

// The header a save writes: fixed values, n and s, the total, flag 0, checksum.
void BuildProfileHeader(std::span<uint8_t, kProfileHeaderSize> bytes, uint16_t macroCount,
                        uint32_t stringAreaSize);
// The device descriptor block of every new or rebuilt image, with the keyboard's USB ids.
void WriteDescriptorBlock(std::span<uint8_t, kProfileDescriptorSize> bytes, uint16_t vendorId,
                          uint16_t productId);

// A blank image: header with n = 0 and s = 0, descriptor block, records as a blank bank 0 holds
// them (the G-key ids) and every other record zero.
void InitBlankImage(ProfileImage& image, uint16_t vendorId, uint16_t productId);

void EncodeProfileImage(const ProfileImage& image, std::span<uint8_t, kProfileImageSize> out);
void DecodeProfileImage(std::span<const uint8_t, kProfileImageSize> bytes, ProfileImage& out);

} // namespace kovantis
