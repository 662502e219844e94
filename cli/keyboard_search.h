#pragma once
// Why no keyboard was found: which backend looked for which keyboard, and on hidraw whether a
// node of the keyboard exists that this user cannot open, with the udev rule that grants access.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace kovantis::cli {

struct SearchPlaces {
    // The environment (DEVLINX_BACKEND, DEVLINX_VIRTUAL_SOCKET, XDG_RUNTIME_DIR, KOVANTIS_USB_ID).
    std::function<const char*(const char*)> environment;
    std::filesystem::path hidrawClass = "/sys/class/hidraw";
    std::filesystem::path devFolder = "/dev";
    std::vector<std::filesystem::path> ruleFolders = {"/etc/udev/rules.d", "/run/udev/rules.d",
                                                      "/usr/lib/udev/rules.d", "/lib/udev/rules.d"};
};

// The places of this machine.
SearchPlaces SystemSearchPlaces();

// A hidraw node whose USB device has the keyboard's ids, and whether this user may open it.
struct HidrawNode {
    std::filesystem::path device;  // /dev/hidrawN
    bool opens = false;
    std::string reason;            // the system's reason when it does not
};
std::vector<HidrawNode> FindHidrawNodes(const SearchPlaces& places, uint16_t vendor, uint16_t product);

// The udev rule line that gives the user at the seat access to the keyboard's hidraw nodes.
std::string UdevRuleLine(uint16_t vendor, uint16_t product);
inline constexpr const char* kUdevRuleName = "60-kovantis.rules";

// The lines that follow "no keyboard found" (each ends in a newline).
std::string ExplainNoKeyboard(const SearchPlaces& places);

} // namespace kovantis::cli
