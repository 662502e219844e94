// Per-key colours and the user-mode files, against the keyboard's memory and the files.

#include <gtest/gtest.h>

#include "lighting_fixture.h"
#include "platform/ini_file.h"

namespace kovantis::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kA = 64;      // matrix index of A
constexpr int kAControl = 1058;
constexpr int kGControl = 1000;

Rgb KeyboardColour(LightingRig& rig, int profile, int index)
{
    const auto colours = rig.device.Model().KeyColours(profile);
    const auto at = static_cast<size_t>(index) * 3;
    return Rgb{colours[at], colours[at + 1], colours[at + 2]};
}

std::u16string Line(LightingRig& rig, int profile, const std::u16string& section, const std::u16string& key)
{
    return IniFile((rig.OverlaySkins() / UserModeStore::FileName(profile)).string()).ReadString(section, key, u"-");
}

// Profile 2 is on effect 20 in the fake keyboard; the view is on.
struct PerKeyRig : LightingRig {
    PerKeyRig()
    {
        view.on = true;
        Arrive(2);
        TakeSent();
    }
};

TEST(UserModes, AMissingFileGivesTenBlankModesAndRedKeys)
{
    PerKeyRig rig;
    const UserModeView& view = rig.modes.View();
    for (const auto& name : view.names) {
        EXPECT_EQ(name, u"0");
    }
    EXPECT_EQ(view.mode, 0);
    EXPECT_EQ(view.settings.tool, 0);
    EXPECT_EQ(view.settings.base, kBlack);
    EXPECT_EQ(view.settings.brush, kBlack);
    for (int key : {0, kA, 108, 110, 124}) {
        EXPECT_EQ(rig.modes.Colours().At(2, key), kRed) << key;
        EXPECT_TRUE(rig.modes.Colours().FollowsBase(2, key)) << key;
        EXPECT_EQ(KeyboardColour(rig, 2, key), kRed) << key;
    }
    // Reading wrote nothing.
    EXPECT_FALSE(fs::exists(rig.OverlaySkins() / "UserDengColor_2.userd"));

    // A base colour then paints every key in it.
    rig.lighting.ChooseBaseColour(Rgb{0, 0, 200});
    EXPECT_EQ(KeyboardColour(rig, 2, kA), (Rgb{0, 0, 200}));
    EXPECT_EQ(KeyboardColour(rig, 2, 110), (Rgb{0, 0, 200}));
    EXPECT_EQ(rig.lighting.KeyPictureColour(kAControl), (Rgb{0, 0, 200}));
}

TEST(UserModes, TheTableGoesOutInSevenWritesOf54Bytes)
{
    PerKeyRig rig;
    EXPECT_EQ(rig.modes.SendTable(2), 1);
    const auto sent = rig.TakeSent();
    ASSERT_EQ(sent.size(), 9u);
    EXPECT_EQ(sent.front().command, 0x01);
    EXPECT_EQ(sent.back().command, 0x02);
    for (int j = 0; j < 7; ++j) {
        const SentCommand& c = sent[static_cast<size_t>(j + 1)];
        EXPECT_EQ(c.command, 0x11);
        EXPECT_EQ(c.length, 54);
        EXPECT_EQ(c.address, 2 * 512 + j * 54);
    }
}

