#include "device/device_ids.h"

#include <cstdlib>

#include "devlinx_usb_id.h"

namespace kovantis {
namespace {

DeviceSelector Selector(const DeviceIds& ids, uint16_t usagePage, uint16_t usage)
{
    DeviceSelector s{};
    s.match_mask = DEVLINX_MATCH_ALL;
    s.vendor_id = ids.vendorId;
    s.product_id = ids.productId;
    s.usage_page = usagePage;
    s.usage = usage;
    return s;
}

} // namespace

std::optional<DeviceIds> ParseDeviceIds(std::string_view text)
{
    const auto id = devlinx::ParseUsbId(text);
    if (!id)
        return std::nullopt;
    return DeviceIds{id->vendor, id->product};
}

DeviceIds DeviceIdsFromEnvironment()
{
    const char* value = std::getenv(devlinx::kUsbIdVariable);
    if (value != nullptr) {
        if (const auto ids = ParseDeviceIds(value))
            return *ids;
    }
    return DeviceIds{};
}

DeviceSelector CommandSelector(const DeviceIds& ids)
{
    return Selector(ids, DEVLINX_PAGE_COMMAND, DEVLINX_USAGE_COMMAND);
}

DeviceSelector ConsumerSelector(const DeviceIds& ids)
{
    return Selector(ids, DEVLINX_PAGE_CONSUMER, DEVLINX_USAGE_CONSUMER);
}

DeviceSelector StatusSelector(const DeviceIds& ids)
{
    return Selector(ids, DEVLINX_PAGE_STATUS, DEVLINX_USAGE_STATUS);
}

} // namespace kovantis
