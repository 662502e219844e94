#pragma once
// Which collection of which keyboard a call is about: the three collections the library serves,
// the USB ids it looks for, and the mapping of a caller's selector onto them.

#include <cstdint>
#include <optional>

#include "devlinx.h"
#include "devlinx_usb_id.h"

namespace devlinx {

enum class Collection : uint8_t { command = 0, consumer = 1, status = 2 };
inline constexpr int kCollectionCount = 3;

inline constexpr int Index(Collection c)
{
    return static_cast<int>(c);
}

using DeviceIds = UsbId;  // the ids the library looks for

// KOVANTIS_USB_ID when set and well formed, otherwise the default ids.
DeviceIds UsbIdsFromEnvironment();

// The collection with this usage page and usage, if it is one of the three.
std::optional<Collection> CollectionOfUsage(uint16_t usage_page, uint16_t usage);

// The collection a selector names on the keyboard with `ids`; nullopt when the selector asks for
// other ids, another collection or matches on fewer than all four fields.
std::optional<Collection> CollectionOfSelector(const DeviceSelector& selector, DeviceIds ids);

} // namespace devlinx