TEST(UserModes, PaintingUsesTheToolAndTheBaseRecoloursOnlyFollowers)
{
    PerKeyRig rig;
    rig.lighting.ChooseBrushColour(Rgb{0, 255, 0});
    EXPECT_TRUE(rig.TakeSent().empty());  // the brush is the file's business only
    EXPECT_EQ(Line(rig, 2, u"Mode0", u"color"), u"0,255,0");
    EXPECT_EQ(Line(rig, 2, u"Mode0", u"tool"), u"0");
    EXPECT_EQ(Line(rig, 2, u"Mode0", u"jcolor"), u"0,0,0");

    EXPECT_EQ(rig.lighting.ClickKeyPicture(kAControl), KeyPictureClick::Painted);
    auto sent = rig.TakeSent();
    ASSERT_EQ(CommandCodes(sent), (std::vector<int>{0x01, 0x11, 0x02}));
    EXPECT_EQ(sent[1].address, 2 * 512 + kA * 3);
    EXPECT_EQ(sent[1].data, (std::vector<uint8_t>{0, 255, 0}));
    EXPECT_EQ(Line(rig, 2, u"Mode0", u"64"), u"0,255,0,0");
    EXPECT_FALSE(rig.modes.Colours().FollowsBase(2, kA));

    // The base colour leaves the painted key as it is and recolours the others.
    rig.lighting.ChooseBaseColour(Rgb{50, 60, 70});
    EXPECT_EQ(KeyboardColour(rig, 2, kA), (Rgb{0, 255, 0}));
    EXPECT_EQ(KeyboardColour(rig, 2, 0), (Rgb{50, 60, 70}));
    EXPECT_EQ(Line(rig, 2, u"Mode0", u"0"), u"50,60,70,1");
    EXPECT_EQ(Line(rig, 2, u"Mode0", u"64"), u"0,255,0,0");

    // The base tool paints with the base and makes the key follow it again.
    rig.lighting.SelectTool(1);
    EXPECT_EQ(Line(rig, 2, u"Mode0", u"tool"), u"1");
    rig.lighting.ClickKeyPicture(kAControl);
    EXPECT_EQ(Line(rig, 2, u"Mode0", u"64"), u"50,60,70,1");
    EXPECT_TRUE(rig.modes.Colours().FollowsBase(2, kA));
    EXPECT_EQ(rig.lighting.Look().toolPictures[1], "user2down.bmp");
}

TEST(UserModes, TheSameBaseColourSendsAndWritesNothing)
{
    PerKeyRig rig;
    rig.lighting.ChooseBaseColour(kBlack);
    EXPECT_TRUE(rig.TakeSent().empty());
    EXPECT_FALSE(fs::exists(rig.OverlaySkins() / "UserDengColor_2.userd"));
}

TEST(UserModes, GKeysFollowTheBaseButAreNotReadBack)
{
    PerKeyRig rig;
    rig.lighting.ChooseBaseColour(Rgb{9, 8, 7});
    EXPECT_EQ(Line(rig, 2, u"Mode0", u"125"), u"9,8,7,1");
    const auto colours = rig.device.Model().KeyColours(2);
    EXPECT_EQ(colours[375], 9);
    EXPECT_EQ(colours[376], 8);
    EXPECT_EQ(colours[377], 7);
    EXPECT_EQ(rig.lighting.KeyPictureColour(kGControl), (Rgb{9, 8, 7}));

    // Another line 125 in the file does not come back on the next load.
    IniFile((rig.OverlaySkins() / "UserDengColor_2.userd").string()).WriteString(u"Mode0", u"125", u"1,1,1,1");
    rig.modes.LoadUserMode(2);
    EXPECT_EQ(rig.modes.Colours().At(2, 125), (Rgb{9, 8, 7}));

    // A click on a G button is never a paint; it opens assignment editing in both views.
    EXPECT_EQ(rig.lighting.ClickKeyPicture(kGControl), KeyPictureClick::NotLighting);
}

TEST(UserModes, ClicksPaintOnlyInTheLightingViewOnEffectTwenty)
{
    PerKeyRig rig;
    rig.lighting.ChooseBrushColour(Rgb{1, 2, 3});
    EXPECT_EQ(rig.lighting.ClickKeyPicture(1016), KeyPictureClick::Painted);  // D1 colours position 0
    EXPECT_EQ(rig.modes.Colours().At(2, 0), (Rgb{1, 2, 3}));
    EXPECT_EQ(rig.lighting.ClickKeyPicture(1174), KeyPictureClick::Painted);  // Fn
    EXPECT_EQ(KeyboardColour(rig, 2, 110), (Rgb{1, 2, 3}));
    EXPECT_EQ(rig.lighting.ClickKeyPicture(1007), KeyPictureClick::NotLighting);  // macro button

    rig.lighting.SelectEffect(rig.lighting.Table().IndexOf(4));
    rig.TakeSent();
    EXPECT_EQ(rig.lighting.ClickKeyPicture(kAControl), KeyPictureClick::Ignored);
    EXPECT_TRUE(rig.TakeSent().empty());

    rig.lighting.ToggleLightingView();
    EXPECT_EQ(rig.lighting.ClickKeyPicture(kAControl), KeyPictureClick::NotLighting);
}

