#pragma once
// Command reports as a host builds them, for driving the keyboard model directly.

#include "vkbd/keyboard_model.h"
#include "wire/command_report.h"

#include <algorithm>
#include <span>

namespace kovantis::vkbd::testing {

inline Report MakeRequest(uint8_t command, size_t length, size_t address,
                          std::span<const uint8_t> data = {})
{
    Report r{};
    r[0] = kReportId;
    r[kCommandOffset] = command;
    r[kLengthOffset] = static_cast<uint8_t>(length);
    WriteU16(r, kAddressOffset, static_cast<uint16_t>(address));
    std::copy_n(data.begin(), std::min(data.size(), kMaxDataLength), r.begin() + kDataOffset);
    SealReport(r);
    return r;
}

// Status byte of the reply; -1 when the keyboard did not answer.
inline int StatusOf(KeyboardModel& model, const Report& request)
{
    const auto reply = model.HandleCommand(request);
    return reply ? (*reply)[kStatusOffset] : -1;
}

} // namespace kovantis::vkbd::testing
