#include "device_match.h"

#include <cstdlib>

#include "log.h"

namespace devlinx {

DeviceIds UsbIdsFromEnvironment()
{
    const char* value = std::getenv(kUsbIdVariable);
    if (value == nullptr || *value == '\0')
        return DeviceIds{};
    if (const auto ids = ParseUsbId(value))
        return *ids;
    Log("KOVANTIS_USB_ID=%s is not vvvv:pppp in hexadecimal; using the default ids", value);
    return DeviceIds{};
}

std::optional<Collection> CollectionOfUsage(uint16_t usage_page, uint16_t usage)
{
    if (usage_page == DEVLINX_PAGE_COMMAND && usage == DEVLINX_USAGE_COMMAND)
        return Collection::command;
    if (usage_page == DEVLINX_PAGE_CONSUMER && usage == DEVLINX_USAGE_CONSUMER)
        return Collection::consumer;
    if (usage_page == DEVLINX_PAGE_STATUS && usage == DEVLINX_USAGE_STATUS)
        return Collection::status;
    return std::nullopt;
}

std::optional<Collection> CollectionOfSelector(const DeviceSelector& selector, DeviceIds ids)
{
    if (selector.match_mask != DEVLINX_MATCH_ALL || selector.vendor_id != ids.vendor ||
        selector.product_id != ids.product)
        return std::nullopt;
    return CollectionOfUsage(selector.usage_page, selector.usage);
}

} // namespace devlinx
