#include "support/vkbd_link.h"

#include <chrono>
#include <cstdlib>

#include "ports/clock.h"

namespace kovantis::testing {

std::optional<DeviceFunctions> LoadLibraryFor(const VkbdProcess& keyboard, std::string& error)
{
    ::setenv("DEVLINX_BACKEND", "virtual", 1);
    ::setenv("DEVLINX_VIRTUAL_SOCKET", keyboard.SocketPath().c_str(), 1);
    return DeviceLibrary::Load(BinDir() + "/libdevlinx.so", &error);
}

VkbdLink::VkbdLink(const std::vector<std::string>& vkbdArgs) : keyboard_(vkbdArgs)
{
    if (!keyboard_.Running()) {
        error_ = "cannot start " + BinDir() + "/kovantis-vkbd";
        return;
    }
    functions_ = LoadLibraryFor(keyboard_, error_);
    if (!functions_)
        return;
    link_ = std::make_unique<DeviceLink>(*functions_, window_, prompter_, texts_, SystemClock());
    link_->State().SetWindowReady(true);
    if (link_->Start() != 1 || !(link_->InitialDeviceCount() > 0 ||
                                 link_->State().WaitUntilPresent(std::chrono::seconds(5)))) {
        error_ = "the virtual keyboard is not on the link";
        return;
    }
    link_->GetPresence().WaitIdle();
}

VkbdLink::~VkbdLink()
{
    if (link_)
        link_->Stop();
}

} // namespace kovantis::testing
