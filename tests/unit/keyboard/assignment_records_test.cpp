// The 16-byte record, banks and record numbers, the assignment texts store and the tooltip text.

#include <gtest/gtest.h>

#include <vector>

#include "keyboard/assignment_strings.h"
#include "keyboard/assignment_text.h"
#include "keyboard/bank.h"
#include "map_texts.h"

namespace kovantis {
namespace {

TEST(KeyAssignment, IsSixteenLittleEndianBytes)
{
    const KeyAssignment record{AssignmentKind::PlayMacro, 0x1304, 0x0A0B0C0D, 0x11223344, 0x55667788};
    std::array<uint8_t, 16> bytes{};
    WriteKeyAssignment(record, bytes);
    const std::array<uint8_t, 16> expected = {0x04, 0x00, 0x04, 0x13, 0x0D, 0x0C, 0x0B, 0x0A,
                                              0x44, 0x33, 0x22, 0x11, 0x88, 0x77, 0x66, 0x55};
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(ReadKeyAssignment(bytes), record);
    // A damaged kind survives reading and writing as it is.
    bytes[0] = 0x34;
    bytes[1] = 0x12;
    EXPECT_EQ(static_cast<uint16_t>(ReadKeyAssignment(bytes).kind), 0x1234);
    EXPECT_FALSE(IsKnownKind(ReadKeyAssignment(bytes).kind));
    EXPECT_TRUE(IsKnownKind(AssignmentKind::Function));
}

TEST(Bank, RecordNumbersOffsetsAndGKeyIds)
{
    EXPECT_EQ(RecordOffset(0, 0), 64u);
    EXPECT_EQ(RecordOffset(1, 0), 64u + 8192u);
    EXPECT_EQ(RecordOffset(2, 511), 64u + 2 * 8192u + 16u * 511u);
    EXPECT_EQ(RecordOffset(4, 0), 32832u);  // the image's end
    EXPECT_EQ(GlobalRecordNumber(3, 511), 2047);
    EXPECT_EQ(GKeyRecord(0, GKeyBank::A), 256);
    EXPECT_EQ(GKeyRecord(8, GKeyBank::A), 264);
    EXPECT_EQ(GKeyRecord(0, GKeyBank::B), 265);
    EXPECT_EQ(GKeyRecord(8, GKeyBank::B), 273);
    EXPECT_EQ(GKeyId(2, GKeyBank::A), 0x0303);
    EXPECT_EQ(GKeyId(8, GKeyBank::B), 0x1309);

    Bank bank;
    bank.fill(MakeAssignment(AssignmentKind::Disabled, 7, 7));
    InitBank(bank);
    for (int r = 0; r < kRecordsPerBank; ++r) {
        const uint16_t extra = r >= 256 && r <= 264 ? 0x0301 + (r - 256) : r >= 265 && r <= 273 ? 0x1301 + (r - 265) : 0;
        EXPECT_EQ(bank[r], MakeAssignment(AssignmentKind::Default, 0, extra)) << r;
        EXPECT_EQ(GKeyIdOfRecord(r), extra) << r;
    }

    bank[0x1E] = MakeAssignment(AssignmentKind::Key, 0x030);
    std::vector<uint8_t> bytes(kBankBytes);
    WriteBank(bank, std::span<uint8_t, kBankBytes>(bytes));
    EXPECT_EQ(bytes[16 * 0x1E], 2);
    EXPECT_EQ(bytes[16 * 0x1E + 4], 0x30);
    EXPECT_EQ(bytes[16 * 256 + 2], 0x01);
    EXPECT_EQ(bytes[16 * 256 + 3], 0x03);
    EXPECT_EQ(ReadBank(std::span<const uint8_t, kBankBytes>(bytes)), bank);
}

TEST(AssignmentStrings, KeepsTheRunningTotalOfTextsWithTerminators)
{
    AssignmentStrings strings;
    EXPECT_EQ(strings.Total(), 0u);
    EXPECT_TRUE(strings.Set(5, u"notepad"));
    EXPECT_TRUE(strings.Set(2047, u""));  // an empty text still owns its terminator
    EXPECT_EQ(strings.Length(5), 16u);
    EXPECT_EQ(strings.Length(2047), 2u);
    EXPECT_EQ(strings.Total(), 18u);
    EXPECT_EQ(strings.Text(5), std::u16string_view(u"notepad"));
    EXPECT_FALSE(strings.Text(6).has_value());
    EXPECT_EQ(strings.Length(6), 0u);

    EXPECT_TRUE(strings.Set(5, u"ab"));  // overwriting frees the old text
    EXPECT_EQ(strings.Total(), 8u);
    EXPECT_TRUE(strings.Set(7, std::u16string_view(u"cut\0here", 8)));
    EXPECT_EQ(strings.Text(7), std::u16string_view(u"cut"));
    EXPECT_EQ(strings.Total(), 16u);

    strings.Release(5);
    strings.Release(5);  // twice is harmless
    EXPECT_EQ(strings.Total(), 10u);
    EXPECT_FALSE(strings.Set(2048, u"x"));
    EXPECT_FALSE(strings.Set(-1, u"x"));
    strings.Release(-1);
    EXPECT_FALSE(strings.Text(4096).has_value());
    EXPECT_EQ(strings.Total(), 10u);
    strings.ReleaseAll();
    EXPECT_EQ(strings.Total(), 0u);
    EXPECT_FALSE(strings.Text(7).has_value());
}

TEST(AssignmentText, NamesTheKeyAndWhatItWasGiven)
{
    const test::MapTexts prompts = test::DefaultPrompts();
    KeyNames names;
    names.Load(test::MapTexts{{"MEDIA_MUTE_8", u"Mute"}, {"FUNC_KEY_DESC4", u"Save"}, {"UNKNOWN_KEY", u"Unknown Key: %03x"}});
    const MacroNameLookup macros = [](uint32_t id) { return id == 3 ? std::u16string(u"Fire") : std::u16string(); };
    const auto text = [&](AssignedKey key, KeyAssignment record) {
        return AssignmentText(key, record, names, prompts, macros);
    };
    const AssignedKey a = AssignedKey::Key(0x01E);

    EXPECT_EQ(text(a, {}).text, u"A");
    EXPECT_FALSE(text(a, {}).assigned);
    EXPECT_EQ(text(a, MakeAssignment(AssignmentKind::Key, 0x030)).text, u"AKeys, Set: Key(B)");
    EXPECT_TRUE(text(a, MakeAssignment(AssignmentKind::Key, 0x030)).assigned);
    EXPECT_EQ(text(AssignedKey::G(2), MakeAssignment(AssignmentKind::PlayMacro, 3)).text, u"G3Keys, Set: Macro(Fire)");
    EXPECT_EQ(text(AssignedKey::G(8), MakeAssignment(AssignmentKind::PlayMacro, 9)).text, u"G9Keys, Set: Macro()");
    EXPECT_EQ(text(a, MakeAssignment(AssignmentKind::Media, 7)).text, u"AKeys, Set: Media(Mute)");
    EXPECT_EQ(text(a, MakeAssignment(AssignmentKind::Function, 3)).text, u"AKeys, Set: Function(Save)");
    EXPECT_EQ(text(a, MakeAssignment(AssignmentKind::Key, 0x154)).text, u"AKeys, Set: Key(Unknown Key: 154)");
    for (AssignmentKind kind : {AssignmentKind::Disabled, AssignmentKind::LaunchProgram, AssignmentKind::StopMacro,
                                AssignmentKind::TextBlock, static_cast<AssignmentKind>(99)}) {
        const auto result = text(a, MakeAssignment(kind, 5));
        EXPECT_EQ(result.text, u"AKeys, Set: ");
        EXPECT_TRUE(result.assigned);
    }
    // Values only a damaged record holds show an empty name, never another entry.
    EXPECT_EQ(text(a, MakeAssignment(AssignmentKind::Media, 18)).text, u"AKeys, Set: Media()");
    EXPECT_EQ(text(a, MakeAssignment(AssignmentKind::Function, 0x10000)).text, u"AKeys, Set: Function()");
    EXPECT_EQ(text(a, MakeAssignment(AssignmentKind::Key, 0x10000)).text, u"AKeys, Set: Key()");
    // No macro lookup at all reads as no such macro.
    EXPECT_EQ(AssignmentText(a, MakeAssignment(AssignmentKind::PlayMacro, 3), names, prompts, nullptr).text,
              u"AKeys, Set: Macro()");
}

TEST(AssignmentText, FollowsTheLanguageAndIsCutAt259Characters)
{
    KeyNames names;
    const test::MapTexts chinese{{"KEY_PROMPT_SET", u"已设置："}, {"KEY_PROMPT_SINGLE", u"单键（"}};
    EXPECT_EQ(AssignmentText(AssignedKey::Key(0x01E), MakeAssignment(AssignmentKind::Key, 0x030), names, chinese, {}).text,
              u"A已设置：单键（B)");
    const std::u16string longName(250, u'n');
    const MacroNameLookup macros = [&](uint32_t) { return longName; };
    const auto result = AssignmentText(AssignedKey::Key(0x01E), MakeAssignment(AssignmentKind::PlayMacro, 1), names,
                                       test::DefaultPrompts(), macros);
    ASSERT_EQ(result.text.size(), 259u);
    EXPECT_EQ(result.text.substr(0, 19), u"AKeys, Set: Macro(n");
    EXPECT_EQ(result.text.back(), u'n');
}

} // namespace
} // namespace kovantis
