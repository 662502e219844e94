#pragma once
// The USB vendor and product id the virtual keyboard announces in its hello.

#include <cstdint>
#include <optional>
#include <string_view>

namespace kovantis::vkbd {

struct UsbId {
    uint16_t vendor;
    uint16_t product;
};

UsbId DefaultUsbId();

// "vvvv:pppp", each one to four hex digits.
std::optional<UsbId> ParseUsbId(std::string_view text);

} // namespace kovantis::vkbd
