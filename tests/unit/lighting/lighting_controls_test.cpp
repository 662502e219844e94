// The panel's controls, checked against the reports that reach the keyboard.

#include <gtest/gtest.h>

#include "lighting_fixture.h"

namespace kovantis::testing {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kBegin = 0x01;
constexpr int kEnd = 0x02;
constexpr int kWriteRecord = 0x06;
constexpr int kWriteColours = 0x11;

void ExpectOneWrite(const std::vector<SentCommand>& sent, int address, const Bytes& data)
{
    ASSERT_EQ(CommandCodes(sent), (std::vector<int>{kBegin, kWriteRecord, kEnd}));
    EXPECT_EQ(sent[1].address, address);
    EXPECT_EQ(sent[1].length, static_cast<int>(data.size()));
    EXPECT_EQ(sent[1].data, data);
}

uint8_t KeyboardByte(LightingRig& rig, int profile, int offset)
{
    return rig.device.Model().ProfileRecords()[static_cast<size_t>(profile * 42 + offset)];
}

// A rig on profile 0 with the lighting read and the view on, nothing sent yet.
struct ConnectedRig : LightingRig {
    explicit ConnectedRig(const FakeDeviceOptions& options = {}) : LightingRig(options)
    {
        view.on = true;
        Arrive(0);
        TakeSent();
    }
};

TEST(LightingControls, SlidersWriteOnlyWhenTheirValueChanges)
{
    ConnectedRig rig;  // the keyboard's block: brightness 4, speed 2
    rig.lighting.MoveBrightnessSlider(2);
    ExpectOneWrite(rig.TakeSent(), 1, {2});
    EXPECT_EQ(KeyboardByte(rig, 0, 1), 2);

    rig.lighting.MoveBrightnessSlider(2);
    EXPECT_TRUE(rig.TakeSent().empty());

    // The slider runs the other way round from the keyboard's speed value.
    rig.lighting.MoveSpeedSlider(0);
    ExpectOneWrite(rig.TakeSent(), 2, {3});
    EXPECT_EQ(rig.lighting.State().speed, 3);
    EXPECT_EQ(rig.lighting.Look().speed.position, 0);
    EXPECT_EQ(rig.lighting.Look().speed.face, "5.bmp");
    rig.lighting.MoveSpeedSlider(3);
    ExpectOneWrite(rig.TakeSent(), 2, {0});
    EXPECT_EQ(rig.lighting.Look().speed.face, "8.bmp");
    rig.lighting.MoveSpeedSlider(3);
    EXPECT_TRUE(rig.TakeSent().empty());

    // A refresh after the move, from what the keyboard now holds, shows the same position.
    rig.lighting.Reread();
    EXPECT_EQ(rig.lighting.Look().speed.position, 3);
    EXPECT_EQ(rig.lighting.Look().brightness.position, 2);
    EXPECT_EQ(rig.lighting.Look().brightness.face, "2.bmp");

    // Positions a slider cannot have are not written.
    rig.TakeSent();
    rig.lighting.MoveBrightnessSlider(5);
    rig.lighting.MoveSpeedSlider(-1);
    EXPECT_TRUE(rig.TakeSent().empty());
}

TEST(LightingControls, PicturesAndButtonsWriteTheirField)
{
    ConnectedRig rig;
    rig.lighting.PressDirectionPicture(true);
    ExpectOneWrite(rig.TakeSent(), 3, {0xFF});
    rig.lighting.PressDirectionPicture(false);
    ExpectOneWrite(rig.TakeSent(), 3, {0x00});
    EXPECT_FALSE(rig.lighting.Look().direction.firstHighlighted);

    ASSERT_TRUE(rig.lighting.State().multicolour);  // the keyboard had 0xFF
    rig.lighting.ToggleMulticolour();
    ExpectOneWrite(rig.TakeSent(), 4, {0});
    EXPECT_EQ(rig.lighting.Look().breathingMulticolourPicture, "sjsup.bmp");
    rig.lighting.ToggleMulticolour();
    ExpectOneWrite(rig.TakeSent(), 4, {1});
    EXPECT_EQ(rig.lighting.Look().reactiveMulticolourPicture, "sjsdown.bmp");

    rig.lighting.ChooseColourPicture(2);
    ExpectOneWrite(rig.TakeSent(), 17, {2});
    EXPECT_EQ(rig.lighting.Look().colourPictures[2], "lvok.bmp");
    EXPECT_EQ(rig.lighting.Look().colourPictures[0], "hong.bmp");
    rig.lighting.ChooseColourPicture(4);
    EXPECT_TRUE(rig.TakeSent().empty());

    for (int index = 3; index >= 0; --index) {
        rig.lighting.PressReportRate(index);
        ExpectOneWrite(rig.TakeSent(), 15, {static_cast<uint8_t>(index)});
        EXPECT_EQ(rig.lighting.Look().reportRate, index);
    }
    EXPECT_EQ(KeyboardByte(rig, 0, 15), 0);
}

TEST(LightingControls, AColourButtonSwitchesMulticolourOffAndPaintsTheKeys)
{
    ConnectedRig rig;
    rig.lighting.ChooseEffectColour(Rgb{10, 20, 30});
    const auto sent = rig.TakeSent();
    ASSERT_EQ(CommandCodes(sent), (std::vector<int>{kBegin, kWriteRecord, kWriteRecord, kEnd}));
    EXPECT_EQ(sent[1].address, 4);
    EXPECT_EQ(sent[1].data, Bytes{0});
    EXPECT_EQ(sent[2].address, 5);
    EXPECT_EQ(sent[2].data, (Bytes{10, 20, 30}));

    const LightingPanelLook look = rig.lighting.Look();
    EXPECT_EQ(look.effectColour, (Rgb{10, 20, 30}));
    EXPECT_EQ(look.breathingMulticolourPicture, "sjsup.bmp");
    EXPECT_FALSE(rig.lighting.State().multicolour);
    EXPECT_EQ(rig.lighting.KeyPictureColour(1058), (Rgb{10, 20, 30}));  // A
}

TEST(LightingControls, ProfileTwoWritesAtItsOwnOffsets)
{
    ConnectedRig rig;
    rig.PressProfileButton(2);
    rig.TakeSent();
    rig.lighting.MoveBrightnessSlider(1);
    ExpectOneWrite(rig.TakeSent(), 85, {1});
    rig.lighting.ChooseEffectColour(Rgb{0, 255, 0});
    const auto sent = rig.TakeSent();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[1].address, 88);
    EXPECT_EQ(sent[2].address, 89);
    EXPECT_EQ(sent[2].length, 3);
    EXPECT_EQ(KeyboardByte(rig, 2, 6), 255);
    EXPECT_EQ(KeyboardByte(rig, 0, 6), 0);  // profile 0 untouched
}

