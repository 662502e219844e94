#include "desktop_fixture.h"

#include <cstdlib>
#include <map>
#include <thread>

namespace kovantis::testing {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

constexpr size_t kKeymapBytes = 378;

} // namespace

void DesktopTest::SetUp()
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
    const auto window = x_.WaitForWindow("Gaming Keyboard Settings", 60s);
    ASSERT_TRUE(window) << "the main window never showed";
    window_ = *window;
}

void DesktopTest::TearDown() { program_.reset(); }

bool DesktopTest::WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

size_t DesktopTest::PositionOf(KeyCode code) const
{
    const std::vector<uint8_t> factory = keyboard_.Dump("factory");
    for (size_t k = 0; k + 3 <= factory.size(); k += 3) {
        if (DecodeDeviceAction({factory[k], factory[k + 1], factory[k + 2]}) == code)
            return k / 3;
    }
    ADD_FAILURE() << "no factory position for " << code;
    return 0;
}

DeviceKeyAction DesktopTest::ActionAt(size_t position) const
{
    const std::vector<uint8_t> keymap = keyboard_.Dump("keymap 0");
    if (keymap.size() != kKeymapBytes)
        return {0xEE, 0xEE, 0xEE};
    return {keymap[position * 3], keymap[position * 3 + 1], keymap[position * 3 + 2]};
}

bool DesktopTest::WaitForAction(size_t position, DeviceKeyAction expected) const
{
    return WaitUntil([&] { return ActionAt(position) == expected; });
}

bool DesktopTest::ClickControl(const WindowGeometry& window, const SkinFile& skin, std::string_view key) const
{
    const SkinRect rect = skin.Rect(key);
    if (rect.IsAbsent())
        return false;
    return x_.ClickAt(window.x + rect.x + rect.w / 2, window.y + rect.y + rect.h / 2);
}

bool DesktopTest::WaitForWindowGone(const std::string& title) const
{
    return WaitUntil([&] { return !x_.WindowShown(title); });
}

} // namespace kovantis::testing
