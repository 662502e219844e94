#include <gtest/gtest.h>

#include <thread>

#include "device/presence.h"
#include "support/fake_device.h"

namespace kovantis {
namespace {

using testing::Fault;
using testing::FakeDevice;
using testing::FakeDeviceOptions;
using Calls = std::vector<std::string>;

FakeDeviceOptions Absent()
{
    FakeDeviceOptions options;
    options.present = false;
    return options;
}

TEST(Presence, StartUpWithKeyboardReadsItThenOpensTheWindow)
{
    FakeDeviceOptions options;
    options.keyboard.macroSpaceUnits = 0x30;
    FakeDevice device(options);

    EXPECT_EQ(device.Window().Calls(),
              (Calls{"ReloadActiveProfile", "PostTrayIcon 141", "PostOpen"}));
    const auto factory = device.State().FactoryKeymapCopy();
    EXPECT_TRUE(std::equal(factory.begin(), factory.end(), device.Model().FactoryKeymap().begin()));
    EXPECT_EQ(device.State().MacroAreaSize(), 0x30 * 128);
    EXPECT_EQ(device.State().LastDeviceCount(), 1);
    EXPECT_TRUE(device.State().FirstArrivalDone());
    EXPECT_EQ(device.State().LedStatusBytes(), (LedStatus{0x05, 0x02}));

    // "CONS" and "CTRL", each after deleting the unit id it had (none yet); no "LED" until the
    // bank changes; every check right.
    const auto registrations = device.Registrations();
    ASSERT_EQ(registrations.size(), 2u);
    EXPECT_EQ(registrations[0].tag, DEVLINX_TAG_CONS);
    EXPECT_EQ(registrations[0].selector.usage_page, DEVLINX_PAGE_CONSUMER);
    EXPECT_EQ(registrations[1].tag, DEVLINX_TAG_CTRL);
    EXPECT_EQ(registrations[1].selector.usage_page, DEVLINX_PAGE_COMMAND);
    EXPECT_EQ(device.DeletedUnits(), (std::vector<int32_t>{0, 0}));
    EXPECT_EQ(device.CheckFailures(), 0);
    EXPECT_TRUE(device.GetPrompter().Messages().empty());
}

TEST(Presence, ArrivalReadsFactoryKeymapThenSettings)
{
    FakeDeviceOptions options = Absent();
    FakeDevice device(options);
    device.Plug();
    const auto sent = device.Sent();
    ASSERT_EQ(sent.size(), 8u);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(sent[i][3], 0x0F);
    EXPECT_EQ(sent[7][3], 0x03);
}

TEST(Presence, LaterArrivalAndRemovalNeverOpenTheWindow)
{
    FakeDevice device(Absent());
    EXPECT_TRUE(device.Window().Calls().empty());
    EXPECT_TRUE(device.State().FirstArrivalDone());

    device.Plug();
    EXPECT_EQ(device.Window().Calls(), (Calls{"ReloadActiveProfile", "PostTrayIcon 141"}));

    // The same count again is no change.
    device.SendCount(1);
    device.WaitIdle();
    EXPECT_EQ(device.Window().Count("ReloadActiveProfile"), 1);

    // Count changes on the other registrations are not ours to handle.
    device.Commands().GetActiveProfile();
    device.Window().Clear();
    device.SendCount(0, DEVLINX_TAG_CONS);
    device.WaitIdle();
    EXPECT_TRUE(device.Window().Calls().empty());

    device.Unplug();
    EXPECT_EQ(device.Window().Calls(), (Calls{"CloseEditors", "PostHide", "PostTrayIcon 128"}));
    EXPECT_EQ(device.State().LastDeviceCount(), 0);
    device.SetPresent(true);
    device.ClearSent();
    EXPECT_EQ(device.Commands().GetActiveProfile(), 0);
    EXPECT_EQ(device.Sent().size(), 1u);  // the cache was forgotten on removal
}

TEST(Presence, StartSwitchKeepsTheWindowClosed)
{
    FakeDeviceOptions options;
    options.start = false;
    FakeDevice device(options);
    device.State().SetFirstArrivalDone();  // "/Start"
    device.Link().Start();
    device.WaitIdle();
    EXPECT_EQ(device.Window().Calls(), (Calls{"ReloadActiveProfile", "PostTrayIcon 141"}));
}

TEST(Presence, CountsAreHandledOneAtATimeInArrivalOrder)
{
    FakeDevice device(Absent());
    device.SetPresent(true);
    for (int count : {1, 0, 1, 1, 0})
        device.SendCount(count);
    device.WaitIdle();
    EXPECT_EQ(device.Window().Calls(),
              (Calls{"ReloadActiveProfile", "PostTrayIcon 141", "CloseEditors", "PostHide",
                     "PostTrayIcon 128", "ReloadActiveProfile", "PostTrayIcon 141",
                     "CloseEditors", "PostHide", "PostTrayIcon 128"}));
    // Two complete arrivals, never interleaved: 8 reports each, in order.
    const auto sent = device.Sent();
    ASSERT_EQ(sent.size(), 16u);
    EXPECT_EQ(sent[7][3], 0x03);
    EXPECT_EQ(sent[15][3], 0x03);
}

TEST(Presence, WorkerWaitsForTheWindowBeforeChangingTheIcon)
{
    FakeDeviceOptions options;
    options.windowReady = false;
    FakeDevice device(options);
    // The arrival was read, but nothing shows until the window is ready.
    while (device.Window().Count("ReloadActiveProfile") == 0)
        std::this_thread::yield();
    EXPECT_EQ(device.State().LastDeviceCount(), 0);
    EXPECT_EQ(device.Window().Count("PostTrayIcon 141"), 0);
    device.State().SetWindowReady(true);
    device.WaitIdle();
    EXPECT_EQ(device.Window().Calls(),
              (Calls{"ReloadActiveProfile", "PostTrayIcon 141", "PostOpen"}));
}

TEST(Presence, UnreadableFactoryKeymapKeepsTheOldCopyAndSaysSo)
{
    FakeDevice device(Absent());
    device.Texts().Set("MAIN_DEFAULT_MATRIX_PROMPT", u"Reads the default keyboard layout failure");
    device.SetPresent(true);
    device.InjectFault(Fault::StatusFF, 3);  // first chunk refused
    device.Plug();
    EXPECT_EQ(device.GetPrompter().Messages(),
              std::vector<std::u16string>{u"Reads the default keyboard layout failure"});
    EXPECT_EQ(device.State().FactoryKeymapCopy(), FactoryKeymap{});
    // The worker went on: settings read, profile reloaded, icon set.
    EXPECT_EQ(device.State().MacroAreaSize(), 0x40 * 128);
    EXPECT_EQ(device.Window().Calls(), (Calls{"ReloadActiveProfile", "PostTrayIcon 141"}));
}

TEST(Presence, ConsumerEvents)
{
    FakeDevice device;
    device.Window().Clear();

    // Bank switch twice: B then back to A, the "LED" registration renewed each time.
    device.SendConsumerEvent(0x02FF);
    EXPECT_EQ(device.State().Bank(), 1);
    device.SendConsumerEvent(0x02FF);
    EXPECT_EQ(device.State().Bank(), 0);
    EXPECT_EQ(device.StatusWrites(),
              (std::vector<std::vector<uint8_t>>{{0x05, 0x03}, {0x05, 0x02}}));
    EXPECT_EQ(device.State().LedStatusBytes(), (LedStatus{0x05, 0x02}));
    const auto registrations = device.Registrations();
    ASSERT_EQ(registrations.size(), 3u);  // one "LED", not two
    EXPECT_EQ(registrations[2].tag, DEVLINX_TAG_LED);
    EXPECT_EQ(registrations[2].selector.usage_page, DEVLINX_PAGE_STATUS);
    EXPECT_EQ(device.DeletedUnits().back(), registrations[2].unitId - 1);

    // The keyboard changed its own settings: one re-read on the window's side, even while an
    // exchange is pending.
    device.SendConsumerEvent(0x0401);

    // Activity on and off, then codes that mean nothing here.
    device.SendConsumerEvent(0x1811);
    device.SendConsumerEvent(0x1810);
    for (uint16_t code : {0x1801, 0x1804, 0x0000, 0xFFFF})
        device.SendConsumerEvent(code);
    EXPECT_EQ(device.Window().Calls(),
              (Calls{"RefreshBankKeys 1", "RefreshBankKeys 0", "PostLightingReread",
                     "PostTrayIcon 142", "PostTrayIcon 141"}));
    EXPECT_TRUE(device.Sent().empty());
    EXPECT_EQ(device.CheckFailures(), 0);
}

TEST(Presence, SettingsEventDuringAnExchangeIsHandledOnce)
{
    FakeDeviceOptions options;
    options.threadedReplies = true;
    FakeDevice device(options);
    device.Window().Clear();
    std::thread events([&] {
        for (int i = 0; i < 20; ++i)
            device.SendConsumerEvent(i == 10 ? 0x0401 : 0x1801);
    });
    std::array<uint8_t, kKeymapSize> keymap{};
    EXPECT_EQ(device.Commands().ReadDefaultKeymap(keymap), 1);
    events.join();
    EXPECT_EQ(device.Window().Calls(), Calls{"PostLightingReread"});
}

TEST(Presence, StopRemovesEveryRegistration)
{
    FakeDevice device;
    device.SendConsumerEvent(0x02FF);
    device.GetPresence().Stop();
    EXPECT_TRUE(device.Registrations().empty());
    // Nothing reaches the stopped link any more.
    device.Window().Clear();
    device.SendConsumerEvent(0x02FF);
    device.SendCount(0);
    EXPECT_TRUE(device.Window().Calls().empty());
}

} // namespace
} // namespace kovantis
