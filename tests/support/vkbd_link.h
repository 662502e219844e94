#pragma once
// The program's whole side of the device link, the real libdevlinx.so and a DeviceLink with
// recording ports, talking to a kovantis-vkbd child over the virtual link: started, the
// keyboard's arrival handled, ready for exchanges. For benchmarks and integration tests.

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/device_link.h"
#include "platform/device_library.h"
#include "support/fake_ports.h"
#include "support/vkbd_process.h"

namespace kovantis::testing {

// Points the library at `keyboard` (DEVLINX_BACKEND, DEVLINX_VIRTUAL_SOCKET) and loads the
// build's libdevlinx.so; nullopt with the reason in `error` when it cannot be loaded.
std::optional<DeviceFunctions> LoadLibraryFor(const VkbdProcess& keyboard, std::string& error);

// Unplugs `keyboard` and waits until the library loaded in this process no longer counts it.
// The keyboard answers "unplugged" as soon as it closed its end; the library's I/O thread sees
// the hang-up a moment later, and a link started in between would still find the keyboard.
// False when the library still counts it after `timeout`.
bool UnplugAndWaitUntilGone(const VkbdProcess& keyboard, const DeviceFunctions& functions,
                            std::chrono::milliseconds timeout = std::chrono::seconds(10));

// One kovantis-vkbd per test program with the real library bound to it (the library reads its
// socket once per process), for fixtures whose tests each build their own link or window on it.
class SharedKeyboard {
public:
    // Made on first use; Error() says what failed.
    static SharedKeyboard& Get();

    const std::string& Error() const { return error_; }
    VkbdProcess& Keyboard() { return keyboard_; }
    DeviceFunctions& Library() { return *library_; }

    // The keyboard back in its factory state, plugged in, no fault armed; false when it did not
    // answer.
    bool ResetForTest();
    // An empty folder of the running test's name beside the keyboard, with home/ in it.
    std::filesystem::path TestFolder() const;

private:
    SharedKeyboard();
    VkbdProcess keyboard_;
    std::optional<DeviceFunctions> library_;
    std::string error_;
};

class VkbdLink {
public:
    // Starts kovantis-vkbd with `vkbdArgs`, then the link with the system clock.
    explicit VkbdLink(const std::vector<std::string>& vkbdArgs = {});
    ~VkbdLink();
    VkbdLink(const VkbdLink&) = delete;
    VkbdLink& operator=(const VkbdLink&) = delete;

    // Empty when the link is up; otherwise what went wrong, and nothing else may be used.
    const std::string& Error() const { return error_; }

    VkbdProcess& Keyboard() { return keyboard_; }
    DeviceLink& Link() { return *link_; }
    FakePrompter& Prompter() { return prompter_; }
    FakeTexts& Texts() { return texts_; }

private:
    VkbdProcess keyboard_;
    std::optional<DeviceFunctions> functions_;
    FakeWindow window_;
    FakePrompter prompter_;
    FakeTexts texts_;
    std::unique_ptr<DeviceLink> link_;
    std::string error_;
};

} // namespace kovantis::testing
