#pragma once
// The 64-byte command report, requests and replies alike, as the program builds it and the
// keyboard reads it: report id, 16-bit checksum of bytes 3 to 63, command, length, 16-bit
// address, status, 56 data bytes. Multi-byte fields are little-endian. Header-only, so that the
// virtual keyboard computes the very checksum the program does without depending on the
// program's device layer.

#include <cstddef>
#include <cstdint>
#include <span>

#include "wire/le_bytes.h"

namespace kovantis {

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

// Command codes; a reply repeats the request's.
enum CommandCode : uint8_t {
    kCmdBeginTransfer = 0x01,
    kCmdEndTransfer = 0x02,
    kCmdReadSettings = 0x03,
    kCmdWriteSettings = 0x04,
    kCmdReadProfileRecord = 0x05,
    kCmdWriteProfileRecord = 0x06,
    kCmdReadKeymap = 0x07,
    kCmdWriteKeymap = 0x08,
    kCmdReadMacroArea = 0x09,
    kCmdWriteMacroArea = 0x0A,
    kCmdReadFactoryKeymap = 0x0F,
    kCmdWriteKeyColours = 0x11,
    kCmdBootLoader = 0xEE,  // in the command byte and the length byte, without a checksum
};

// Status byte of a reply: 0 done; 0xFF and 0xFE mark a refused command.
inline constexpr uint8_t kStatusOk = 0x00;
inline constexpr uint8_t kStatusRefusedFF = 0xFF;
inline constexpr uint8_t kStatusRefusedFE = 0xFE;

// Sum of bytes 3 to 63, kept to 16 bits.
inline uint16_t ReportChecksum(std::span<const uint8_t, kReportSize> report)
{
    unsigned sum = 0;
    for (size_t i = kCommandOffset; i < kReportSize; ++i) {
        sum += report[i];
    }
    return static_cast<uint16_t>(sum);
}

// Stores the checksum; done after every other byte is filled in.
inline void SealReport(std::span<uint8_t, kReportSize> report)
{
    WriteU16(report, kChecksumOffset, ReportChecksum(report));
}

} // namespace kovantis
