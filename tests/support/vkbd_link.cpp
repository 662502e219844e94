#include "support/vkbd_link.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include "device/device_ids.h"
#include "ports/clock.h"

#include <gtest/gtest.h>

namespace kovantis::testing {

std::optional<DeviceFunctions> LoadLibraryFor(const VkbdProcess& keyboard, std::string& error)
{
    ::setenv("DEVLINX_BACKEND", "virtual", 1);
    ::setenv("DEVLINX_VIRTUAL_SOCKET", keyboard.SocketPath().c_str(), 1);
    return DeviceLibrary::Load(BinDir() + "/libdevlinx.so", &error);
}

bool UnplugAndWaitUntilGone(const VkbdProcess& keyboard, const DeviceFunctions& functions,
                            std::chrono::milliseconds timeout)
{
    if (keyboard.Control("unplug").rfind("ok", 0) != 0)
        return false;
    const DeviceSelector command = CommandSelector(DeviceIdsFromEnvironment());
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (functions.RequestGetDeviceCount(&command, 0, 0, devlinx_check_count(&command), 0) > 0) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

SharedKeyboard& SharedKeyboard::Get()
{
    // Ended with the program, so that the keyboard process ends too.
    static SharedKeyboard shared;
    return shared;
}

SharedKeyboard::SharedKeyboard()
{
    ::unsetenv("KOVANTIS_USB_ID");
    if (!keyboard_.Running())
        error_ = "cannot start " + BinDir() + "/kovantis-vkbd";
    else
        library_ = LoadLibraryFor(keyboard_, error_);
}

bool SharedKeyboard::ResetForTest()
{
    return library_ && keyboard_.Running() && keyboard_.Control("reset").rfind("ok", 0) == 0 &&
           keyboard_.Control("plug").rfind("ok", 0) == 0;
}

std::filesystem::path SharedKeyboard::TestFolder() const
{
    const std::filesystem::path folder =
        std::filesystem::path(keyboard_.Folder()) / ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "home");
    return folder;
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
