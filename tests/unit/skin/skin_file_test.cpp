#include <gtest/gtest.h>

#include "skin/skin_file.h"

namespace kovantis {
namespace {

SkinFile SkinOf(const char* text) { return SkinFile::FromDocument(IniDocument::Parse(text), "/opt/kovantis/Skins/Main.ini"); }

TEST(SkinFile, PicturesLieBesideTheSkinFile)
{
    const SkinFile skin = SkinOf("[SCREEN]\nMain=main_normal.jpg\nMask=main_mask.bmp\nLink=https://example.org/\n");
    EXPECT_EQ(skin.Folder(), "/opt/kovantis/Skins/");
    EXPECT_EQ(skin.BackgroundPath(), "/opt/kovantis/Skins/main_normal.jpg");
    EXPECT_EQ(skin.MaskPath(), "/opt/kovantis/Skins/main_mask.bmp");
    EXPECT_EQ(skin.PicturePath("Arrow.jpg"), "/opt/kovantis/Skins/Arrow.jpg");
    EXPECT_EQ(skin.Link(), u"https://example.org/");
    EXPECT_EQ(FolderOf("Main.ini"), "");
}

TEST(SkinFile, MaskDefaultsToTheBackgroundAndNothingDefaultsToNothing)
{
    EXPECT_EQ(SkinOf("[SCREEN]\nMain=bg.jpg\n").MaskPath(), "/opt/kovantis/Skins/bg.jpg");
    const SkinFile bare = SkinOf("[BUTTONINFO]\nCONTROL_OK=5,6,7,8\n");
    EXPECT_EQ(bare.BackgroundPath(), "");
    EXPECT_EQ(bare.MaskPath(), "");
    EXPECT_EQ(bare.Link(), u"");
}

TEST(SkinFile, RectanglesComeFromTheirSections)
{
    const SkinFile skin = SkinOf(
        "[BUTTONINFO]\nCONTROL_OK=5,6,7,8\nkey_01e = 100,200,44,44\nLEFT_ARROW=300,10,20,20\n"
        "[BUTTONINFO2]\nUP_ARROW_LEFT1=41,1,20,20\n");
    EXPECT_EQ(skin.Rect("CONTROL_OK"), (SkinRect{5, 6, 7, 8}));
    EXPECT_EQ(skin.Rect("KEY_01E"), (SkinRect{100, 200, 44, 44}));
    EXPECT_EQ(skin.Rect("LEFT_ARROW"), (SkinRect{300, 10, 20, 20}));
    EXPECT_EQ(skin.PictureOrigin("UP_ARROW_LEFT1"), (SkinRect{41, 1, 20, 20}));
    // A key of one section is not found in the other; a missing key is an absent control.
    EXPECT_TRUE(skin.PictureOrigin("CONTROL_OK").IsAbsent());
    EXPECT_TRUE(skin.Rect("UP_ARROW_LEFT1").IsAbsent());
    EXPECT_TRUE(skin.Rect("CONTROL_CANCEL").IsAbsent());
}

TEST(SkinFile, TextsAndUnreadableFiles)
{
    const SkinFile skin = SkinOf("[Mode]\n1=Wave\n[Control_Name1]\nLight=Brightness\n");
    EXPECT_EQ(skin.Text("Mode", "1", u"1"), u"Wave");
    EXPECT_EQ(skin.Text("Mode", "2", u"1"), u"1");
    EXPECT_EQ(skin.Text("control_name1", "LIGHT", u""), u"Brightness");

    const SkinFile missing = SkinFile::Open("/nonexistent/folder/Main.ini");
    EXPECT_FALSE(missing.WasRead());
    EXPECT_EQ(missing.Folder(), "/nonexistent/folder/");
    EXPECT_EQ(missing.BackgroundPath(), "");
    EXPECT_TRUE(missing.Rect("CONTROL_OK").IsAbsent());
}

} // namespace
} // namespace kovantis
