#include "profiles/profile_image.h"

#include <algorithm>

#include "wire/le_bytes.h"
#include "macros/macro_record.h"

namespace kovantis {
namespace {

constexpr std::array<uint8_t, 16> kDescriptorHead = {0x4B, 0x48, 0x20, 0x00, 0x20, 0x80, 0x00, 0x00,
                                                     0x04, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00};
constexpr std::array<uint8_t, 4> kDescriptorTail = {0x4F, 0x1C, 0x0E, 0x00};

std::span<uint8_t, kKeyAssignmentSize> RecordBytes(std::span<uint8_t, kProfileImageSize> image, size_t r)
{
    return image.subspan(kProfileRecordsOffset + kKeyAssignmentSize * r).first<kKeyAssignmentSize>();
}

} // namespace

ProfileHeader DecodeProfileHeader(std::span<const uint8_t, kProfileHeaderSize> bytes)
{
    ProfileHeader h;
    h.magic = ReadU16(bytes, 0);
    h.headerSize = ReadU16(bytes, 2);
    h.fixed = ReadU16(bytes, 4);
    h.version = ReadU16(bytes, 6);
    h.totalSize = ReadU32(bytes, 8);
    h.recordCount = ReadU16(bytes, 12);
    h.macroCount = ReadU16(bytes, 14);
    h.stringAreaSize = ReadU32(bytes, 16);
    h.flag = bytes[30];
    h.checksum = bytes[31];
    return h;
}

uint8_t ProfileHeaderChecksum(std::span<const uint8_t, kProfileHeaderSize> bytes)
{
    unsigned sum = 0;
    for (size_t i = 0; i < kProfileHeaderSize - 1; ++i) {
        sum += bytes[i];
    }
    return static_cast<uint8_t>(sum);
}

uint64_t ProfileFileSize(uint32_t macroCount, uint64_t stringAreaSize)
{
    return uint64_t{macroCount} * kMacroRecordSize + stringAreaSize + kProfileImageSize;
}

void BuildProfileHeader(std::span<uint8_t, kProfileHeaderSize> bytes, uint16_t macroCount,
                        uint32_t stringAreaSize)
{
    std::fill(bytes.begin(), bytes.end(), uint8_t{0});
    WriteU16(bytes, 0, kProfileFileMagic);
    WriteU16(bytes, 2, static_cast<uint16_t>(kProfileHeaderSize));
    WriteU16(bytes, 4, kProfileFileFixed);
    WriteU16(bytes, 6, kProfileFileVersion);
    WriteU32(bytes, 8, static_cast<uint32_t>(ProfileFileSize(macroCount, stringAreaSize)));
    WriteU16(bytes, 12, kProfileRecordCount);
    WriteU16(bytes, 14, macroCount);
    WriteU32(bytes, 16, stringAreaSize);
    bytes[31] = ProfileHeaderChecksum(bytes);
}

void WriteDescriptorBlock(std::span<uint8_t, kProfileDescriptorSize> bytes, uint16_t vendorId,
                          uint16_t productId)
{
    std::fill(bytes.begin(), bytes.end(), uint8_t{0});
    std::copy(kDescriptorHead.begin(), kDescriptorHead.end(), bytes.begin());
    WriteU16(bytes, 16, vendorId);
    WriteU16(bytes, 18, productId);
    std::copy(kDescriptorTail.begin(), kDescriptorTail.end(), bytes.begin() + 20);
}

void InitBlankImage(ProfileImage& image, uint16_t vendorId, uint16_t productId)
{
    BuildProfileHeader(image.header, 0, 0);
    WriteDescriptorBlock(image.descriptor, vendorId, productId);
    image.records.fill(KeyAssignment{});
    InitBank(image.Bank(0));
}

void EncodeProfileImage(const ProfileImage& image, std::span<uint8_t, kProfileImageSize> out)
{
    std::copy(image.header.begin(), image.header.end(), out.begin());
    std::copy(image.descriptor.begin(), image.descriptor.end(), out.begin() + kProfileHeaderSize);
    for (size_t r = 0; r < image.records.size(); ++r) {
        WriteKeyAssignment(image.records[r], RecordBytes(out, r));
    }
}

void DecodeProfileImage(std::span<const uint8_t, kProfileImageSize> bytes, ProfileImage& out)
{
    std::copy_n(bytes.begin(), kProfileHeaderSize, out.header.begin());
    std::copy_n(bytes.begin() + kProfileHeaderSize, kProfileDescriptorSize, out.descriptor.begin());
    for (size_t r = 0; r < out.records.size(); ++r) {
        out.records[r] = ReadKeyAssignment(
            bytes.subspan(kProfileRecordsOffset + kKeyAssignmentSize * r).first<kKeyAssignmentSize>());
    }
}

} // namespace kovantis
