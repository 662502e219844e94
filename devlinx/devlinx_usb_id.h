#pragma once
// The USB vendor and product id of the keyboard as text, "vvvv:pppp" in hexadecimal (one to four
// digits each), the form KOVANTIS_USB_ID takes. The library, the program and the virtual keyboard
// all read it with this one parser, so a text that one of them accepts names the same keyboard
// for the other two. Header-only: the program and the virtual keyboard do not link the library.

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

#include "devlinx.h"

namespace devlinx {

inline constexpr const char* kUsbIdVariable = "KOVANTIS_USB_ID";

struct UsbId {
    uint16_t vendor = DEVLINX_DEFAULT_VENDOR_ID;
    uint16_t product = DEVLINX_DEFAULT_PRODUCT_ID;
    bool operator==(const UsbId&) const = default;
};

// One to four hexadecimal digits and nothing else ("3a7c", "9A1"; no sign, no 0x).
inline std::optional<uint16_t> ParseHex16(std::string_view text)
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

// "vvvv:pppp"; nullopt for anything else.
inline std::optional<UsbId> ParseUsbId(std::string_view text)
{
    const auto colon = text.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const auto vendor = ParseHex16(text.substr(0, colon));
    const auto product = ParseHex16(text.substr(colon + 1));
    if (!vendor || !product)
        return std::nullopt;
    return UsbId{*vendor, *product};
}

} // namespace devlinx
