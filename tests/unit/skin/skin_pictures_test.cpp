#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "skin/caption_style.h"
#include "skin/skin_keys.h"
#include "skin/skin_pictures.h"

namespace kovantis {
namespace {

TEST(PictureChoice, FirstMatchingStateWins)
{
    EXPECT_EQ(ChoosePicture({}), PictureSlot::Normal);
    EXPECT_EQ(ChoosePicture({.on = true}), PictureSlot::On);
    EXPECT_EQ(ChoosePicture({.hover = true, .on = true}), PictureSlot::Hover);
    EXPECT_EQ(ChoosePicture({.pressed = true, .hover = true, .on = true}), PictureSlot::Pressed);
    EXPECT_EQ(ChoosePicture({.disabled = true, .pressed = true, .hover = true, .on = true}), PictureSlot::Disabled);
    EXPECT_EQ(ChoosePicture({.disabled = true, .on = true}), PictureSlot::Disabled);
}

TEST(PictureChoice, MainWindowControlsStartWithTheirSets)
{
    // Keys, G keys, Fn and the selectable buttons show main_disable.jpg while on.
    for (const char* key : {"KEY_01E", "FUNC_G3", "KEY_FN", "FUNC_PROFILE1", "FUNC_REPORT4", "FLIP_1", "FUNC_DEFAULT"}) {
        EXPECT_EQ(MainStateSetOf(key), kMainKeySet) << key;
    }
    EXPECT_EQ(MainStateSetOf("CONTROL2_APPLY")[static_cast<int>(PictureSlot::Disabled)], kMainDisablePicture);
    EXPECT_EQ(MainStateSetOf("CONTROL_OK")[static_cast<int>(PictureSlot::Disabled)], kMainNormalPicture);
    EXPECT_EQ(MainStateSetOf("ZAVRIK_LINK")[static_cast<int>(PictureSlot::Pressed)], kMainDisablePicture);
    EXPECT_EQ(MainStateSetOf("LOCK_CAPS")[static_cast<int>(PictureSlot::On)], kMainOverPicture);
    EXPECT_EQ(MainStateSetOf("FLIP_0")[static_cast<int>(PictureSlot::On)], kMainDisablePicture);
    EXPECT_EQ(MainStateSetOf("ZAVRIK_VER"), kMainLabelSet);
    // Bank B: the disabled indicator shows main_over.jpg.
    EXPECT_EQ(kMainBankBIndicatorSet[static_cast<int>(PictureSlot::Disabled)], kMainOverPicture);
    EXPECT_EQ(kUpdateSet[static_cast<int>(PictureSlot::Pressed)], "update_over.jpg");
}

TEST(PictureNames, NumberedPicturesAndKeys)
{
    EXPECT_EQ(SliderFacePicture(0), "0.bmp");
    EXPECT_EQ(SliderFacePicture(kSpeedFirstFace + 3), "8.bmp");
    EXPECT_EQ(ProgressFramePicture(1), "jdt1.bmp");
    EXPECT_EQ(ProgressFramePicture(kProgressFrameCount), "jdt10.bmp");
    EXPECT_EQ(ArrowOriginKey(true, true, 1), "UP_ARROW_LEFT1");
    EXPECT_EQ(ArrowOriginKey(false, false, 2), "DOWN_ARROW_RIGHT2");
    // Every picture a window needs is one of its sets' files.
    const std::set<std::string_view> main(MainWindowPictures().begin(), MainWindowPictures().end());
    for (std::string_view name : kMainKeySet) EXPECT_TRUE(main.count(name)) << name;
    EXPECT_TRUE(main.count(kArrowPicture));
    const std::set<std::string_view> composite(CompositePictures().begin(), CompositePictures().end());
    for (const StateSet* set : {&kCompositeKeySet, &kCompositeMacroSet, &kCompositeMacroOnlySet, &kCompositeMediaSet, &kCompositeFunctionSet}) {
        for (std::string_view name : *set) EXPECT_TRUE(composite.count(name)) << name;
    }
    EXPECT_EQ(MainImageKeys().size(), 27u);
    EXPECT_EQ(MainPlainKeys().size(), 47u);
}

TEST(CaptionStyle, FontHeightAndWeight)
{
    EXPECT_EQ(CaptionPixelHeight(8, 96), 11);   // 10.67
    EXPECT_EQ(CaptionPixelHeight(9, 96), 12);
    EXPECT_EQ(CaptionPixelHeight(9, 72), 9);
    EXPECT_EQ(CaptionPixelHeight(3, 84), 4);    // 3.5 rounds away from zero
    CaptionStyle style;
    EXPECT_EQ(CaptionWeight(style), 400);
    style.rotated = true;   // heavy even at 0 tenths of a degree
    EXPECT_EQ(CaptionWeight(style), 956);
    EXPECT_EQ(CaptionStyle{}.format, 37u);
}

} // namespace
} // namespace kovantis
