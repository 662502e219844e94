#include "vkbd/usb_id.h"

#include "devlinx/devlinx.h"
#include "vkbd/number_text.h"

namespace kovantis::vkbd {

UsbId DefaultUsbId() { return {DEVLINX_DEFAULT_VENDOR_ID, DEVLINX_DEFAULT_PRODUCT_ID}; }

std::optional<UsbId> ParseUsbId(std::string_view text) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos || colon > 4 || text.size() - colon - 1 > 4) {
        return std::nullopt;
    }
    const auto vendor = ParseHex(text.substr(0, colon), 0xFFFF);
    const auto product = ParseHex(text.substr(colon + 1), 0xFFFF);
    if (!vendor || !product) {
        return std::nullopt;
    }
    return UsbId{static_cast<uint16_t>(*vendor), static_cast<uint16_t>(*product)};
}

} // namespace kovantis::vkbd