TEST(UserModes, ModesAreSelectedAndRenamedInTheOverlayFile)
{
    PerKeyRig rig;
    WriteTextFile(rig.ShippedSkins() / "UserDengColor_2.userd",
                  "[PRESENTMODE]\nmode=0\n[MODENAME]\n0=Ocean\n1=Sunset\n"
                  "[Mode1]\ntool=1\njcolor=255,128,0\ncolor=10,10,10\n64=1,2,3,0\n");
    rig.lighting.SelectUserMode(1);
    EXPECT_EQ(rig.modes.View().mode, 1);
    EXPECT_EQ(rig.modes.View().settings.tool, 1);
    EXPECT_EQ(rig.modes.View().settings.base, (Rgb{255, 128, 0}));
    EXPECT_EQ(rig.modes.Colours().At(2, kA), (Rgb{1, 2, 3}));
    EXPECT_EQ(KeyboardColour(rig, 2, kA), (Rgb{1, 2, 3}));
    EXPECT_EQ(rig.modes.Colours().At(2, 0), kRed);  // missing lines read as red

    rig.lighting.RenameUserMode(u"Dusk");
    EXPECT_EQ(rig.modes.View().names[1], u"Dusk");
    // The overlay took the shipped file's contents before the changed values.
    EXPECT_EQ(Line(rig, 2, u"PRESENTMODE", u"mode"), u"1");
    EXPECT_EQ(Line(rig, 2, u"MODENAME", u"1"), u"Dusk");
    EXPECT_EQ(Line(rig, 2, u"MODENAME", u"0"), u"Ocean");
    EXPECT_NE(ReadTextFile(rig.ShippedSkins() / "UserDengColor_2.userd").find("1=Sunset"), std::string::npos);

    rig.modes.FillUserModeNames(2);
    EXPECT_EQ(rig.modes.View().names[1], u"Dusk");

    rig.lighting.SelectUserMode(10);  // no such mode
    EXPECT_EQ(rig.modes.View().mode, 1);
}

TEST(UserModes, RestoreCopiesTheTemplateOverTheProfilesFile)
{
    PerKeyRig rig;
    const std::string templ = "[PRESENTMODE]\nmode=2\n[MODENAME]\n2=Aurora\n[Mode2]\njcolor=0,80,0\n66=0,0,9,0\n";
    WriteTextFile(rig.ShippedSkins() / "UserDengColor_3.userd", templ);
    rig.lighting.ChooseBrushColour(Rgb{5, 5, 5});
    rig.lighting.RestoreLightingDefaults();
    EXPECT_EQ(ReadTextFile(rig.OverlaySkins() / "UserDengColor_2.userd"), templ);
    EXPECT_EQ(rig.modes.View().mode, 2);
    EXPECT_EQ(rig.modes.View().names[2], u"Aurora");
    EXPECT_EQ(KeyboardColour(rig, 2, 66), (Rgb{0, 0, 9}));
}

TEST(UserModes, AModeIndexOutsideTheTenReadsAsTheFirst)
{
    PerKeyRig rig;
    WriteTextFile(rig.ShippedSkins() / "UserDengColor_2.userd", "[PRESENTMODE]\nmode=42\n");
    rig.modes.LoadUserMode(2);
    EXPECT_EQ(rig.modes.View().mode, 0);
    WriteTextFile(rig.ShippedSkins() / "UserDengColor_2.userd", "[Mode0]\n64=junk\n65=1,2,3,4,5\n");
    rig.modes.LoadUserMode(2);
    EXPECT_EQ(rig.modes.Colours().At(2, 64), kRed);
    EXPECT_EQ(rig.modes.Colours().At(2, 65), kRed);
}

} // namespace
} // namespace kovantis::testing
