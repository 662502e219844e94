#include "cli/keyboard_search.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <optional>
#include <unistd.h>

#include "devlinx_usb_id.h"
#include "wire/virtual_link.h"

namespace kovantis::cli {
namespace {

std::string Env(const SearchPlaces& places, const char* name)
{
    const char* value = places.environment ? places.environment(name) : nullptr;
    return value != nullptr ? std::string(value) : std::string();
}

std::string Hex4(uint16_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04x", value);
    return text;
}

// HID_ID=0003:00003A7C:000009A1 in the uevent file of a hidraw node's HID device.
bool HidIdMatches(const std::filesystem::path& uevent, uint16_t vendor, uint16_t product)
{
    std::ifstream file(uevent);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.starts_with("HID_ID="))
            continue;
        unsigned bus = 0, v = 0, p = 0;
        if (std::sscanf(line.c_str() + 7, "%x:%x:%x", &bus, &v, &p) == 3)
            return v == vendor && p == product;
    }
    return false;
}

std::string VirtualSocketPath(const SearchPlaces& places)
{
    return kovantis::VirtualSocketPath(Env(places, "DEVLINX_VIRTUAL_SOCKET").c_str(),
                                       Env(places, "XDG_RUNTIME_DIR").c_str());
}

std::string ExplainVirtual(const SearchPlaces& places)
{
    const std::string socket = VirtualSocketPath(places);
    std::string text = "  looked for: the virtual keyboard on the socket " + socket +
                       " (DEVLINX_BACKEND=virtual; DEVLINX_VIRTUAL_SOCKET selects another)\n";
    struct stat info {};
    if (::stat(socket.c_str(), &info) != 0)
        text += "  " + socket + ": " + std::strerror(errno) + "; is kovantis-vkbd running?\n";
    else if (!S_ISSOCK(info.st_mode))
        text += "  " + socket + " is not a socket\n";
    else if (!IsOwnSocket(socket))
        text += "  " + socket + " belongs to another user and is not used; set XDG_RUNTIME_DIR or DEVLINX_VIRTUAL_SOCKET\n";
    else
        text += "  the socket exists but no keyboard answered on it (is it unplugged? "
                "kovantis-vkbd ctl --socket " + socket + " plug)\n";
    return text;
}

bool RuleInstalled(const SearchPlaces& places, std::filesystem::path* where)
{
    for (const std::filesystem::path& folder : places.ruleFolders) {
        std::error_code error;
        if (std::filesystem::exists(folder / kUdevRuleName, error)) {
            *where = folder / kUdevRuleName;
            return true;
        }
    }
    return false;
}

std::string ExplainHidraw(const SearchPlaces& places, const devlinx::UsbId& id, bool idFromEnvironment)
{
    const std::string ids = Hex4(id.vendor) + ":" + Hex4(id.product);
    const std::string backend = Env(places, "DEVLINX_BACKEND").empty()
                                    ? "the default backend; DEVLINX_BACKEND=virtual reaches kovantis-vkbd"
                                    : "DEVLINX_BACKEND=" + Env(places, "DEVLINX_BACKEND");
    std::string text = "  looked for: USB id " + ids + " through hidraw (" + backend +
                       (idFromEnvironment ? ", id from KOVANTIS_USB_ID" : "; KOVANTIS_USB_ID selects other ids") +
                       ")\n";
    std::error_code error;
    if (!std::filesystem::is_directory(places.hidrawClass, error)) {
        return text + "  " + places.hidrawClass.string() +
               " does not exist: no HID device is reachable through hidraw on this system\n";
    }
    const std::vector<HidrawNode> nodes = FindHidrawNodes(places, id.vendor, id.product);
    if (nodes.empty())
        return text + "  no hidraw node belongs to a USB device " + ids +
               ": is the keyboard plugged in? (lsusb lists the USB devices)\n";
    bool anyClosed = false;
    for (const HidrawNode& node : nodes) {
        if (node.opens) {
            text += "  " + node.device.string() + " belongs to it and opens\n";
        } else {
            anyClosed = true;
            text += "  " + node.device.string() + " belongs to it but cannot be opened: " + node.reason + '\n';
        }
    }
    if (!anyClosed)
        return text + "  none of them answered as the keyboard's command interface: unplug the keyboard "
                      "and plug it in again\n";
    std::filesystem::path rule;
    if (RuleInstalled(places, &rule)) {
        return text + "  the udev rule " + rule.string() +
               " gives access to the user of the active local session only; log in at the\n"
               "  machine itself, or reload the rules and plug the keyboard in again:\n"
               "    sudo udevadm control --reload && sudo udevadm trigger --subsystem-match=hidraw\n";
    }
    return text + "  the udev rule that gives you access to the keyboard is not installed. Install it with\n"
                  "    echo '" + UdevRuleLine(id.vendor, id.product) + "' | sudo tee /etc/udev/rules.d/" +
           kUdevRuleName + "\n"
           "    sudo udevadm control --reload && sudo udevadm trigger --subsystem-match=hidraw\n"
           "  (the kovantis package installs it), then plug the keyboard in again\n";
}

} // namespace

SearchPlaces SystemSearchPlaces()
{
    SearchPlaces places;
    places.environment = [](const char* name) { return static_cast<const char*>(std::getenv(name)); };
    return places;
}

std::vector<HidrawNode> FindHidrawNodes(const SearchPlaces& places, uint16_t vendor, uint16_t product)
{
    std::vector<HidrawNode> nodes;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(places.hidrawClass, error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with("hidraw") || !HidIdMatches(entry.path() / "device" / "uevent", vendor, product))
            continue;
        HidrawNode node{places.devFolder / name, false, {}};
        const int fd = ::open(node.device.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
        if (fd >= 0) {
            node.opens = true;
            ::close(fd);
        } else {
            node.reason = std::strerror(errno);
        }
        nodes.push_back(node);
    }
    std::sort(nodes.begin(), nodes.end(),
              [](const HidrawNode& a, const HidrawNode& b) { return a.device < b.device; });
    return nodes;
}

std::string UdevRuleLine(uint16_t vendor, uint16_t product)
{
    return "ACTION!=\"remove\", SUBSYSTEM==\"hidraw\", KERNEL==\"hidraw*\", ATTRS{idVendor}==\"" + Hex4(vendor) +
           "\", ATTRS{idProduct}==\"" + Hex4(product) + "\", TAG+=\"uaccess\"";
}

std::string ExplainNoKeyboard(const SearchPlaces& places)
{
    const std::string backend = Env(places, "DEVLINX_BACKEND");
    if (backend == "virtual")
        return ExplainVirtual(places);
    const std::string idText = Env(places, devlinx::kUsbIdVariable);
    const std::optional<devlinx::UsbId> fromEnvironment = devlinx::ParseUsbId(idText);
    return ExplainHidraw(places, fromEnvironment.value_or(devlinx::UsbId{}), fromEnvironment.has_value());
}

} // namespace kovantis::cli
