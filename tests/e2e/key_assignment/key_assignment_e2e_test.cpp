// A user at the desktop: clicks a key of the keyboard picture, presses the key it should send on
// the real (virtual) X keyboard, confirms, applies, and the keyboard holds the new key. Keys the
// desktop would act on (Super, Escape) are taken as keys, not acted on.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <thread>

#include "desktop_session.h"
#include "keyboard/device_key_action.h"
#include "keyboard/keymap_codec.h"
#include "keyboard/physical_layout.h"
#include "skin/skin_file.h"
#include "support/vkbd_process.h"

namespace kovantis::testing {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr KeyCode kA = 0x01E;
constexpr KeyCode kB = 0x030;
constexpr size_t kKeymapBytes = 378;

class KeyAssignmentAtTheDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "runs under xvfb-run";
        ASSERT_TRUE(keyboard_.Running());
        root_ = fs::path(keyboard_.Folder()) / "desktop";
        for (const char* dir : {"run", "config", "data", "home"})
            fs::create_directories(root_ / dir);
        fs::permissions(root_ / "run", fs::perms::owner_all, fs::perm_options::replace);
        main_ = SkinFile::Open(BinDir() + "/Skins/Main.ini");
        composite_ = SkinFile::Open(BinDir() + "/Skins/Composite.ini");
        ASSERT_TRUE(main_.WasRead() && composite_.WasRead());
        program_ = std::make_unique<DesktopProgram>(
            BinDir() + "/kovantis", std::vector<std::string>{},
            std::map<std::string, std::string>{
                {"XDG_RUNTIME_DIR", (root_ / "run").string()},
                {"XDG_CONFIG_HOME", (root_ / "config").string()},
                {"XDG_DATA_HOME", (root_ / "data").string()},
                {"HOME", (root_ / "home").string()},
                {"DEVLINX_BACKEND", "virtual"},
                {"DEVLINX_VIRTUAL_SOCKET", keyboard_.SocketPath()},
                {"QT_QPA_PLATFORM", "xcb"},
                {"LANGUAGE", "en"},
            });
        const auto window = x_.WaitForWindow("Gaming Keyboard Settings");
        ASSERT_TRUE(window) << "the main window never showed";
        window_ = *window;
    }
    void TearDown() override { program_.reset(); }

    // The keymap position the keyboard's factory layout gives a key.
    size_t PositionOf(KeyCode code) const
    {
        const std::vector<uint8_t> factory = keyboard_.Dump("factory");
        for (size_t k = 0; k + 3 <= factory.size(); k += 3) {
            if (DecodeDeviceAction({factory[k], factory[k + 1], factory[k + 2]}) == code)
                return k / 3;
        }
        ADD_FAILURE() << "no factory position for " << code;
        return 0;
    }
    DeviceKeyAction ActionAt(size_t position) const
    {
        const std::vector<uint8_t> keymap = keyboard_.Dump("keymap 0");
        if (keymap.size() != kKeymapBytes)
            return {0xEE, 0xEE, 0xEE};
        return {keymap[position * 3], keymap[position * 3 + 1], keymap[position * 3 + 2]};
    }
    bool WaitForAction(size_t position, DeviceKeyAction expected)
    {
        for (int i = 0; i < 200; ++i) {
            const DeviceKeyAction now = ActionAt(position);
            if (now.type == expected.type && now.p1 == expected.p1 && now.p2 == expected.p2)
                return true;
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }

    bool ClickControl(const WindowGeometry& window, const SkinFile& skin, std::string_view key)
    {
        const SkinRect rect = skin.Rect(key);
        if (rect.IsAbsent())
            return false;
        return x_.ClickAt(window.x + rect.x + rect.w / 2, window.y + rect.y + rect.h / 2);
    }

    // Click the key, press `keys` on the X keyboard, OK, then the main window's Apply.
    void Assign(KeyCode target, const std::string& keys)
    {
        ASSERT_TRUE(ClickControl(window_, main_, SkinKeyOf(target)));
        const auto dialog = x_.WaitForWindow("Key assignment", 10s);
        ASSERT_TRUE(dialog) << "the key assignment dialog never showed";
        // The dialog takes the keyboard once it is active.
        std::this_thread::sleep_for(300ms);
        ASSERT_TRUE(x_.Key(keys));
        std::this_thread::sleep_for(200ms);
        EXPECT_TRUE(x_.WindowShown("Key assignment")) << keys << " must not close the dialog";
        ASSERT_TRUE(ClickControl(*dialog, composite_, "CONTROL_OK"));
        for (int i = 0; i < 50 && x_.WindowShown("Key assignment"); ++i)
            std::this_thread::sleep_for(50ms);
        ASSERT_FALSE(x_.WindowShown("Key assignment"));
        ASSERT_TRUE(ClickControl(window_, main_, "CONTROL2_APPLY"));
    }

    VkbdProcess keyboard_;
    fs::path root_;
    SkinFile main_ = SkinFile::Open("");
    SkinFile composite_ = SkinFile::Open("");
    std::unique_ptr<DesktopProgram> program_;
    Xdotool x_;
    WindowGeometry window_;
};

TEST_F(KeyAssignmentAtTheDesktop, SuperAndEscapeAreCapturedAsKeysAndReachTheKeyboard) {
    const size_t a = PositionOf(kA);
    const size_t b = PositionOf(kB);

    ASSERT_NO_FATAL_FAILURE(Assign(kA, "super"));
    EXPECT_TRUE(WaitForAction(a, ModifierAction(0x08))) << "A sends Win";

    ASSERT_NO_FATAL_FAILURE(Assign(kB, "Escape"));
    EXPECT_TRUE(WaitForAction(b, KeyboardUsageAction(0x29))) << "B sends Esc";
    EXPECT_TRUE(WaitForAction(a, ModifierAction(0x08))) << "A still sends Win";
    EXPECT_TRUE(program_->Alive());
}

} // namespace
} // namespace kovantis::testing
