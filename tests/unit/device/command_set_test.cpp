#include <gtest/gtest.h>

#include <numeric>

#include "device/report_frame.h"
#include "support/fake_device.h"

using namespace std::chrono_literals;

namespace kovantis {
namespace {

using testing::Fault;
using testing::FakeDevice;
using testing::FakeDeviceOptions;
using testing::Report;

int Address(const Report& r)
{
    return r[5] | (r[6] << 8);
}

std::vector<uint8_t> Pattern(size_t size, uint8_t seed)
{
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(seed + i * 7);
    return bytes;
}

void ExpectFramed(const Report& r)
{
    EXPECT_EQ(r[0], 0x04);
    EXPECT_EQ(r[7], 0x00);
    EXPECT_EQ(ReadU16(r, 1), ReportChecksum(r));
}

TEST(CommandSet, KeymapBlocksGoInSevenChunksAtTheProfileBase)
{
    FakeDevice device;
    const auto block = Pattern(kKeymapSize, 3);
    ASSERT_EQ(device.Commands().WriteKeymapBlock(std::span<const uint8_t, kKeymapSize>(block), 1),
              1);
    const auto sent = device.Sent();
    ASSERT_EQ(sent.size(), 7u);
    const int addresses[] = {378, 434, 490, 546, 602, 658, 714};
    for (size_t i = 0; i < sent.size(); ++i) {
        ExpectFramed(sent[i]);
        EXPECT_EQ(sent[i][3], 0x08);
        EXPECT_EQ(Address(sent[i]), addresses[i]);
        EXPECT_EQ(sent[i][4], i < 6 ? 56 : 42);
        EXPECT_TRUE(std::equal(sent[i].begin() + 8, sent[i].begin() + 8 + sent[i][4],
                               block.begin() + i * 56));
    }
    // Bytes past the last chunk's data are zero.
    EXPECT_TRUE(std::all_of(sent[6].begin() + 8 + 42, sent[6].end(), [](uint8_t b) { return !b; }));

    std::array<uint8_t, kKeymapSize> back{};
    EXPECT_EQ(device.Commands().ReadKeymapBlock(back, 1), 1);
    EXPECT_TRUE(std::equal(back.begin(), back.end(), block.begin()));
    EXPECT_TRUE(std::equal(back.begin(), back.end(), device.Model().Keymap(1).begin()));
}

TEST(CommandSet, MacroAreaChunksFollowTheCount)
{
    FakeDevice device;
    const auto data = Pattern(57, 9);
    EXPECT_EQ(device.Commands().WriteMacroArea(data), 1);
    auto sent = device.Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0][3], 0x0A);
    EXPECT_EQ(sent[0][4], 56);
    EXPECT_EQ(Address(sent[0]), 0);
    EXPECT_EQ(sent[1][4], 1);
    EXPECT_EQ(Address(sent[1]), 56);
    EXPECT_EQ(sent[1][8], data[56]);

    std::vector<uint8_t> back(57);
    EXPECT_EQ(device.Commands().ReadMacroArea(back), 1);
    EXPECT_EQ(back, data);

    device.ClearSent();
    EXPECT_EQ(device.Commands().WriteMacroArea({}), 1);
    EXPECT_EQ(device.Commands().ReadMacroArea({}), 1);
    EXPECT_TRUE(device.Sent().empty());
}

