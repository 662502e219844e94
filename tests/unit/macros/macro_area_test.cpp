#include <gtest/gtest.h>

#include <vector>

#include "keyboard/hid_usage.h"
#include "wire/le_bytes.h"
#include "macros/macro_area.h"

namespace kovantis {
namespace {

MacroRecord Macro(std::u16string_view name, std::vector<MacroAction> steps, uint16_t id = 1)
{
    MacroRecord record;
    record.SetName(name);
    record.playCount = 1;
    record.id = id;
    record.actionCount = static_cast<uint16_t>(steps.size());
    std::copy(steps.begin(), steps.end(), record.actions.begin());
    return record;
}

TEST(MacroAreaImage, ExactBytesOfTheOneMacroExampleAndOfAnEmptyList)
{
    const std::vector<MacroRecord> one = {
        Macro(u"A", {{120, 0x02A, kMacroPress}, {0, 0x02A, kMacroRelease}})};
    const MacroAreaSizes sizes = MeasureMacroAreaImage(one);
    EXPECT_EQ(sizes.withNames, 32u);
    EXPECT_EQ(sizes.withoutNames, 30u);
    const std::vector<uint8_t> expected = {
        0xAA, 0x55, 0x20, 0x00, 0x01, 0x00, 0x01, 0x00, 0, 0, 0, 0, 0, 0, 0, 0,  // header
        0x12, 0x00,                                                              // offset table
        0x02, 0x00, 0x01, 0x01,                                                  // c, play, L
        0x0C, 0xA0, 0x01, 0x02,                                                  // press Shift, 120 ms
        0x00, 0x20, 0x01, 0x02,                                                  // release Shift
        0x41, 0x00};                                                             // "A"
    EXPECT_EQ(BuildMacroAreaImage(one, true), expected);

    const std::vector<uint8_t> empty = {0xAA, 0x55, 0x10, 0x00, 0x00, 0x00, 0x01, 0x00,
                                        0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(BuildMacroAreaImage({}, true), empty);
    EXPECT_EQ(MeasureMacroAreaImage({}).withoutNames, 16u);
}

TEST(MacroAreaImage, StepEncodingOfDelaysClassesAndStates)
{
    EXPECT_EQ(EncodeMacroAction({40000, 0x02A, kMacroPress}).word & 0x0FFF, 4000);
    EXPECT_EQ(EncodeMacroAction({15, 0x02A, kMacroPress}).word & 0x0FFF, 1);
    EXPECT_EQ(DecodeMacroAction(EncodeMacroAction({15, 0x02A, kMacroPress})).delay, 10u);
    // Above 40950 ms the pause saturates at the longest the word holds instead of wrapping
    // round to a short one (41000 would have played as 40 ms).
    EXPECT_EQ(EncodeMacroAction({40950, 0x02A, kMacroPress}).word & 0x0FFF, 0x0FFF);
    EXPECT_EQ(EncodeMacroAction({41000, 0x02A, kMacroPress}).word, 0xAFFF);
    EXPECT_EQ(EncodeMacroAction({0xFFFFFFFF, 0x02A, kMacroRelease}).word, 0x2FFF);
    // A state other than release counts as a press.
    EXPECT_EQ(EncodeMacroAction({0, 0x02A, 7}).word & 0x8000, 0x8000);

    const KeyCode volumeUp = UsageToKeyCode(kConsumerPage, 0x00E9);
    ASSERT_NE(volumeUp, 0);
    const EncodedMacroAction consumer = EncodeMacroAction({0, volumeUp, kMacroRelease});
    EXPECT_EQ(consumer.word, 0x3000);
    EXPECT_EQ(consumer.b2, 0xE9);
    EXPECT_EQ(consumer.b3, 0x00);

    const EncodedMacroAction letterA = EncodeMacroAction({0, 0x01E, kMacroPress});
    EXPECT_EQ(letterA.word, 0xA000);
    EXPECT_EQ(letterA.b2, 2);
    EXPECT_EQ(letterA.b3, 0x04);

    const EncodedMacroAction rightWin = EncodeMacroAction({0, 0x15C, kMacroPress});
    EXPECT_EQ(rightWin.b2, 1);
    EXPECT_EQ(rightWin.b3, 0x80);

    for (const MacroAction& a : {MacroAction{120, 0x02A, kMacroPress}, MacroAction{0, volumeUp, kMacroRelease},
                                 MacroAction{990, 0x01E, kMacroRelease}, MacroAction{30, 0x15C, kMacroPress}}) {
        EXPECT_EQ(DecodeMacroAction(EncodeMacroAction(a)), a);
    }
}

TEST(MacroAreaImage, ParseRoundTripsAndNamesNamelessMacrosByPosition)
{
    std::vector<MacroRecord> list = {Macro(u"Fire", {{100, 0x01E, kMacroPress}, {0, 0x01E, kMacroRelease}}, 7),
                                     Macro(u"Jump", {{0, 0x039, kMacroPress}}, 3)};
    list[1].playCount = 5;
    std::vector<MacroRecord> parsed;
    ASSERT_EQ(ParseMacroAreaImage(BuildMacroAreaImage(list, true), 2, u"Macro", parsed), 1);
    ASSERT_EQ(parsed.size(), 2u);
    EXPECT_EQ(parsed[0].Name(), u"Fire");
    EXPECT_EQ(parsed[0].id, 1);  // ids are positions + 1
    EXPECT_EQ(parsed[1].id, 2);
    EXPECT_EQ(parsed[1].playCount, 5);
    EXPECT_EQ(parsed[0].actionCount, 2);
    EXPECT_EQ(parsed[0].actions[0], (MacroAction{100, 0x01E, kMacroPress}));
    EXPECT_EQ(parsed[0].actions[2], MacroAction{});  // slots beyond the count stay zero

    const std::vector<uint8_t> nameless = BuildMacroAreaImage(list, false);
    EXPECT_EQ(ReadU16(nameless, 6), 0);
    ASSERT_EQ(ParseMacroAreaImage(nameless, 2, u"Macro", parsed), 1);
    EXPECT_EQ(parsed[0].Name(), u"Macro1");
    EXPECT_EQ(parsed[1].Name(), u"Macro2");

    // A stored name that is empty up to its first NUL counts as no name.
    std::vector<uint8_t> blankName = BuildMacroAreaImage(std::vector<MacroRecord>{Macro(u"Z", {})}, true);
    WriteU16(blankName, 16 + 2 + 4, 0);
    ASSERT_EQ(ParseMacroAreaImage(blankName, 1, u"Macro", parsed), 1);
    EXPECT_EQ(parsed[0].Name(), u"Macro1");
}

TEST(MacroAreaImage, ParseRejectsImagesThatBreakTheRecordsOrPointOutside)
{
    const std::vector<MacroRecord> list = {Macro(u"A", {{0, 0x01E, kMacroPress}})};
    const std::vector<uint8_t> good = BuildMacroAreaImage(list, true);
    std::vector<MacroRecord> out;

    EXPECT_EQ(ParseMacroAreaImage(good, 101, u"M", out), 0);
    EXPECT_EQ(ParseMacroAreaImage(good, -1, u"M", out), 0);
    // Cut short: the name, then the step, then the offset table are missing.
    for (size_t cut : {good.size() - 1, good.size() - 3, size_t{17}, size_t{3}}) {
        EXPECT_EQ(ParseMacroAreaImage(std::span(good).first(cut), 1, u"M", out), 0) << cut;
    }
    std::vector<uint8_t> bad = good;
    WriteU16(bad, 16, 0xFFF0);  // entry offset outside the image
    EXPECT_EQ(ParseMacroAreaImage(bad, 1, u"M", out), 0);
    bad = good;
    WriteU16(bad, 18, 2001);  // more steps than a record holds
    bad.resize(18 + 4 + 4 * 2001 + 2);
    EXPECT_EQ(ParseMacroAreaImage(bad, 1, u"M", out), 0);
    bad = good;
    bad[21] = 250;  // a name longer than a record holds
    bad.resize(bad.size() + 500);
    EXPECT_EQ(ParseMacroAreaImage(bad, 1, u"M", out), 0);
    EXPECT_TRUE(out.empty());

    EXPECT_EQ(ParseMacroAreaImage(good, 1, u"M", out), 1);
    EXPECT_EQ(MacroAreaCountOf(good), 1);
    std::vector<uint8_t> unmarked = good;
    unmarked[0] = 0;
    EXPECT_EQ(MacroAreaCountOf(unmarked), -1);
}

TEST(MacroAreaImage, SizesOfLargeListsAreNotCutTo16Bits)
{
    // 100 macros of 2000 steps: 800 416 bytes, which 16-bit sums would wrap to a small number.
    std::vector<MacroRecord> list(kMaxMacros);
    for (MacroRecord& m : list) {
        m.actionCount = kMaxMacroActions;
    }
    const MacroAreaSizes sizes = MeasureMacroAreaImage(list);
    EXPECT_EQ(sizes.withoutNames, 16u + 200u + 100u * (4u + 8000u));
    EXPECT_TRUE(BuildMacroAreaImage(list, false).empty());
}

} // namespace
} // namespace kovantis
