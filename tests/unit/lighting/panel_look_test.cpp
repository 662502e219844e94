// Which controls the panel shows for each effect, and the skin's names and labels.

#include <gtest/gtest.h>

#include "lighting/lighting_panel_look.h"

namespace kovantis {
namespace {

EffectTable Offering(std::initializer_list<int> ids)
{
    EffectList list;
    size_t i = 0;
    for (int id : ids) {
        list.ids[i++] = static_cast<uint8_t>(id);
    }
    return EffectTable(list);
}

LightingPanelLook LookOf(int effectId, const EffectTable& table, bool view = true)
{
    LightingState state;
    state.effectId = effectId;
    state.lightingView = view;
    return BuildLightingPanelLook(state, table, LightingSkinTexts{}, 0, UserModeView{});
}

const EffectTable kAll = Offering({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20});

TEST(PanelLook, AnEmptyEffectListHidesEveryEffectControl)
{
    const LightingPanelLook look = LookOf(1, Offering({}));
    EXPECT_FALSE(look.comboVisible);
    EXPECT_TRUE(look.effects.empty());
    EXPECT_FALSE(look.brightness.visible);
    EXPECT_FALSE(look.speed.visible);
    EXPECT_FALSE(look.direction.visible);
    EXPECT_FALSE(look.breathingGroupVisible);
    EXPECT_FALSE(look.reactiveGroupVisible);
    EXPECT_FALSE(look.colourPicturesVisible);
    EXPECT_FALSE(look.userModeGroupVisible);
}

TEST(PanelLook, EachEffectShowsItsOwnControls)
{
    struct Expect {
        int id;
        bool speed, direction, breathing, reactive, pictures, userModes;
    };
    const Expect table[] = {
        {1, true, true, true, false, false, false},   {3, true, true, true, false, false, false},
        {4, true, false, false, false, false, false}, {5, true, false, true, false, false, false},
        {6, false, false, false, true, false, false}, {9, true, false, true, false, false, false},
        {10, true, false, false, false, false, false}, {12, true, true, false, false, false, false},
        {15, true, false, true, false, false, false}, {16, false, false, false, true, false, false},
        {17, false, false, false, false, true, false}, {18, false, true, false, false, false, false},
        {20, false, false, false, false, false, true},
    };
    for (const Expect& e : table) {
        const LightingPanelLook look = LookOf(e.id, kAll);
        EXPECT_TRUE(look.comboVisible) << e.id;
        EXPECT_TRUE(look.brightness.visible) << e.id;
        EXPECT_EQ(look.speed.visible, e.speed) << e.id;
        EXPECT_EQ(look.direction.visible, e.direction) << e.id;
        EXPECT_EQ(look.breathingGroupVisible, e.breathing) << e.id;
        EXPECT_EQ(look.reactiveGroupVisible, e.reactive) << e.id;
        EXPECT_EQ(look.colourPicturesVisible, e.pictures) << e.id;
        EXPECT_EQ(look.userModeGroupVisible, e.userModes) << e.id;
    }
    // With the view off only the lamp and the report rate are left.
    const LightingPanelLook off = LookOf(1, kAll, false);
    EXPECT_FALSE(off.comboVisible);
    EXPECT_FALSE(off.brightness.visible);
    EXPECT_FALSE(off.speed.visible);
    // An effect the keyboard does not list is not selectable, so none of its controls show.
    const LightingPanelLook missing = LookOf(5, Offering({1, 4}));
    EXPECT_EQ(missing.selectedEffect, -1);
    EXPECT_FALSE(missing.brightness.visible);
    EXPECT_TRUE(missing.comboVisible);
}

TEST(PanelLook, DirectionPicturesFollowTheEffect)
{
    LightingPanelLook look = LookOf(2, kAll);
    EXPECT_EQ(look.direction.labelSkinKey, "CONTROL_BLFXStatic2");
    EXPECT_EQ(look.direction.firstSkinKey, "CONTROL_BLFXLStaPic2");
    EXPECT_EQ(look.direction.secondSkinKey, "CONTROL_BLFXRStaPic2");
    EXPECT_EQ(look.direction.firstPicture, "leftup.bmp");
    EXPECT_EQ(look.direction.secondPicture, "rightdown.bmp");

    look = LookOf(12, kAll);
    EXPECT_EQ(look.direction.firstSkinKey, "CONTROL_BLFXLStaPic3");
    EXPECT_EQ(look.direction.firstPicture, "upup.bmp");
    EXPECT_EQ(look.direction.secondPicture, "downdown.bmp");

    LightingState state;
    state.effectId = 18;
    state.lightingView = true;
    state.direction = kDirectionFirst;
    look = BuildLightingPanelLook(state, kAll, LightingSkinTexts{}, 0, UserModeView{});
    EXPECT_EQ(look.direction.labelSkinKey, "CONTROL_BLFXStatic");
    EXPECT_EQ(look.direction.secondSkinKey, "CONTROL_BLFXRStaPic");
    EXPECT_EQ(look.direction.firstPicture, "kuosandown.bmp");
    EXPECT_EQ(look.direction.secondPicture, "julong.bmp");
}

TEST(PanelLook, SlidersAndToolsShowTheirPictures)
{
    LightingState state;
    state.effectId = 20;
    state.lightingView = true;
    state.brightness = 9;  // a value the keyboard should not hold shows at the end of the slider
    state.speed = 0;
    UserModeView modes;
    modes.settings.tool = 1;
    const LightingPanelLook look = BuildLightingPanelLook(state, kAll, LightingSkinTexts{}, 0, modes);
    EXPECT_EQ(look.brightness.position, 4);
    EXPECT_EQ(look.brightness.face, "4.bmp");
    EXPECT_EQ(look.speed.position, 3);
    EXPECT_EQ(look.speed.face, "8.bmp");
    EXPECT_EQ(look.toolPictures[0], "user1up.bmp");
    EXPECT_EQ(look.toolPictures[1], "user2down.bmp");
}

TEST(PanelLook, NamesAndLabelsComeFromTheSkinByLanguage)
{
    const LightingSkinTexts skin(IniDocument::Parse("[Mode1]\n1=波浪\n[Mode]\n1=Wave\n4=Cycle\n"
                                                    "[Control_Name]\nDeng=灯光\nSpeed=速度\n"
                                                    "[Control_Name1]\nDeng=Lighting\nUsb=Report rate\n"));
    LightingState state;
    state.lightingView = true;
    const EffectTable table = Offering({1, 4});

    LightingPanelLook chinese = BuildLightingPanelLook(state, table, skin, 0, {});
    ASSERT_EQ(chinese.effects.size(), 2u);
    EXPECT_EQ(chinese.effects[0].effectId, 1);
    EXPECT_EQ(chinese.effects[0].name, u"波浪");
    EXPECT_EQ(chinese.effects[1].name, u"1");  // the skin names no effect 4 in Mode1
    ASSERT_TRUE(chinese.labels);
    EXPECT_EQ(chinese.labels->deng, u"灯光");
    EXPECT_EQ(chinese.labels->usb, u"");

    LightingPanelLook english = BuildLightingPanelLook(state, table, skin, 1, {});
    EXPECT_EQ(english.effects[1].name, u"Cycle");
    EXPECT_EQ(english.labels->deng, u"Lighting");
    EXPECT_EQ(english.labels->usb, u"Report rate");

    // Another language value reads neither section: labels stay, names are the built-in ones.
    LightingPanelLook other = BuildLightingPanelLook(state, table, skin, 2, {});
    EXPECT_FALSE(other.labels);
    EXPECT_EQ(other.effects[0].name, u"Wave");
    EXPECT_FALSE(skin.SkinEffectName(4, 0));
    EXPECT_EQ(skin.SkinEffectName(4, 1), std::u16string(u"Cycle"));
}

} // namespace
} // namespace kovantis