TEST(CommandSet, ArgumentsOutOfRangeSendNothing)
{
    FakeDevice device;
    std::array<uint8_t, kKeymapSize> keymap{};
    const std::vector<uint8_t> tooLong(57, 1);
    const std::vector<uint8_t> three(3, 1);
    std::array<uint8_t, kReportDataSize> record{};
    std::vector<uint8_t> hugeMacro(0x10001);

    EXPECT_EQ(device.Commands().ReadKeymapBlock(keymap, 3), kResultBadArgument);
    EXPECT_EQ(device.Commands().ReadKeymapBlock(keymap, -1), kResultBadArgument);
    EXPECT_EQ(device.Commands().WriteKeymapBlock(keymap, 3), kResultBadArgument);
    EXPECT_EQ(device.Commands().WriteProfileRecord(tooLong, 0), kResultBadArgument);
    EXPECT_EQ(device.Commands().ReadProfileRecord(record, 57, 0), kResultBadArgument);
    EXPECT_EQ(device.Commands().WriteKeyColours(tooLong, 0, 0), kResultBadArgument);
    EXPECT_EQ(device.Commands().WriteKeyColours(three, 126, 0), kResultBadArgument);
    EXPECT_EQ(device.Commands().WriteKeyColours(three, 0, 3), kResultBadArgument);
    EXPECT_EQ(device.Commands().WriteMacroArea(hugeMacro), kResultBadArgument);
    EXPECT_EQ(device.Commands().SetActiveProfile(-1), kResultBadArgument);
    EXPECT_EQ(device.Commands().SetActiveProfile(3), kResultBadArgument);
    EXPECT_TRUE(device.Sent().empty());
}

TEST(CommandSet, SingleReportCommandsCarryTheirFields)
{
    FakeDevice device;
    std::array<uint8_t, kSettingsBlockSize> settings{};
    EXPECT_EQ(device.Commands().ReadSettingsBlock(settings), 1);
    EXPECT_EQ(device.Sent()[0][4], 0x2C);
    EXPECT_EQ(device.Sent()[0][1], 0x2F);
    EXPECT_EQ(device.Sent()[0][2], 0x00);
    EXPECT_TRUE(std::equal(settings.begin(), settings.end(), device.Model().Settings().begin()));

    // Profile records: the address names profile and field; the reply's 56 bytes come back.
    device.ClearSent();
    const std::vector<uint8_t> field{0x07, 0x08};
    EXPECT_EQ(device.Commands().WriteProfileRecord(field, 42 + 15), 1);
    std::array<uint8_t, kReportDataSize> record{};
    EXPECT_EQ(device.Commands().ReadProfileRecord(record, 56, 42), 1);
    EXPECT_EQ(record[15], 0x07);
    EXPECT_EQ(record[16], 0x08);
    EXPECT_EQ(device.Model().ProfileRecords()[42 + 15], 0x07);
    auto sent = device.Sent();
    EXPECT_EQ(sent[0][3], 0x06);
    EXPECT_EQ(sent[0][4], 2);
    EXPECT_EQ(Address(sent[0]), 57);
    EXPECT_EQ(sent[1][3], 0x05);
    EXPECT_EQ(sent[1][4], 56);

    // Key colours: key index x 3 + profile x 512.
    device.ClearSent();
    const auto colours = Pattern(54, 1);
    EXPECT_EQ(device.Commands().WriteKeyColours(colours, 18, 2), 1);
    EXPECT_EQ(Address(device.Sent()[0]), 18 * 3 + 2 * 512);
    EXPECT_EQ(device.Sent()[0][4], 54);
    EXPECT_TRUE(std::equal(colours.begin(), colours.end(),
                           device.Model().KeyColours(2).begin() + 54));

    // EndTransfer pauses 10 ms before it sends.
    device.ClearSent();
    EXPECT_EQ(device.Commands().BeginTransfer(), 1);
    EXPECT_TRUE(device.GetClock().Sleeps().empty());
    EXPECT_EQ(device.Commands().EndTransfer(), 1);
    EXPECT_EQ(device.GetClock().Sleeps(), std::vector{10ms});
    EXPECT_EQ(device.Sent()[0], BuildRequest(0x01, 0, 0));
    EXPECT_EQ(device.Sent()[1], BuildRequest(0x02, 0, 0));
}

