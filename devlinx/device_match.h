#pragma once
// Which collection of which keyboard a call is about: the three collections the library serves,
// the USB ids it looks for, and the mapping of a caller's selector onto them.

#include <cstdint>
#include <optional>
#include <string_view>

#include "devlinx.h"

namespace devlinx {

enum class Collection : uint8_t { command = 0, consumer = 1, status = 2 };
inline constexpr int kCollectionCount = 3;

inline constexpr int Index(Collection c)
{
    return static_cast<int>(c);
}

struct DeviceIds {
    uint16_t vendor = DEVLINX_DEFAULT_VENDOR_ID;
    uint16_t product = DEVLINX_DEFAULT_PRODUCT_ID;
    bool operator==(const DeviceIds&) const = default;
};

// One to four hexadecimal digits and nothing else ("3a7c", "9A1").
std::optional<uint16_t> ParseHex16(std::string_view text);

// "vvvv:pppp" in hexadecimal; nullopt for anything else.
std::optional<DeviceIds> ParseUsbId(std::string_view text);

// KOVANTIS_USB_ID when set and well formed, otherwise the default ids.
DeviceIds UsbIdsFromEnvironment();

// The collection with this usage page and usage, if it is one of the three.
std::optional<Collection> CollectionOfUsage(uint16_t usage_page, uint16_t usage);

// The collection a selector names on the keyboard with `ids`; nullopt when the selector asks for
// other ids, another collection or matches on fewer than all four fields.
std::optional<Collection> CollectionOfSelector(const DeviceSelector& selector, DeviceIds ids);

} // namespace devlinx
