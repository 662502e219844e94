#pragma once
// One kovantis-vkbd per test program and the real libdevlinx.so bound to it (the library reads
// its backend and socket once per process, at Init); each test gets a fresh device link on it
// and a keyboard back in its factory state, plugged in.

#include <gtest/gtest.h>

#include <memory>

#include "device/device_link.h"
#include "support/fake_ports.h"
#include "support/vkbd_process.h"

namespace kovantis::testing {

class VirtualKeyboardTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // A device link on the library, started; its arrival handled when the keyboard is plugged.
    std::unique_ptr<DeviceLink> StartLink();

    static VkbdProcess& Keyboard() { return *keyboard_; }
    static const DeviceFunctions& Library() { return *functions_; }

    FakeWindow window_;
    FakePrompter prompter_;
    FakeTexts texts_;

private:
    static std::unique_ptr<VkbdProcess> keyboard_;
    static std::unique_ptr<DeviceFunctions> functions_;
};

} // namespace kovantis::testing
