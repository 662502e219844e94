#pragma once
// The lighting panel on a plain skinned window of the default skin, with the key pictures of
// the main window's keyboard, against kovantis-vkbd through the real libdevlinx.so. Every
// command report the program sends is recorded on its way into the library, so a test sees
// exactly what reached the keyboard, and the keyboard's memory shows what it made of it.

#include <gtest/gtest.h>

#include <QString>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/device_link.h"
#include "lighting/lighting_controller.h"
#include "lighting/lighting_view_setting.h"
#include "lighting/user_mode_store.h"
#include "lighting/user_modes.h"
#include "platform/paths.h"
#include "support/fake_ports.h"
#include "support/offscreen_ui.h"
#include "support/vkbd_link.h"
#include "ui/common/ui_job.h"
#include "ui/lighting/lighting_panel.h"
#include "ui/skin/c_base_dialog.h"

namespace kovantis::testing {

// One command report as the keyboard read it.
struct SentCommand {
    int command = 0;
    int length = 0;
    int address = 0;
    std::vector<uint8_t> data;
};
std::vector<int> CommandCodes(const std::vector<SentCommand>& sent);

inline constexpr int kBegin = 0x01;
inline constexpr int kEnd = 0x02;
inline constexpr int kWriteRecord = 0x06;
inline constexpr int kWriteColours = 0x11;

class MemoryLightingView final : public LightingViewSetting {
public:
    bool Read() const override { return on; }
    void Write(bool value) override { on = value; }
    bool on = false;
};

class LightingPanelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // The keyboard's arrival as the window handles it: the lighting read back on profile
    // `profile`, the user modes loaded, the panel drawn. Nothing sent before it is kept.
    void Arrive(int profile = 0, bool lightingView = true);
    // Waits until no job runs and the panel has drawn.
    void Settle();
    std::vector<SentCommand> TakeSent();
    // The 42 bytes of a profile's lighting block, and its 378 key colour bytes, in the keyboard.
    std::vector<uint8_t> KeyboardBlock(int profile);
    std::vector<uint8_t> KeyboardColours(int profile);

    template <typename T>
    T* Widget(std::string_view skinKey)
    {
        QWidget* widget = panel_->Control(skinKey);
        EXPECT_NE(widget, nullptr) << skinKey;
        return qobject_cast<T*>(widget);
    }
    // Shown on the window (which itself stays hidden unless a test shows it).
    bool Shown(std::string_view skinKey) { return !panel_->Control(skinKey)->isHidden(); }
    void Click(std::string_view skinKey);
    // Picks an effect in the combo box as a user does.
    void ChooseEffect(int effectId);
    // The user-mode file of a profile as the program reads it: the per-user one, else the shipped.
    std::string ModeFile(int profile) const;

    static VkbdProcess& Keyboard() { return SharedKeyboard::Get().Keyboard(); }

    std::filesystem::path root_;
    std::optional<Paths> paths_;
    FakeWindow* window_ = nullptr;
    std::unique_ptr<FakeWindow> windowPort_;
    FakePrompter prompter_;
    FakeTexts texts_;
    std::unique_ptr<DeviceLink> link_;
    std::unique_ptr<UserModeStore> store_;
    std::unique_ptr<UserModes> modes_;
    MemoryLightingView view_;
    std::unique_ptr<LightingController> lighting_;
    std::unique_ptr<ui::JobRunner> jobs_;
    std::unique_ptr<CBaseDialog> dialog_;
    std::map<int, CPngButton*> keys_;
    ui::LightingPanel* panel_ = nullptr;
};

} // namespace kovantis::testing