TEST(CommandSet, RefusalsMapToResultsAndStopBlockTransfers)
{
    FakeDevice device;
    device.InjectFault(Fault::StatusFF, 3);
    EXPECT_EQ(device.Commands().BeginTransfer(), kResultRefusedFF);
    EXPECT_EQ(device.Sent().size(), 3u);

    device.InjectFault(Fault::StatusFE, 3);
    EXPECT_EQ(device.Commands().BeginTransfer(), kResultRefusedFE);

    // The second chunk is never answered: the transfer ends there, the third never goes out,
    // and the first chunk stays written.
    device.ClearSent();
    const std::vector<uint8_t> macro(120, 0x5A);
    device.InjectFault(Fault::None);
    device.InjectFault(Fault::NoReply, 3);
    EXPECT_EQ(device.Commands().WriteMacroArea(macro), kSendNoReply);
    const auto sent = device.Sent();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(Address(sent[0]), 0);
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(Address(sent[i]), 56);
    EXPECT_EQ(device.Model().MacroArea()[55], 0x5A);

    device.ClearSent();
    device.SetPresent(false);
    const auto block = Pattern(kKeymapSize, 5);
    std::array<uint8_t, kSettingsBlockSize> settings{};
    EXPECT_EQ(device.Commands().WriteKeymapBlock(std::span<const uint8_t, kKeymapSize>(block), 0),
              kSendNoDevice);
    EXPECT_EQ(device.Commands().ReadSettingsBlock(settings), kSendNoDevice);
    EXPECT_EQ(device.Commands().EndTransfer(), kSendNoDevice);
    EXPECT_TRUE(device.Sent().empty());
}

TEST(CommandSet, BootModeGoesOutWithoutChecksumOrReply)
{
    FakeDevice device;
    EXPECT_EQ(device.Commands().EnterBootMode(), 1);
    ASSERT_EQ(device.Sent().size(), 1u);
    Report expected{};
    expected[0] = 0x04;
    expected[3] = 0xEE;
    expected[4] = 0xEE;
    EXPECT_EQ(device.Sent()[0], expected);
    // The keyboard drops off the link into its boot loader.
    device.WaitIdle();
    EXPECT_FALSE(device.State().Present());
}

TEST(CommandSet, ActiveProfileIsCachedAndWrittenThroughTheSettingsBlock)
{
    FakeDevice device;
    EXPECT_EQ(device.Commands().GetActiveProfile(), 0);
    EXPECT_EQ(device.Commands().GetActiveProfile(), 0);
    EXPECT_EQ(device.Sent().size(), 1u);  // the second answer came from the cache

    const std::vector<uint8_t> before(device.Model().Settings().begin(),
                                      device.Model().Settings().end());
    device.ClearSent();
    EXPECT_EQ(device.Commands().SetActiveProfile(2), 1);
    auto sent = device.Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0][3], 0x03);
    EXPECT_EQ(sent[1][3], 0x04);
    EXPECT_EQ(sent[1][4], 0x2C);
    for (int i = 0; i < kSettingsBlockSize; ++i)
        EXPECT_EQ(sent[1][8 + i], i == 10 ? 2 : before[i]) << "settings byte " << i;
    EXPECT_EQ(device.Model().ActiveProfile(), 2);
    device.ClearSent();
    EXPECT_EQ(device.Commands().GetActiveProfile(), 2);
    EXPECT_TRUE(device.Sent().empty());

    // A failed write leaves the cache unknown; a failed read leaves it as it was.
    device.InjectFault(Fault::None);
    device.InjectFault(Fault::NoReply, 3);
    EXPECT_EQ(device.Commands().SetActiveProfile(1), kSendNoReply);
    EXPECT_EQ(device.Model().ActiveProfile(), 1);  // the keyboard took it; only the reply was lost
    device.ClearSent();
    EXPECT_EQ(device.Commands().GetActiveProfile(), 1);
    EXPECT_EQ(device.Sent().size(), 1u);  // read again

    device.SetPresent(false);
    EXPECT_EQ(device.Commands().SetActiveProfile(0), kSendNoDevice);
    EXPECT_EQ(device.Commands().GetActiveProfile(), 1);
    device.Commands().ForgetActiveProfile();
    EXPECT_EQ(device.Commands().GetActiveProfile(), -1);
    EXPECT_EQ(device.Commands().GetActiveProfile(), -1);  // still unknown after a failed read
    device.SetPresent(true);
    EXPECT_EQ(device.Commands().GetActiveProfile(), 1);
}

} // namespace
} // namespace kovantis
