// Reading the lighting back from the keyboard and what the panel then shows.

#include <gtest/gtest.h>

#include "lighting_fixture.h"

namespace kovantis::testing {
namespace {

TEST(LightingReadback, ReadsTheEffectListAndAllThreeBlocks)
{
    LightingRig rig;
    rig.device.Model().SetLightingField(1, 1, 3);
    ASSERT_EQ(rig.lighting.LoadLighting(), 1);
    const auto sent = rig.TakeSent();
    ASSERT_EQ(CommandCodes(sent), (std::vector<int>{0x03, 0x01, 0x05, 0x05, 0x05, 0x02}));
    EXPECT_EQ(sent[0].length, 0x2C);
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(sent[static_cast<size_t>(2 + p)].address, p * 42);
        EXPECT_EQ(sent[static_cast<size_t>(2 + p)].length, 56);
    }
    EXPECT_EQ(rig.lighting.Effects().ids[18], 20);
    EXPECT_EQ(rig.lighting.Block(1).Brightness(), 3);
    EXPECT_EQ(rig.lighting.Block(2).EffectId(), 20);
    // Only the current profile's block is decoded.
    EXPECT_EQ(rig.lighting.State().effectId, 1);
    EXPECT_EQ(rig.lighting.State().brightness, 4);
}

TEST(LightingReadback, DecodesOddValuesTheWayThePanelShowsThem)
{
    LightingRig rig;
    rig.view.on = true;
    auto& model = rig.device.Model();
    model.SetLightingField(0, 15, 7);   // report rate beyond the four buttons
    model.SetLightingField(0, 17, 9);   // no such colour picture
    model.SetLightingField(0, 3, 0xFF);
    model.SetLightingField(0, 5, 0x12);
    rig.Arrive(0);
    LightingPanelLook look = rig.lighting.Look();
    EXPECT_EQ(look.reportRate, 3);
    EXPECT_EQ(rig.lighting.State().colourChoice, 0);
    EXPECT_EQ(look.colourPictures[0], "hongok.bmp");
    EXPECT_TRUE(look.direction.firstHighlighted);
    EXPECT_EQ(look.direction.firstPicture, "leftdown.bmp");
    EXPECT_EQ(look.direction.secondPicture, "rightup.bmp");
    EXPECT_EQ(look.effectColour, (Rgb{0x12, 0, 0}));

    // Effect 7 alone takes the reactive picture's state from byte 18, when it is 0 or 1.
    model.SetLightingField(0, 0, 7);
    model.SetLightingField(0, 4, 0xFF);
    model.SetLightingField(0, 18, 0);
    rig.lighting.Reread();
    EXPECT_EQ(rig.lighting.Look().reactiveMulticolourPicture, "sjsup.bmp");
    EXPECT_EQ(rig.lighting.Look().breathingMulticolourPicture, "sjsdown.bmp");
    model.SetLightingField(0, 18, 5);
    rig.lighting.Reread();
    EXPECT_EQ(rig.lighting.Look().reactiveMulticolourPicture, "sjsdown.bmp");
    model.SetLightingField(0, 0, 8);
    model.SetLightingField(0, 18, 0);
    rig.lighting.Reread();
    EXPECT_EQ(rig.lighting.Look().reactiveMulticolourPicture, "sjsdown.bmp");
}

TEST(LightingReadback, AFailedSettingsReadLeavesNothingToChoose)
{
    LightingRig rig;
    rig.view.on = true;
    rig.Arrive(0);
    const ProfileBlock before = rig.lighting.Block(0);
    rig.TakeSent();

    rig.device.InjectFault(Fault::StatusFF, 3);  // refused at every send
    EXPECT_EQ(rig.lighting.Reread(), -102);
    // Nothing after the failed read goes out; the mirror stays, every effect control hides.
    EXPECT_EQ(CommandCodes(rig.TakeSent()), (std::vector<int>{0x03, 0x03, 0x03}));
    EXPECT_EQ(rig.lighting.Block(0), before);
    const LightingPanelLook look = rig.lighting.Look();
    EXPECT_TRUE(look.effects.empty());
    EXPECT_FALSE(look.comboVisible);
    EXPECT_FALSE(look.brightness.visible);
    EXPECT_EQ(look.selectedEffect, -1);
    // The lamp and the report rate stay.
    EXPECT_EQ(look.lampPicture, "dengdown.bmp");
}

TEST(LightingReadback, ARecordThatCannotBeReadKeepsTheLastOneRead)
{
    LightingRig rig;
    rig.lighting.LoadLighting();
    const ProfileBlock before = rig.lighting.Block(1);
    rig.device.Model().SetLightingField(1, 1, 0);
    // Settings, begin and the first record go through; the second record is refused.
    rig.device.InjectFault(Fault::None, 3);
    rig.device.InjectFault(Fault::StatusFF, 3);
    EXPECT_EQ(rig.lighting.LoadLighting(), 1);
    EXPECT_EQ(rig.lighting.Block(1), before);
}

TEST(LightingReadback, AProfileButtonReadsThatProfileAndTurnsTheViewOff)
{
    LightingRig rig;
    rig.view.on = true;
    rig.Arrive(0);
    rig.TakeSent();
    rig.PressProfileButton(1);
    EXPECT_EQ(rig.lighting.State().profile, 1);
    EXPECT_EQ(rig.lighting.State().effectId, 6);
    EXPECT_FALSE(rig.view.on);
    EXPECT_FALSE(rig.lighting.State().lightingView);
    EXPECT_EQ(rig.lighting.KeyPictures(), KeyPictureContent::Captions);
    // The profile's current user mode went to the keyboard although its effect is not 20.
    const auto sent = rig.TakeSent();
    int colourWrites = 0;
    for (const SentCommand& c : sent) {
        if (c.command == 0x11) {
            EXPECT_EQ(c.address, 512 + colourWrites * 54);
            EXPECT_EQ(c.length, 54);
            ++colourWrites;
        }
    }
    EXPECT_EQ(colourWrites, 7);

    // An arrival with an unknown active profile keeps the current one.
    rig.Arrive(-1);
    EXPECT_EQ(rig.lighting.State().profile, 1);
    rig.Arrive(2);
    EXPECT_EQ(rig.lighting.State().effectId, 20);
}

TEST(LightingReadback, TheViewIsReadWithTheLighting)
{
    LightingRig rig;
    rig.view.on = true;
    rig.lighting.Reread();
    EXPECT_TRUE(rig.lighting.State().lightingView);
    EXPECT_TRUE(rig.lighting.Look().comboVisible);
    rig.view.on = false;
    rig.lighting.Reread();
    EXPECT_FALSE(rig.lighting.Look().comboVisible);
    EXPECT_EQ(rig.view.writes, 0);
}

} // namespace
} // namespace kovantis::testing
