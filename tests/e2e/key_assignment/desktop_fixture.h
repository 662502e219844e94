#pragma once
// The program on the test's X server against its own kovantis-vkbd, in fresh XDG folders, with
// its main window shown: what every end-to-end test starts from, and the ways it looks at the
// keyboard afterwards.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "desktop_session.h"
#include "keyboard/device_key_action.h"
#include "keyboard/key_table.h"
#include "keyboard/keymap_codec.h"
#include "skin/skin_file.h"
#include "support/vkbd_process.h"

namespace kovantis::testing {

class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Waits until `condition` holds, checking it every 50 ms; false after `timeout`.
    static bool WaitUntil(const std::function<bool()>& condition,
                          std::chrono::milliseconds timeout = std::chrono::seconds(20));

    // The keymap position the keyboard's factory layout gives a key.
    size_t PositionOf(KeyCode code) const;
    // The keymap entry at `position` of profile 1 on the keyboard.
    DeviceKeyAction ActionAt(size_t position) const;
    bool WaitForAction(size_t position, DeviceKeyAction expected) const;

    // Clicks the middle of a control's skin rectangle in `window`.
    bool ClickControl(const WindowGeometry& window, const SkinFile& skin, std::string_view key) const;
    // Waits until no visible window has this title.
    bool WaitForWindowGone(const std::string& title) const;

    VkbdProcess keyboard_;
    std::filesystem::path root_;  // the program's HOME and XDG folders live under it
    SkinFile main_ = SkinFile::Open("");
    SkinFile composite_ = SkinFile::Open("");
    std::unique_ptr<DesktopProgram> program_;
    Xdotool x_;
    WindowGeometry window_;  // the main window
};

} // namespace kovantis::testing
