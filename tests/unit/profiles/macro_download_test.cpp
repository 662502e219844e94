#include <gtest/gtest.h>

#include <algorithm>

#include "keyboard/default_layout.h"
#include "keyboard/key_code.h"
#include "wire/le_bytes.h"
#include "macros/macro_area.h"
#include "profiles/macro_download.h"
#include "support/fake_device.h"

namespace kovantis {
namespace {

using testing::Fault;
using testing::FakeDevice;

constexpr int kPositionOfA = 19;
constexpr KeyCode kKeyA = 0x01E;

MacroRecord Macro(uint16_t id, std::u16string_view name, int steps)
{
    MacroRecord r;
    r.SetName(name);
    r.id = id;
    r.playCount = 1;
    r.actionCount = static_cast<uint16_t>(steps);
    for (int i = 0; i < steps; ++i) {
        r.actions[static_cast<size_t>(i)] = {10, kKeyA, static_cast<uint16_t>(i % 2)};
    }
    return r;
}

std::vector<uint8_t> Commands(const FakeDevice& device)
{
    std::vector<uint8_t> commands;
    for (const auto& report : device.Sent()) {
        commands.push_back(report[3]);
    }
    return commands;
}

class DownloadTest : public ::testing::Test {
protected:
    DownloadLink Link() { return {device.Commands(), device.State(), device.GetPrompter(), device.Texts()}; }
    void SetMacros(std::vector<MacroRecord> macros)
    {
        ProfileData::Lock lock(data.working);
        lock->macros = std::move(macros);
    }