TEST(LightingControls, SelectingAnEffectWritesItsCommandGroup)
{
    ConnectedRig rig;
    const EffectTable& table = rig.lighting.Table();

    rig.lighting.SelectEffect(table.IndexOf(4));
    ExpectOneWrite(rig.TakeSent(), 0, {4});
    EXPECT_EQ(rig.lighting.State().effectId, 4);

    rig.lighting.SelectEffect(table.IndexOf(5));
    auto sent = rig.TakeSent();
    ASSERT_EQ(CommandCodes(sent), (std::vector<int>{kBegin, kWriteRecord, kWriteRecord, kEnd}));
    EXPECT_EQ(sent[1].data, Bytes{5});
    EXPECT_EQ(sent[2].address, 4);
    EXPECT_EQ(sent[2].data, Bytes{1});  // the multicolour flag as 0 or 1, not 0xFF

    // Effect 20 shows the per-key colours on the key pictures; others their captions first.
    rig.lighting.SelectEffect(table.IndexOf(20));
    EXPECT_EQ(rig.lighting.KeyPictures(), KeyPictureContent::PerKeyColours);
    rig.lighting.SelectEffect(table.IndexOf(7));
    EXPECT_EQ(rig.lighting.KeyPictures(), KeyPictureContent::Captions);

    rig.TakeSent();
    rig.lighting.SelectEffect(99);
    EXPECT_TRUE(rig.TakeSent().empty());
    EXPECT_EQ(rig.lighting.State().effectId, 7);
}

TEST(LightingControls, AnUnknownEffectWritesNothingAndKeepsTheComboBox)
{
    FakeDeviceOptions options;
    options.keyboard.useDefaultEffects = false;
    options.keyboard.effects[0] = 1;
    options.keyboard.effects[1] = 19;
    ConnectedRig rig(options);
    rig.lighting.SelectEffect(1);
    EXPECT_TRUE(rig.TakeSent().empty());
    EXPECT_EQ(rig.lighting.State().effectId, 19);
    const LightingPanelLook look = rig.lighting.Look();
    EXPECT_FALSE(look.brightness.visible);
    EXPECT_FALSE(look.speed.visible);
    EXPECT_FALSE(look.breathingGroupVisible);
    // Mended: the combo box stays, or the user could never choose another effect.
    EXPECT_TRUE(look.comboVisible);
    EXPECT_EQ(look.selectedEffect, 1);
}

TEST(LightingControls, TheStateFollowsTheControlWhateverTheKeyboardAnswers)
{
    ConnectedRig rig;
    rig.device.InjectFault(Fault::RefuseSend, 9);  // as good as unplugged
    rig.lighting.MoveBrightnessSlider(0);
    EXPECT_EQ(rig.lighting.State().brightness, 0);
    EXPECT_EQ(rig.lighting.Look().brightness.position, 0);
    EXPECT_EQ(KeyboardByte(rig, 0, 1), 4);  // the keyboard never heard of it
    // The same position again is still "unchanged" for the panel.
    rig.TakeSent();
    rig.lighting.MoveBrightnessSlider(0);
    EXPECT_TRUE(rig.TakeSent().empty());
}

