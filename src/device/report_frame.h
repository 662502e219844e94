#pragma once
// Requests as the command set builds them, in the frame of wire/command_report.h.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "wire/command_report.h"

namespace kovantis {

using ReportBuffer = std::array<uint8_t, kReportSize>;

// A request: zeroed, report id, command, length, address, status 0, data, then the checksum.
// data holds at most 56 bytes (callers check).
inline ReportBuffer BuildRequest(uint8_t command, uint8_t length, uint16_t address,
                                 std::span<const uint8_t> data = {})
{
    ReportBuffer r{};
    r[0] = kReportId;
    r[kCommandOffset] = command;
    r[kLengthOffset] = length;
    WriteU16(r, kAddressOffset, address);
    for (size_t i = 0; i < data.size() && kDataOffset + i < kReportSize; ++i)
        r[kDataOffset + i] = data[i];
    SealReport(r);
    return r;
}

} // namespace kovantis