    FakeDevice device;
    ProfileDataPair data;
};

TEST_F(DownloadTest, RefusedWithoutSendingWhenTheMacrosDoNotFit)
{
    device.State().SetMacroAreaSize(0);  // no settings block read yet: even no macros are refused
    device.ClearSent();
    EXPECT_EQ(DownloadToKeyboard(data, Link(), true), 0);
    EXPECT_TRUE(device.Sent().empty());
    ASSERT_EQ(device.GetPrompter().Messages().size(), 1u);
    EXPECT_EQ(device.GetPrompter().Messages()[0], u"EXTRA_MACRO_TOO_LONG");

    // 100 macros of 2000 steps against the largest macro space: 16-bit sums would wrap to
    // 14 112 bytes and pass.
    std::vector<MacroRecord> huge;
    for (uint16_t id = 1; id <= kMaxMacros; ++id) {
        huge.push_back(Macro(id, u"Long", kMaxMacroActions));
    }
    SetMacros(std::move(huge));
    device.State().SetMacroAreaSize(0xFF * 128);
    EXPECT_EQ(DownloadToKeyboard(data, Link(), false), 0);
    EXPECT_TRUE(device.Sent().empty());
    EXPECT_EQ(device.GetPrompter().Messages().size(), 2u);
}

TEST_F(DownloadTest, ApplyWritesTheMacroAreaAndOnlyTheActiveKeymap)
{
    ASSERT_EQ(device.Commands().SetActiveProfile(2), 1);
    SetMacros({Macro(4, u"First", 2), Macro(9, u"Second", 1)});
    {
        ProfileData::Lock lock(data.working);
        lock->image.Bank(2)[kKeyA] = MakeAssignment(AssignmentKind::PlayMacro, 9);
        lock->image.Bank(0)[kKeyA] = MakeAssignment(AssignmentKind::Disabled);
    }
    device.ClearSent();
    ASSERT_EQ(DownloadToKeyboard(data, Link(), false), 1);

    // 62 bytes of macro area: two chunks.
    const std::vector<uint8_t> expected = {0x01, 0x0A, 0x0A, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x02};
    EXPECT_EQ(Commands(device), expected);
    const auto sent = device.Sent();
    EXPECT_EQ(ReadU16(sent[3], 5), 2 * 378);  // profile 2's block
    EXPECT_TRUE(device.GetPrompter().Messages().empty());

    const auto keymap = device.Model().Keymap(2);
    EXPECT_EQ(keymap[3 * kPositionOfA], 5);
    EXPECT_EQ(keymap[3 * kPositionOfA + 1], 1);
    EXPECT_EQ(keymap[3 * kPositionOfA + 2], 1);  // macro 9 is at position 1
    const auto area = device.Model().MacroArea();
    EXPECT_EQ(ReadU16(area, 0), kMacroAreaMagic);
    EXPECT_EQ(ReadU16(area, 4), 2);
    EXPECT_EQ(ReadU16(area, 6), 1);  // names fit
    // Profile 0 was not written.
    EXPECT_TRUE(std::equal(device.Model().Keymap(0).begin(), device.Model().Keymap(0).end(),
                           CompiledDefaultLayout().begin()));

    {
        ProfileData::Lock lock(data.snapshot);
        EXPECT_EQ(lock->macros.size(), 2u);
        EXPECT_EQ(ReadU16(lock->image.header, 14), 2);  // the snapshot's header as a save writes it
    }
}

TEST_F(DownloadTest, AMacroIdIsItsLowSixteenBits)
{
    ASSERT_EQ(device.Commands().SetActiveProfile(0), 1);
    SetMacros({Macro(1, u"First", 1), Macro(2, u"Second", 1)});
    {
        ProfileData::Lock lock(data.working);
        lock->image.Bank(0)[kKeyA] = MakeAssignment(AssignmentKind::PlayMacro, 0x10002);
    }
    ASSERT_EQ(DownloadToKeyboard(data, Link(), false), 1);
    const auto keymap = device.Model().Keymap(0);
    EXPECT_EQ(keymap[3 * kPositionOfA], 5);
    EXPECT_EQ(keymap[3 * kPositionOfA + 2], 1);  // macro 2, not the one at position 0
}

TEST_F(DownloadTest, AllProfilesWritesThreeKeymapsInOrder)
{
    // Before the keyboard has reported its factory keymap the compiled-in one stands in: an
    // all-zero layout would disable every key.
    device.State().SetFactoryKeymap(FactoryKeymap{});
    device.ClearSent();
    ASSERT_EQ(DownloadToKeyboard(data, Link(), true), 1);
    const auto sent = device.Sent();
    std::vector<int> keymapAddresses;
    for (const auto& r : sent) {
        if (r[3] == 0x08) {
            keymapAddresses.push_back(ReadU16(r, 5));
        }
    }
    ASSERT_EQ(keymapAddresses.size(), 21u);
    EXPECT_EQ(keymapAddresses[0], 0);
    EXPECT_EQ(keymapAddresses[7], 378);
    EXPECT_EQ(keymapAddresses[14], 756);
    for (int p = 0; p < 3; ++p) {
        EXPECT_TRUE(std::equal(device.Model().Keymap(p).begin(), device.Model().Keymap(p).end(),
                               CompiledDefaultLayout().begin()));
    }
}

TEST_F(DownloadTest, NamesAreDroppedWhenOnlyTheStepsFitAndTheUserIsToldAfterwards)
{
    SetMacros({Macro(1, u"A long name", 3), Macro(2, u"Another long name", 2)});
    {
        ProfileData::Lock lock(data.working);
        device.State().SetMacroAreaSize(static_cast<int>(MeasureMacroAreaImage(lock->macros).withoutNames));
    }
    device.ClearSent();
    ASSERT_EQ(DownloadToKeyboard(data, Link(), false), 1);
    ASSERT_EQ(device.GetPrompter().Messages().size(), 1u);
    EXPECT_EQ(device.GetPrompter().Messages()[0], u"EXTRA_PROFILE_SPACE_TIGHT");
    const auto area = device.Model().MacroArea();
    EXPECT_EQ(ReadU16(area, 6), 0);
    EXPECT_EQ(area[ReadU16(area, 16) + 3], 0);  // L = 0
    // The names stay in the working copy.
    ProfileData::Lock lock(data.working);
    EXPECT_EQ(lock->macros[0].Name(), u"A long name");
}

TEST_F(DownloadTest, ARefusedBracketOrAnUnknownActiveProfileFailsTheDownload)
{
    // The keyboard refuses the opening bracket: nothing is written, the bracket is closed.
    device.InjectFault(Fault::StatusFF, 3);
    device.ClearSent();
    EXPECT_EQ(DownloadToKeyboard(data, Link(), true), -102);
    EXPECT_EQ(Commands(device), (std::vector<uint8_t>{0x01, 0x01, 0x01, 0x02}));

    // The active profile cannot be read: nothing is written at all.
    device.Commands().ForgetActiveProfile();
    device.InjectFault(Fault::NoReply, 3);
    device.ClearSent();
    EXPECT_NE(DownloadToKeyboard(data, Link(), false), 1);
    for (uint8_t c : Commands(device)) {
        EXPECT_EQ(c, 0x03);
    }

    // The keyboard is gone.
    device.Commands().ForgetActiveProfile();
    ASSERT_EQ(device.Commands().GetActiveProfile(), 0);
    device.SetPresent(false);
    EXPECT_EQ(DownloadToKeyboard(data, Link(), false), 0);
}

} // namespace
} // namespace kovantis
