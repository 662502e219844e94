#include "device/device_ids.h"

#include <charconv>
#include <cstdlib>

namespace kovantis {
namespace {

std::optional<uint16_t> ParseHex16(std::string_view text)
{
    if (text.empty() || text.size() > 4)
        return std::nullopt;
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return static_cast<uint16_t>(value);
}

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
    const auto colon = text.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const auto vendor = ParseHex16(text.substr(0, colon));
    const auto product = ParseHex16(text.substr(colon + 1));
    if (!vendor || !product)
        return std::nullopt;
    return DeviceIds{*vendor, *product};
}

DeviceIds DeviceIdsFromEnvironment()
{
    const char* value = std::getenv("KOVANTIS_USB_ID");
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