TEST(LightingRestore, WritesTheDefaultsOnlyWithTheViewOn)
{
    ConnectedRig rig;
    rig.lighting.ToggleLightingView();  // off
    rig.TakeSent();
    rig.lighting.MoveBrightnessSlider(1);
    rig.TakeSent();
    rig.lighting.RestoreLightingDefaults();
    EXPECT_TRUE(rig.TakeSent().empty());
    EXPECT_EQ(rig.lighting.State().brightness, 1);

    rig.lighting.ToggleLightingView();  // on
    rig.lighting.PressReportRate(2);
    rig.lighting.ChooseEffectColour(Rgb{1, 2, 3});  // multicolour off
    rig.TakeSent();
    rig.lighting.RestoreLightingDefaults();
    const auto sent = rig.TakeSent();
    // Effect 1 selected (with the flag as it stood), the user modes of profile 0 sent, then the
    // 35 default bytes in one write.
    std::vector<int> expected = {kBegin, kWriteRecord, kWriteRecord, kEnd, kBegin};
    expected.insert(expected.end(), 7, kWriteColours);
    expected.insert(expected.end(), {kEnd, kBegin, kWriteRecord, kEnd});
    ASSERT_EQ(CommandCodes(sent), expected);
    EXPECT_EQ(sent[1].data, Bytes{1});
    EXPECT_EQ(sent[2].address, 4);
    EXPECT_EQ(sent[2].data, Bytes{0});
    const SentCommand& restore = sent[sent.size() - 2];
    EXPECT_EQ(restore.address, 0);
    EXPECT_EQ(restore.data, (Bytes{0x01, 0x04, 0x02, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x08, 0xFF, 0xFF, 0xFF,
                                   0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00,
                                   0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));

    const LightingPanelLook look = rig.lighting.Look();
    EXPECT_EQ(look.brightness.position, 4);
    EXPECT_EQ(look.speed.position, 1);
    EXPECT_FALSE(look.direction.firstHighlighted);
    EXPECT_EQ(look.effectColour, kRed);
    EXPECT_EQ(look.breathingMulticolourPicture, "sjsdown.bmp");
    // Mended: the report rate the restore wrote shows at once.
    EXPECT_EQ(look.reportRate, 0);
    EXPECT_EQ(rig.lighting.Block(0).EffectId(), 1);
}

TEST(LightingRestore, LeavesTheUserModesAloneWhenEffectTwentyIsNotOffered)
{
    FakeDeviceOptions options;
    options.keyboard.useDefaultEffects = false;
    options.keyboard.effects[0] = 1;
    options.keyboard.effects[1] = 5;
    ConnectedRig rig(options);
    rig.lighting.RestoreLightingDefaults();
    EXPECT_EQ(CommandCodes(rig.TakeSent()),
              (std::vector<int>{kBegin, kWriteRecord, kWriteRecord, kEnd, kBegin, kWriteRecord, kEnd}));
}

TEST(LightingView, TheLampPersistsTheViewAndMayBeRefused)
{
    ConnectedRig rig;
    EXPECT_TRUE(rig.lighting.PreviewShouldRun(true));
    EXPECT_FALSE(rig.lighting.PreviewShouldRun(false));

    EXPECT_FALSE(rig.lighting.ToggleLightingView());
    EXPECT_FALSE(rig.view.on);
    EXPECT_EQ(rig.lighting.KeyPictures(), KeyPictureContent::Captions);
    EXPECT_EQ(rig.lighting.Look().lampPicture, "dengup.bmp");
    EXPECT_FALSE(rig.lighting.PreviewShouldRun(true));
    EXPECT_FALSE(rig.lighting.Look().comboVisible);

    // Turning it on re-selects the profile; an open editor refuses that and the view stays off.
    int reselected = -1;
    bool allow = false;
    rig.lighting.SetProfileReselector([&](int p) {
        reselected = p;
        return allow;
    });
    EXPECT_FALSE(rig.lighting.ToggleLightingView());
    EXPECT_EQ(reselected, 0);
    EXPECT_FALSE(rig.view.on);
    allow = true;
    EXPECT_TRUE(rig.lighting.ToggleLightingView());
    EXPECT_TRUE(rig.view.on);
    EXPECT_EQ(rig.lighting.Look().lampPicture, "dengdown.bmp");
    // Effect 1 previews at once.
    EXPECT_EQ(rig.lighting.KeyPictures(), KeyPictureContent::Colours);

    // A tick with the view off does nothing.
    rig.lighting.ToggleLightingView();
    rig.lighting.PreviewTick();
    EXPECT_EQ(rig.lighting.KeyPictures(), KeyPictureContent::Captions);
}

} // namespace
} // namespace kovantis::testing
