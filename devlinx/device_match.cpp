#include "device_match.h"

#include <charconv>
#include <cstdlib>

#include "log.h"

namespace devlinx {

std::optional<uint16_t> ParseHex16(std::string_view text)
{
    if (text.empty() || text.size() > 4)
        return std::nullopt;
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value, 16);
    if (result.ec != std::errc() || result.ptr != end)
        return std::nullopt;
    return static_cast<uint16_t>(value);
}

std::optional<DeviceIds> ParseUsbId(std::string_view text)
{
    const auto colon = text.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const auto vendor = ParseHex16(text.substr(0, colon));
    const auto product = ParseHex16(text.substr(colon + 1));
    if (!vendor || !product)
        return std::nullopt;
    return DeviceIds{*vendor, *product};
}

DeviceIds UsbIdsFromEnvironment()
{
    const char* value = std::getenv("KOVANTIS_USB_ID");
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
