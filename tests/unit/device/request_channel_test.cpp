#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <thread>

#include "device/report_frame.h"
#include "support/fake_device.h"

using namespace std::chrono_literals;

namespace kovantis {
namespace {

using testing::Fault;
using testing::FakeDevice;
using testing::FakeDeviceOptions;

TEST(ReportFrame, ChecksumCoversCommandToLastDataByte)
{
    const ReportBuffer begin = BuildRequest(0x01, 0, 0);
    EXPECT_EQ(begin[0], 0x04);
    EXPECT_EQ(begin[1], 0x01);
    EXPECT_EQ(begin[2], 0x00);

    const ReportBuffer settings = BuildRequest(0x03, 0x2C, 0);
    EXPECT_EQ(settings[1], 0x2F);
    EXPECT_EQ(settings[2], 0x00);

    // The sum is kept to 16 bits, low byte first; the report id is not part of it.
    const std::vector<uint8_t> data(56, 0xFF);
    const ReportBuffer full = BuildRequest(0x0A, 56, 0x1234, data);
    const unsigned sum = 0x0A + 56 + 0x34 + 0x12 + 56 * 0xFF;
    EXPECT_EQ(full[1], sum & 0xFF);
    EXPECT_EQ(full[2], (sum >> 8) & 0xFF);
    EXPECT_EQ(full[5], 0x34);
    EXPECT_EQ(full[6], 0x12);
    EXPECT_EQ(full[7], 0x00);
}

TEST(RequestChannel, RequestGoesOutAsExactly64Bytes)
{
    FakeDevice device;
    ReportBuffer reply{};
    int delivered = -1;

    const uint8_t shortRequest[5] = {0x04, 0x01, 0x00, 0x01, 0x00};
    EXPECT_EQ(device.Channel().SendReport(shortRequest, reply, delivered), 1);
    EXPECT_EQ(delivered, 64);
    ReportBuffer expected{};
    std::copy(std::begin(shortRequest), std::end(shortRequest), expected.begin());
    ASSERT_EQ(device.Sent().size(), 1u);
    EXPECT_EQ(device.Sent()[0], expected);

    std::vector<uint8_t> longRequest(100, 0x33);
    ReportBuffer begin = BuildRequest(0x01, 0, 0);
    std::copy(begin.begin(), begin.end(), longRequest.begin());
    EXPECT_EQ(device.Channel().SendReport(longRequest, reply, delivered), 1);
    EXPECT_EQ(device.Sent()[1], begin);
    EXPECT_EQ(device.CheckFailures(), 0);
}

TEST(RequestChannel, RetriesAndGivesUpAfterThreeSends)
{
    FakeDevice device;
    ReportBuffer reply{};
    int delivered = 0;
    const ReportBuffer begin = BuildRequest(0x01, 0, 0);

    // Never answered: three sends, 10 ms apart, then -2.
    device.InjectFault(Fault::NoReply, 3);
    EXPECT_EQ(device.Channel().SendReport(begin, reply, delivered), kSendNoReply);
    EXPECT_EQ(device.Sent().size(), 3u);
    EXPECT_EQ(delivered, 0);
    EXPECT_EQ(device.GetClock().Sleeps(), (std::vector{10ms, 10ms}));

    // Unrelated replies count as failed tries; a matching one ends the exchange.
    device.ClearSent();
    device.GetClock().ClearSleeps();
    device.InjectFault(Fault::WrongCommand, 2);
    EXPECT_EQ(device.Channel().SendReport(begin, reply, delivered), kSendOk);
    EXPECT_EQ(device.Sent().size(), 3u);
    for (const auto& sent : device.Sent())
        EXPECT_EQ(sent, begin);

    // Refused three times: the last reply is handed back with 1, mapped to -102 above.
    device.ClearSent();
    device.InjectFault(Fault::StatusFF, 3);
    EXPECT_EQ(device.Channel().SendReport(begin, reply, delivered), kSendOk);
    EXPECT_EQ(reply[7], 0xFF);
    EXPECT_EQ(delivered, 64);
    EXPECT_EQ(device.Sent().size(), 3u);

    // Refused twice, then accepted.
    device.ClearSent();
    device.InjectFault(Fault::StatusFE, 2);
    EXPECT_EQ(device.Channel().SendReport(begin, reply, delivered), kSendOk);
    EXPECT_EQ(reply[7], 0x00);
    EXPECT_EQ(device.Sent().size(), 3u);

    // The library refusing the send ends the exchange at once.
    device.ClearSent();
    device.GetClock().ClearSleeps();
    device.InjectFault(Fault::RefuseSend);
    EXPECT_EQ(device.Channel().SendReport(begin, reply, delivered), kSendRefused);
    EXPECT_TRUE(device.Sent().empty());
    EXPECT_TRUE(device.GetClock().Sleeps().empty());
}

TEST(RequestChannel, AbsentKeyboardGetsNothing)
{
    FakeDevice device;
    device.SetPresent(false);
    ReportBuffer reply{};
    int delivered = 7;
    EXPECT_EQ(device.Channel().SendReport(BuildRequest(0x01, 0, 0), reply, delivered),
              kSendNoDevice);
    EXPECT_EQ(delivered, 0);
    EXPECT_TRUE(device.Sent().empty());
    EXPECT_TRUE(device.GetClock().Sleeps().empty());
}

TEST(RequestChannel, RepliesOfAnyLengthStayInsideTheBuffer)
{
    FakeDevice device;
    const ReportBuffer begin = BuildRequest(0x01, 0, 0);
    int delivered = 0;

    // 200 bytes into a 64-byte buffer: cut to the capacity.
    ReportBuffer reply{};
    device.InjectFault(Fault::LongReply);
    EXPECT_EQ(device.Channel().SendReport(begin, reply, delivered), kSendOk);
    EXPECT_EQ(delivered, 64);

    // A small buffer: the command byte still decides, only 2 bytes are written.
    std::array<uint8_t, 4> guarded{0x11, 0x11, 0x11, 0x11};
    EXPECT_EQ(device.Channel().SendReport(begin, std::span(guarded).first(2), delivered), kSendOk);
    EXPECT_EQ(delivered, 2);
    EXPECT_EQ(guarded[2], 0x11);
    EXPECT_EQ(guarded[3], 0x11);

    // A 5-byte reply carries the command but no status byte.
    reply.fill(0);
    device.InjectFault(Fault::ShortReply);
    EXPECT_EQ(device.Channel().SendReport(begin, reply, delivered), kSendOk);
    EXPECT_EQ(delivered, 5);

    // Reports nobody waits for, and nonsense from the library, are dropped.
    device.Channel().DeliverReply(nullptr, 64);
    device.Channel().DeliverReply(reply.data(), -3);
    device.Channel().DeliverReply(reply.data(), 64);
    EXPECT_EQ(device.Channel().SendReport(begin, reply, delivered), kSendOk);
}

TEST(RequestChannel, ConcurrentCallersNeverGetEachOthersReplies)
{
    FakeDeviceOptions options;
    options.threadedReplies = true;
    FakeDevice device(options);
    const auto factory = device.Model().FactoryKeymap();
    const auto settings = device.Model().Settings();
    const std::vector<uint8_t> factoryCopy(factory.begin(), factory.end());
    const std::vector<uint8_t> settingsCopy(settings.begin(), settings.end());

    constexpr int kRounds = 150;
    std::atomic<int> failures{0};
    std::thread keymapReader([&] {
        for (int i = 0; i < kRounds; ++i) {
            std::array<uint8_t, kKeymapSize> keymap{};
            if (device.Commands().ReadDefaultKeymap(keymap) != 1 ||
                !std::equal(keymap.begin(), keymap.end(), factoryCopy.begin()))
                ++failures;
        }
    });
    for (int i = 0; i < kRounds; ++i) {
        std::array<uint8_t, kSettingsBlockSize> block{};
        if (device.Commands().ReadSettingsBlock(block) != 1 ||
            !std::equal(block.begin(), block.end(), settingsCopy.begin()))
            ++failures;
    }
    keymapReader.join();
    EXPECT_EQ(failures.load(), 0);
    // Every request was answered at the first send.
    EXPECT_EQ(device.Sent().size(), static_cast<size_t>(kRounds * 8));
}

// The one test that waits for real: a lost reply costs the full 1000 ms before the resend.
TEST(RequestChannel, LostReplyWaitsOneSecondBeforeSendingAgain)
{
    FakeDeviceOptions options;
    options.threadedReplies = true;
    FakeDevice device(options);
    device.InjectFault(Fault::NoReply);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(device.Commands().BeginTransfer(), 1);
    EXPECT_GE(std::chrono::steady_clock::now() - started, 1000ms);
    EXPECT_EQ(device.Sent().size(), 2u);
    EXPECT_EQ(device.GetClock().Sleeps(), std::vector{10ms});
}

TEST(RequestChannel, ALateReplyIsNeverTakenForTheNextExchange)
{
    // The reply to the first chunk comes after the retry, while the second chunk waits: its
    // data must not land where the second chunk's belongs.
    FakeDevice device;
    std::array<uint8_t, 378> written{};
    for (size_t i = 0; i < written.size(); ++i)
        written[i] = static_cast<uint8_t>(i * 7 + 1);
    ASSERT_EQ(device.Commands().WriteKeymapBlock(written, 1), 1);
    device.InjectFault(Fault::Late);
    std::array<uint8_t, 378> read{};
    ASSERT_EQ(device.Commands().ReadKeymapBlock(read, 1), 1);
    EXPECT_EQ(read, written);
}

} // namespace
} // namespace kovantis
