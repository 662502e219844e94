#pragma once
// The 64-byte command report, requests and replies alike: report id, 16-bit checksum of bytes
// 3 to 63, command, length, 16-bit address, status, 56 data bytes. Multi-byte fields are
// little-endian.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kovantis {

inline constexpr size_t kReportSize = 64;
inline constexpr uint8_t kReportId = 0x04;
inline constexpr size_t kChecksumOffset = 1;
inline constexpr size_t kCommandOffset = 3;
inline constexpr size_t kLengthOffset = 4;
inline constexpr size_t kAddressOffset = 5;
inline constexpr size_t kStatusOffset = 7;
inline constexpr size_t kDataOffset = 8;
static_assert(kReportSize - kDataOffset == 56);

inline constexpr uint8_t kStatusRefusedFF = 0xFF;
inline constexpr uint8_t kStatusRefusedFE = 0xFE;

using ReportBuffer = std::array<uint8_t, kReportSize>;

// Sum of bytes 3 to 63, kept to 16 bits.
inline uint16_t FrameChecksum(std::span<const uint8_t, kReportSize> report)
{
    unsigned sum = 0;
    for (size_t i = kCommandOffset; i < kReportSize; ++i)
        sum += report[i];
    return static_cast<uint16_t>(sum);
}

inline uint16_t ReadLe16(std::span<const uint8_t> bytes, size_t offset)
{
    return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

inline void WriteLe16(std::span<uint8_t> bytes, size_t offset, uint16_t value)
{
    bytes[offset] = static_cast<uint8_t>(value);
    bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

// A request: zeroed, report id, command, length, address, status 0, data, then the checksum.
// data holds at most 56 bytes (callers check).
inline ReportBuffer BuildRequest(uint8_t command, uint8_t length, uint16_t address,
                                 std::span<const uint8_t> data = {})
{
    ReportBuffer r{};
    r[0] = kReportId;
    r[kCommandOffset] = command;
    r[kLengthOffset] = length;
    WriteLe16(r, kAddressOffset, address);
    for (size_t i = 0; i < data.size() && kDataOffset + i < kReportSize; ++i)
        r[kDataOffset + i] = data[i];
    WriteLe16(r, kChecksumOffset, FrameChecksum(r));
    return r;
}

} // namespace kovantis
