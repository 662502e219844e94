#pragma once
// The 64-byte command report as the keyboard sees it: field offsets, the checksum and
// little-endian access to the 16-bit fields.

#include <cstddef>
#include <cstdint>
#include <span>

namespace kovantis::vkbd {

inline constexpr size_t kReportSize = 64;
inline constexpr uint8_t kReportId = 0x04;
inline constexpr size_t kChecksumOffset = 1;
inline constexpr size_t kCommandOffset = 3;
inline constexpr size_t kLengthOffset = 4;
inline constexpr size_t kAddressOffset = 5;
inline constexpr size_t kStatusOffset = 7;
inline constexpr size_t kDataOffset = 8;
inline constexpr size_t kMaxDataLength = kReportSize - kDataOffset;
static_assert(kMaxDataLength == 56);

inline constexpr uint8_t kStatusOk = 0x00;
inline constexpr uint8_t kStatusRefused = 0xFF;
inline constexpr uint8_t kStatusBusy = 0xFE;

inline uint16_t ReadU16(std::span<const uint8_t> bytes, size_t offset) {
    return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

inline void WriteU16(std::span<uint8_t> bytes, size_t offset, uint16_t value) {
    bytes[offset] = static_cast<uint8_t>(value & 0xFF);
    bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

// Sum of bytes 3 to 63, kept to 16 bits.
inline uint16_t ReportChecksum(std::span<const uint8_t, kReportSize> report) {
    uint32_t sum = 0;
    for (size_t i = kCommandOffset; i < kReportSize; ++i) {
        sum += report[i];
    }
    return static_cast<uint16_t>(sum & 0xFFFF);
}

inline void SealReport(std::span<uint8_t, kReportSize> report) {
    WriteU16(report, kChecksumOffset, ReportChecksum(report));
}

} // namespace kovantis::vkbd
