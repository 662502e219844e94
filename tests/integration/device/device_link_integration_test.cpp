#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "ports/clock.h"
#include "support/vkbd_link.h"
#include "virtual_keyboard_fixture.h"

using namespace std::chrono_literals;

namespace kovantis::testing {

std::unique_ptr<VkbdProcess> VirtualKeyboardTest::keyboard_;
std::unique_ptr<DeviceFunctions> VirtualKeyboardTest::functions_;

void VirtualKeyboardTest::SetUpTestSuite()
{
    if (keyboard_)
        return;
    keyboard_ = std::make_unique<VkbdProcess>();
    unsetenv("KOVANTIS_USB_ID");
    std::string error;
    if (auto functions = LoadLibraryFor(*keyboard_, error))
        functions_ = std::make_unique<DeviceFunctions>(*functions);
    else
        ADD_FAILURE() << error;
}

void VirtualKeyboardTest::TearDownTestSuite() {}

void VirtualKeyboardTest::SetUp()
{
    ASSERT_TRUE(keyboard_ && keyboard_->Running());
    ASSERT_TRUE(functions_);
    ASSERT_EQ(Keyboard().Control("reset").substr(0, 2), "ok");
    Keyboard().Control("plug");
}

void VirtualKeyboardTest::TearDown()
{
    Keyboard().Control("latency 0");
}

std::unique_ptr<DeviceLink> VirtualKeyboardTest::StartLink()
{
    auto link = std::make_unique<DeviceLink>(*functions_, window_, prompter_, texts_,
                                             SystemClock());
    link->State().SetWindowReady(true);
    EXPECT_EQ(link->Start(), 1);
    if (link->InitialDeviceCount() > 0 || link->State().WaitUntilPresent(2s))
        link->GetPresence().WaitIdle();
    return link;
}

namespace {

std::vector<uint8_t> Pattern(size_t size, uint8_t seed)
{
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(seed * 31 + i * 13);
    return bytes;
}

TEST_F(VirtualKeyboardTest, EveryAreaIsWrittenAndReadBack)
{
    auto link = StartLink();
    ASSERT_TRUE(link->State().Present());
    CommandSet& commands = link->Commands();
    EXPECT_EQ(link->State().MacroAreaSize(), 64 * 128);
    const auto factory = Keyboard().Dump("factory");
    const auto copy = link->State().FactoryKeymapCopy();
    EXPECT_TRUE(std::equal(copy.begin(), copy.end(), factory.begin(), factory.end()));

    std::array<uint8_t, kSettingsBlockSize> settings{};
    ASSERT_EQ(commands.ReadSettingsBlock(settings), 1);
    settings[kSettingsActiveProfile] = 1;
    EXPECT_EQ(commands.WriteSettingsBlock(settings), 1);
    EXPECT_EQ(Keyboard().Dump("settings"), std::vector(settings.begin(), settings.end()));
    EXPECT_EQ(commands.GetActiveProfile(), 1);

    EXPECT_EQ(commands.BeginTransfer(), 1);
    const auto field = Pattern(42, 4);
    EXPECT_EQ(commands.WriteProfileRecord(field, 84), 1);
    const auto colours = Pattern(54, 5);
    EXPECT_EQ(commands.WriteKeyColours(colours, 36, 2), 1);
    EXPECT_EQ(commands.EndTransfer(), 1);
    std::array<uint8_t, kReportDataSize> record{};
    EXPECT_EQ(commands.ReadProfileRecord(record, kReportDataSize, 84), 1);
    EXPECT_TRUE(std::equal(field.begin(), field.end(), record.begin()));
    const auto keyColours = Keyboard().Dump("colours 2");
    ASSERT_EQ(keyColours.size(), 512u);
    EXPECT_TRUE(std::equal(colours.begin(), colours.end(), keyColours.begin() + 108));

    for (int profile = 0; profile < kProfileCount; ++profile) {
        const auto keymap = Pattern(kKeymapSize, static_cast<uint8_t>(profile + 1));
        EXPECT_EQ(commands.WriteKeymapBlock(std::span<const uint8_t, kKeymapSize>(keymap),
                                            profile),
                  1);
        std::array<uint8_t, kKeymapSize> back{};
        EXPECT_EQ(commands.ReadKeymapBlock(back, profile), 1);
        EXPECT_TRUE(std::equal(back.begin(), back.end(), keymap.begin()));
        EXPECT_EQ(Keyboard().Dump("keymap " + std::to_string(profile)), keymap);
    }

    const auto macro = Pattern(1000, 9);
    EXPECT_EQ(commands.WriteMacroArea(macro), 1);
    std::vector<uint8_t> back(macro.size());
    EXPECT_EQ(commands.ReadMacroArea(back), 1);
    EXPECT_EQ(back, macro);
    EXPECT_EQ(Keyboard().Dump("macro 0 1000"), macro);

    // Past the end of the macro area the keyboard refuses.
    std::vector<uint8_t> tooFar(64 * 128 + 1);
    EXPECT_EQ(commands.ReadMacroArea(tooFar), kResultRefusedFF);
}

TEST_F(VirtualKeyboardTest, UnplugDuringChunkedWriteFailsWithoutHanging)
{
    auto link = StartLink();
    ASSERT_TRUE(link->State().Present());
    Keyboard().Control("latency 2");
    const auto macro = Pattern(64 * 128, 3);  // 147 exchanges, about 0.6 s at 2 ms each way
    std::thread unplug([&] {
        std::this_thread::sleep_for(100ms);
        Keyboard().Control("unplug");
    });
    const int result = link->Commands().WriteMacroArea(macro);
    unplug.join();
    EXPECT_NE(result, 1);
    // The write can fail on the closed socket before the library has told the program that the
    // keyboard left; that news follows within moments.
    for (int i = 0; i < 200 && link->State().Present(); ++i) {
        std::this_thread::sleep_for(10ms);
        link->GetPresence().WaitIdle();
    }
    link->GetPresence().WaitIdle();
    EXPECT_FALSE(link->State().Present());
    EXPECT_EQ(window_.Count("PostHide"), 1);
    EXPECT_EQ(link->Commands().BeginTransfer(), kSendNoDevice);
}

TEST_F(VirtualKeyboardTest, KeyboardPluggedInLaterIsNoticed)
{
    ASSERT_TRUE(UnplugAndWaitUntilGone(Keyboard(), Library()));
    auto link = StartLink();
    EXPECT_EQ(link->InitialDeviceCount(), 0);
    EXPECT_FALSE(link->State().Present());
    Keyboard().Control("plug");
    ASSERT_TRUE(link->State().WaitUntilPresent(5s));
    link->GetPresence().WaitIdle();
    // The library may still hand over the news of the keyboard that the previous test left
    // (an arrival and its removal) before that of this plug; what counts is that this plug ends
    // with the keyboard loaded and shown as present.
    const std::vector<std::string> calls = window_.Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(calls.end() - 2, calls.end()),
              (std::vector<std::string>{"ReloadActiveProfile", "PostTrayIcon 141"}));
    EXPECT_EQ(calls.size() % 4, 2u) << "every earlier arrival was followed by its removal";
    EXPECT_EQ(link->State().MacroAreaSize(), 64 * 128);
}

TEST_F(VirtualKeyboardTest, ContinuousWritesLoseNoReplyWhileTheKeyboardSendsEvents)
{
    auto link = StartLink();
    ASSERT_TRUE(link->State().Present());
    window_.Clear();
    std::atomic<bool> writing{true};
    int events = 0;
    std::thread keyboardEvents([&] {
        const char* codes[] = {"event 1811", "event 1810", "bank", "event 0401"};
        while (writing.load()) {
            Keyboard().Control(codes[events % 4]);
            ++events;
            std::this_thread::sleep_for(1ms);
        }
    });
    constexpr int kExchanges = 3000;
    int failures = 0;
    std::array<uint8_t, kSettingsBlockSize> settings{};
    for (int i = 0; i < kExchanges; ++i) {
        const uint8_t value[1] = {static_cast<uint8_t>(i)};
        if (i % 2 == 0 ? link->Commands().WriteProfileRecord(value, i % 126) != 1
                       : link->Commands().ReadSettingsBlock(settings) != 1)
            ++failures;
    }
    writing.store(false);
    keyboardEvents.join();
    EXPECT_EQ(failures, 0);
    EXPECT_GT(events, 20);
    EXPECT_GT(window_.Count("PostLightingReread"), 0);
    EXPECT_GT(window_.Count("RefreshBankKeys 1"), 0);
}

TEST_F(VirtualKeyboardTest, LibraryBindsAllExports)
{
    EXPECT_TRUE(Library().Complete());
}

} // namespace
} // namespace kovantis::testing
