#include "keyboard/default_layout.h"
#include "vkbd/keyboard_defaults.h"
#include "unit/vkbd/model_requests.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

namespace kovantis::vkbd {
namespace {

using testing::MakeRequest;
using testing::StatusOf;

std::vector<uint8_t> Pattern(size_t n, uint8_t seed)
{
    std::vector<uint8_t> bytes(n);
    std::iota(bytes.begin(), bytes.end(), seed);
    return bytes;
}

std::vector<uint8_t> SettingsWithProfile(const KeyboardModel& model, uint8_t profile)
{
    std::vector<uint8_t> block(model.Settings().begin(), model.Settings().end());
    block[kSettingsActiveProfile] = profile;
    return block;
}

TEST(KeyboardModel, ReplyRepeatsTheRequestAndCarriesAValidChecksum)
{
    KeyboardModel model;
    const auto request = MakeRequest(kCmdReadKeymap, 56, 378 + 56);
    const auto reply = model.HandleCommand(request);
    ASSERT_TRUE(reply);
    EXPECT_EQ((*reply)[0], kReportId);
    EXPECT_EQ((*reply)[kCommandOffset], kCmdReadKeymap);
    EXPECT_EQ((*reply)[kLengthOffset], 56);
    EXPECT_EQ(ReadU16(*reply, kAddressOffset), 378 + 56);
    EXPECT_EQ((*reply)[kStatusOffset], kStatusOk);
    EXPECT_EQ(ReadU16(*reply, kChecksumOffset), ReportChecksum(*reply));
    EXPECT_TRUE(std::equal(reply->begin() + kDataOffset, reply->end(),
                           model.Keymap(1).begin() + 56));

    EXPECT_EQ(StatusOf(model, MakeRequest(kCmdBeginTransfer, 0, 0)), kStatusOk);
    EXPECT_TRUE(model.InTransfer());
    EXPECT_EQ(StatusOf(model, MakeRequest(kCmdEndTransfer, 0, 0)), kStatusOk);
    EXPECT_FALSE(model.InTransfer());
}

TEST(KeyboardModel, CommandsItDoesNotKnowAreRefused)
{
    KeyboardModel model;
    for (const uint8_t command : {0x00, 0x0B, 0x0C, 0x0D, 0x0E, 0x10, 0x12, 0x7F, 0xFF}) {
        const auto reply = model.HandleCommand(MakeRequest(command, 0, 0));
        ASSERT_TRUE(reply) << int(command);
        EXPECT_EQ((*reply)[kCommandOffset], command);
        EXPECT_EQ((*reply)[kStatusOffset], kStatusRefused) << int(command);
    }
    // 0xEE alone is not the boot-loader command: both bytes must say so.
    EXPECT_EQ(StatusOf(model, MakeRequest(kCmdBootLoader, 0, 0)), kStatusRefused);
    EXPECT_FALSE(model.BootRequested());
}

TEST(KeyboardModel, BootLoaderCommandIsNotAnsweredAndLeavesTheLink)
{
    KeyboardModel model;
    Report boot{};
    boot[0] = kReportId;
    boot[kCommandOffset] = kCmdBootLoader;
    boot[kLengthOffset] = kCmdBootLoader;  // sent without a checksum
    EXPECT_FALSE(model.HandleCommand(boot));
    EXPECT_TRUE(model.BootRequested());
    EXPECT_EQ(model.BadChecksums(), 0);
    model.Reset();
    EXPECT_FALSE(model.BootRequested());
}

TEST(KeyboardModel, ReportsWithoutTheCommandIdOrWithABadChecksum)
{
    KeyboardModel model;
    auto other = MakeRequest(kCmdBeginTransfer, 0, 0);
    other[0] = 0x05;
    EXPECT_FALSE(model.HandleCommand(other));

    auto bad = MakeRequest(kCmdReadSettings, kSettingsBlockSize, 0);
    bad[kChecksumOffset] ^= 0x01;
    EXPECT_EQ(StatusOf(model, bad), kStatusOk);  // answered all the same, but counted
    EXPECT_EQ(model.BadChecksums(), 1);
    EXPECT_EQ(StatusOf(model, MakeRequest(kCmdReadSettings, kSettingsBlockSize, 0)), kStatusOk);
    EXPECT_EQ(model.BadChecksums(), 1);
}

struct AreaCase {
    uint8_t command;
    size_t size;
};

TEST(KeyboardModel, AddressesAndLengthsAreCheckedAgainstEachArea)
{
    KeyboardModel model;
    const size_t macroSize = model.MacroArea().size();
    const std::vector<AreaCase> areas{
        {kCmdWriteProfileRecord, 3 * 42}, {kCmdWriteKeyColours, 3 * 512},
        {kCmdReadKeymap, 3 * 378},        {kCmdWriteKeymap, 3 * 378},
        {kCmdReadFactoryKeymap, 378},     {kCmdReadMacroArea, macroSize},
        {kCmdWriteMacroArea, macroSize}};
    const auto data = Pattern(56, 1);
    for (const auto& [command, size] : areas) {
        SCOPED_TRACE(int(command));
        EXPECT_EQ(StatusOf(model, MakeRequest(command, 1, size - 1, data)), kStatusOk);
        EXPECT_EQ(StatusOf(model, MakeRequest(command, 56, size - 56, data)), kStatusOk);
        EXPECT_EQ(StatusOf(model, MakeRequest(command, 2, size - 1, data)), kStatusRefused);
        EXPECT_EQ(StatusOf(model, MakeRequest(command, 0, size, data)), kStatusRefused);
        EXPECT_EQ(StatusOf(model, MakeRequest(command, 1, 0xFFFF, data)), kStatusRefused);
        EXPECT_EQ(StatusOf(model, MakeRequest(command, 57, 0, data)), kStatusRefused);
        EXPECT_EQ(StatusOf(model, MakeRequest(command, 0, 0, data)), kStatusOk);
    }
    // The settings block is only ever moved whole.
    for (const uint8_t command : {kCmdReadSettings, kCmdWriteSettings}) {
        const auto block = SettingsWithProfile(model, 0);
        EXPECT_EQ(StatusOf(model, MakeRequest(command, 43, 0, block)), kStatusRefused);
        EXPECT_EQ(StatusOf(model, MakeRequest(command, 44, 1, block)), kStatusRefused);
        EXPECT_EQ(StatusOf(model, MakeRequest(command, 44, 0, block)), kStatusOk);
    }
}

TEST(KeyboardModel, RefusedWritesChangeNothing)
{
    KeyboardModel model;
    const std::vector<uint8_t> before(model.Keymap(2).begin(), model.Keymap(2).end());
    const auto generation = model.Generation();
    EXPECT_EQ(StatusOf(model, MakeRequest(kCmdWriteKeymap, 56, 3 * 378 - 55, Pattern(56, 9))),
              kStatusRefused);
    EXPECT_TRUE(std::ranges::equal(model.Keymap(2), before));
    EXPECT_EQ(model.Generation(), generation);
}

TEST(KeyboardModel, LightingRecordsReadAsWholeReportsEvenPastTheLastRecord)
{
    KeyboardModel model;
    ASSERT_TRUE(model.SetLightingField(2, 41, 0x5A));
    const auto reply = model.HandleCommand(MakeRequest(kCmdReadProfileRecord, 56, 84));
    ASSERT_TRUE(reply);
    EXPECT_EQ((*reply)[kStatusOffset], kStatusOk);
    EXPECT_TRUE(std::equal(reply->begin() + kDataOffset, reply->begin() + kDataOffset + 42,
                           model.ProfileRecords().begin() + 84));
    EXPECT_EQ((*reply)[kDataOffset + 41], 0x5A);
    EXPECT_TRUE(std::all_of(reply->begin() + kDataOffset + 42, reply->end(),
                            [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(StatusOf(model, MakeRequest(kCmdReadProfileRecord, 1, 125)), kStatusOk);
    EXPECT_EQ(StatusOf(model, MakeRequest(kCmdReadProfileRecord, 1, 126)), kStatusRefused);
    EXPECT_EQ(StatusOf(model, MakeRequest(kCmdReadProfileRecord, 57, 0)), kStatusRefused);

    EXPECT_FALSE(model.SetLightingField(3, 0, 1));
    EXPECT_FALSE(model.SetLightingField(0, 42, 1));
    EXPECT_FALSE(model.SetLightingField(-1, 0, 1));
}

TEST(KeyboardModel, ChunkedWritesLandAtTheirOffsets)
{
    KeyboardModel model;
    const auto keymap = Pattern(kKeymapSize, 7);
    const std::vector<uint8_t> profile0(model.Keymap(0).begin(), model.Keymap(0).end());
    const std::vector<uint8_t> profile2(model.Keymap(2).begin(), model.Keymap(2).end());
    for (size_t offset = 0; offset < kKeymapSize; offset += 56) {
        const size_t chunk = std::min<size_t>(56, kKeymapSize - offset);
        const std::span<const uint8_t> part(keymap.data() + offset, chunk);
        ASSERT_EQ(StatusOf(model, MakeRequest(kCmdWriteKeymap, chunk, 378 + offset, part)),
                  kStatusOk);
    }
    EXPECT_TRUE(std::ranges::equal(model.Keymap(1), keymap));
    EXPECT_TRUE(std::ranges::equal(model.Keymap(0), profile0));
    EXPECT_TRUE(std::ranges::equal(model.Keymap(2), profile2));

    // A 57-byte macro image goes as 56 bytes and then 1.
    const auto image = Pattern(57, 0x80);
    ASSERT_EQ(StatusOf(model, MakeRequest(kCmdWriteMacroArea, 56, 0, image)), kStatusOk);
    ASSERT_EQ(StatusOf(model,
                       MakeRequest(kCmdWriteMacroArea, 1, 56, std::span(image).subspan(56))),
              kStatusOk);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), model.MacroArea().begin()));
    EXPECT_EQ(model.MacroArea()[57], 0);

    // Key colours: key index * 3 + profile * 512.
    const std::vector<uint8_t> colour{0x11, 0x22, 0x33};
    ASSERT_EQ(StatusOf(model, MakeRequest(kCmdWriteKeyColours, 3, 2 * 512 + 125 * 3, colour)),
              kStatusOk);
    EXPECT_TRUE(std::equal(colour.begin(), colour.end(), model.KeyColours(2).begin() + 375));
    EXPECT_EQ(model.KeyColours(1)[375], kDefaultKeyColour[0]);
}

TEST(KeyboardModel, FactoryKeymapAndInitialMemory)
{
    KeyboardModel model;
    const auto layout = kovantis::DefaultLayoutBytes();
    EXPECT_TRUE(std::ranges::equal(model.FactoryKeymap(), layout));
    for (int p = 0; p < kProfileCount; ++p) {
        EXPECT_TRUE(std::ranges::equal(model.Keymap(p), layout)) << p;
        EXPECT_EQ(model.KeyColours(p).size(), kKeyColourProfileStride);
        EXPECT_EQ(model.ProfileRecords()[static_cast<size_t>(p) * 42 + 1], 4);  // brightness
    }
    EXPECT_TRUE(model.Keymap(3).empty());
    EXPECT_TRUE(model.KeyColours(-1).empty());

    // The factory keymap read in chunks as the program does it.
    std::vector<uint8_t> read;
    for (size_t offset = 0; offset < kKeymapSize; offset += 56) {
        const size_t chunk = std::min<size_t>(56, kKeymapSize - offset);
        const auto reply = model.HandleCommand(MakeRequest(kCmdReadFactoryKeymap, chunk, offset));
        ASSERT_TRUE(reply);
        ASSERT_EQ((*reply)[kStatusOffset], kStatusOk);
        read.insert(read.end(), reply->begin() + kDataOffset,
                    reply->begin() + kDataOffset + static_cast<ptrdiff_t>(chunk));
    }
    EXPECT_TRUE(std::ranges::equal(read, layout));

    // Nothing in the macro area yet: no header magic.
    EXPECT_EQ(model.MacroArea().size(), 0x40u * 128);
    EXPECT_NE(ReadU16(model.MacroArea(), 0), 0x55AA);
}

TEST(KeyboardModel, SettingsBlock)
{
    KeyboardOptions options;
    options.macroSpaceUnits = 3;
    KeyboardModel model(options);
    const auto settings = model.Settings();
    ASSERT_EQ(settings.size(), kSettingsBlockSize);
    EXPECT_EQ(settings[kSettingsActiveProfile], 0);
    EXPECT_EQ(settings[kSettingsMacroSpace], 3);
    EXPECT_EQ(model.MacroArea().size(), 3u * 128);
    const auto effects = settings.subspan(kSettingsEffectList, 32);
    EXPECT_EQ(effects[0], 1);
    EXPECT_NE(std::ranges::find(effects, 20), effects.end());

    // Byte 10 switches the profile; the host cannot rewrite the hardware's own bytes.
    auto block = SettingsWithProfile(model, 2);
    block[0] = 0xA5;
    block[kSettingsMacroSpace] = 0xFF;
    block[kSettingsEffectList] = 0x13;
    EXPECT_EQ(StatusOf(model, MakeRequest(kCmdWriteSettings, 44, 0, block)), kStatusOk);
    EXPECT_EQ(model.ActiveProfile(), 2);
    EXPECT_EQ(model.Settings()[0], 0xA5);
    EXPECT_EQ(model.Settings()[kSettingsMacroSpace], 3);
    EXPECT_EQ(model.Settings()[kSettingsEffectList], 1);

    const auto reply = model.HandleCommand(MakeRequest(kCmdReadSettings, 44, 0));
    ASSERT_TRUE(reply);
    EXPECT_TRUE(std::equal(reply->begin() + kDataOffset, reply->begin() + kDataOffset + 44,
                           model.Settings().begin()));

    // There is no fourth profile.
    EXPECT_EQ(StatusOf(model, MakeRequest(kCmdWriteSettings, 44, 0, SettingsWithProfile(model, 3))),
              kStatusRefused);
    EXPECT_EQ(model.ActiveProfile(), 2);
}

TEST(KeyboardModel, EffectListAndMacroSpaceOptions)
{
    KeyboardOptions options;
    options.useDefaultEffects = false;
    options.effects[0] = 1;
    options.effects[2] = 5;
    options.macroSpaceUnits = 0;
    KeyboardModel model(options);
    EXPECT_EQ(model.Settings()[12], 1);
    EXPECT_EQ(model.Settings()[13], 0);
    EXPECT_EQ(model.Settings()[14], 5);
    EXPECT_TRUE(model.MacroArea().empty());
    EXPECT_EQ(StatusOf(model, MakeRequest(kCmdReadMacroArea, 16, 0)), kStatusRefused);
    EXPECT_EQ(StatusOf(model, MakeRequest(kCmdWriteMacroArea, 0, 0)), kStatusRefused);

    KeyboardOptions none;
    none.useDefaultEffects = false;
    KeyboardModel bare(none);
    EXPECT_TRUE(std::ranges::all_of(bare.Settings().subspan(12), [](uint8_t b) { return b == 0; }));
}

TEST(KeyboardModel, ResetReturnsToTheFactoryState)
{
    KeyboardModel model;
    const KeyboardModel fresh;
    ASSERT_EQ(StatusOf(model, MakeRequest(kCmdWriteKeymap, 56, 0, Pattern(56, 3))), kStatusOk);
    ASSERT_EQ(StatusOf(model, MakeRequest(kCmdWriteSettings, 44, 0, SettingsWithProfile(model, 1))),
              kStatusOk);
    ASSERT_TRUE(model.SetLightingField(0, 0, 9));
    ASSERT_EQ(StatusOf(model, MakeRequest(kCmdBeginTransfer, 0, 0)), kStatusOk);
    model.Reset();
    EXPECT_TRUE(std::ranges::equal(model.Keymap(0), fresh.Keymap(0)));
    EXPECT_TRUE(std::ranges::equal(model.Settings(), fresh.Settings()));
    EXPECT_TRUE(std::ranges::equal(model.ProfileRecords(), fresh.ProfileRecords()));
    EXPECT_FALSE(model.InTransfer());
}

} // namespace
} // namespace kovantis::vkbd
