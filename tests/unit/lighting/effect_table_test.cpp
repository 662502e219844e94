#include <gtest/gtest.h>

#include "lighting/effect_catalog.h"
#include "lighting/effect_list.h"
#include "lighting/profile_block.h"
#include "lighting/rgb.h"

namespace kovantis {
namespace {

TEST(EffectTable, NumbersTheOfferedEffectsWithoutGaps)
{
    EffectList empty;
    const EffectTable none(empty);
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(none.IdAt(0), -1);
    EXPECT_EQ(none.IndexOf(1), -1);
    EXPECT_FALSE(empty.Offers(0));

    EffectList gaps;
    gaps.ids[0] = 1;
    gaps.ids[1] = 0;
    gaps.ids[2] = 5;
    gaps.ids[31] = 20;
    const EffectTable table(gaps);
    EXPECT_EQ(table.size(), 3);
    EXPECT_EQ(table.IdAt(0), 1);
    EXPECT_EQ(table.IdAt(1), 5);
    EXPECT_EQ(table.IdAt(2), 20);
    EXPECT_EQ(table.IdAt(3), -1);
    EXPECT_EQ(table.IdAt(-1), -1);
    EXPECT_EQ(table.IndexOf(5), 1);
    EXPECT_EQ(table.IndexOf(20), 2);
    EXPECT_EQ(table.IndexOf(3), -1);
    EXPECT_TRUE(gaps.Offers(20));
    EXPECT_FALSE(gaps.Offers(3));

    std::array<uint8_t, kSettingsBlockSize> settings{};
    settings[11] = 0x40;  // macro space: not an effect
    settings[12] = 4;
    settings[43] = 18;
    const EffectList fromBlock = EffectList::FromSettingsBlock(settings);
    EXPECT_EQ(fromBlock.ids[0], 4);
    EXPECT_EQ(fromBlock.ids[31], 18);
    EXPECT_EQ(EffectTable(fromBlock).size(), 2);
}

TEST(ProfileBlock, DecodesItsFieldsAndRestoresTheDefaults)
{
    ProfileBlock block;
    block.Store(0, kRestoreBytes);
    EXPECT_EQ(block.EffectId(), 1);
    EXPECT_EQ(block.Brightness(), 4);
    EXPECT_EQ(block.Speed(), 2);
    EXPECT_EQ(block.Direction(), kDirectionSecond);
    EXPECT_TRUE(block.Multicolour());
    EXPECT_EQ(block.EffectColour(), kRed);
    EXPECT_EQ(block.ReportRate(), 0);
    EXPECT_EQ(block.ColourChoice(), 0);
    EXPECT_EQ(block.TriggerMode(), 0);
    EXPECT_EQ(block.StoneColour(), (Rgb{255, 255, 255}));
    EXPECT_FALSE(block.StoneSevenColour());
    EXPECT_EQ(block.RibbonColour(), (Rgb{255, 255, 255}));
    EXPECT_FALSE(block.RibbonSevenColour());

    block.SetByte(block_field::kReportRate, 7);
    EXPECT_EQ(block.ReportRate(), 3);
    block.SetByte(block_field::kMulticolour, 0x20);
    EXPECT_TRUE(block.Multicolour());

    // A store past the end is cut, never written beyond the block.
    const uint8_t tail[4] = {1, 2, 3, 4};
    block.Store(40, tail);
    EXPECT_EQ(block.bytes[40], 1);
    EXPECT_EQ(block.bytes[41], 2);
    EXPECT_EQ(ProfileBlockAddress(2, block_field::kBrightness), 85);
}

TEST(EffectCatalog, KnowsWhatEachEffectWritesAndShows)
{
    EXPECT_EQ(EffectInfoOf(1).writes, EffectWrites::IdAndMulticolour);
    EXPECT_EQ(EffectInfoOf(4).writes, EffectWrites::Id);
    EXPECT_EQ(EffectInfoOf(19).writes, EffectWrites::Nothing);
    EXPECT_EQ(EffectInfoOf(21).writes, EffectWrites::Nothing);
    EXPECT_FALSE(EffectInfoOf(0).known);
    for (int id : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20}) {
        EXPECT_TRUE(EffectInfoOf(id).controls.brightness) << id;
    }
    EXPECT_TRUE(EffectInfoOf(6).controls.reactiveGroup);
    EXPECT_FALSE(EffectInfoOf(6).controls.speed);
    EXPECT_TRUE(EffectInfoOf(17).controls.colourPictures);
    EXPECT_TRUE(EffectInfoOf(18).controls.direction);
    EXPECT_TRUE(EffectInfoOf(20).controls.userModeGroup);
    EXPECT_EQ(DirectionSetOf(2), DirectionSet::Wave);
    EXPECT_EQ(DirectionSetOf(12), DirectionSet::Rows);
    EXPECT_EQ(DirectionSetOf(18), DirectionSet::Base);
    EXPECT_EQ(DirectionPicturesOf(18), DirectionPictures::SpreadConverge);
    EXPECT_EQ(DirectionPicturesOf(12), DirectionPictures::UpDown);
    EXPECT_EQ(DirectionPicturesOf(1), DirectionPictures::LeftRight);
}

TEST(Rgb, ParsesAndFormatsTheDecimalTriple)
{
    EXPECT_EQ(ParseRgb(std::string_view("255,0,128")), (Rgb{255, 0, 128}));
    EXPECT_EQ(ParseRgb(std::u16string_view(u" 1 , 2 ,3 ")), (Rgb{1, 2, 3}));
    EXPECT_FALSE(ParseRgb(std::string_view("256,0,0")));
    EXPECT_FALSE(ParseRgb(std::string_view("1,2")));
    EXPECT_FALSE(ParseRgb(std::string_view("1,2,3,4")));
    EXPECT_FALSE(ParseRgb(std::string_view("a,b,c")));
    EXPECT_FALSE(ParseRgb(std::string_view("-1,0,0")));
    EXPECT_EQ(FormatRgb(Rgb{12, 0, 255}), u"12,0,255");
    EXPECT_EQ(ScaleRgb(Rgb{255, 128, 0}, 255), (Rgb{255, 128, 0}));
    EXPECT_EQ(ScaleRgb(Rgb{255, 128, 0}, 0), kBlack);
}

} // namespace
} // namespace kovantis
