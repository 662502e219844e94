#pragma once
// Which keyboard the program talks to: USB vendor and product id (overridable with
// KOVANTIS_USB_ID=vvvv:pppp, hexadecimal) and the selectors of its three collections.

#include <cstdint>
#include <optional>
#include <string_view>

#include "devlinx.h"

namespace kovantis {

struct DeviceIds {
    uint16_t vendorId = DEVLINX_DEFAULT_VENDOR_ID;
    uint16_t productId = DEVLINX_DEFAULT_PRODUCT_ID;
};

// "vvvv:pppp" in hexadecimal; nullopt for anything else.
std::optional<DeviceIds> ParseDeviceIds(std::string_view text);
// KOVANTIS_USB_ID when set and well formed, otherwise the default ids.
DeviceIds DeviceIdsFromEnvironment();

DeviceSelector CommandSelector(const DeviceIds& ids);
DeviceSelector ConsumerSelector(const DeviceIds& ids);
DeviceSelector StatusSelector(const DeviceIds& ids);

} // namespace kovantis
