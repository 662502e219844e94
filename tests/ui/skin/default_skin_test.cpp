// The skin drawn at build time gives every control of every window a place, and every picture
// a window loads exists and fits.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <utility>
#include <vector>
#include <string>

#include <QImage>

#include "keyboard/keyboard_view_model.h"
#include "keyboard/physical_layout.h"
#include "skin/skin_file.h"
#include "skin/skin_keys.h"
#include "skin/skin_pictures.h"

namespace kovantis {
namespace {

std::string SkinFolder()
{
    const char* bin = std::getenv("KOVANTIS_BIN_DIR");
    return bin ? std::string(bin) + "/Skins/" : std::string();
}

QImage Picture(const SkinFile& skin, std::string_view name) { return QImage(QString::fromStdString(skin.PicturePath(name))); }

void ExpectPlaced(const SkinFile& skin, std::span<const std::string_view> keys, QSize window)
{
    for (std::string_view key : keys) {
        const SkinRect rect = skin.Rect(key);
        EXPECT_FALSE(rect.IsAbsent()) << skin.Path() << ": " << key;
        EXPECT_TRUE(QRect(0, 0, window.width(), window.height()).contains(QRect(rect.x, rect.y, rect.w, rect.h)))
            << skin.Path() << ": " << key;
    }
}

void ExpectPicturesFit(const SkinFile& skin, std::span<const std::string_view> names, QSize window)
{
    for (std::string_view name : names) {
        EXPECT_EQ(Picture(skin, name).size(), window) << name;
    }
}

TEST(DefaultSkin, MainWindowHasEveryControlAndPicture)
{
    const std::string folder = SkinFolder();
    if (folder.empty() || !std::filesystem::exists(folder + "Main.ini")) GTEST_SKIP() << "no built skin";
    const SkinFile skin = SkinFile::Open(folder + std::string(kMainSkinFile));
    const QImage background(QString::fromStdString(skin.BackgroundPath()));
    ASSERT_FALSE(background.isNull());
    const QSize window = background.size();
    EXPECT_EQ(QImage(QString::fromStdString(skin.MaskPath())).size(), window);
    ExpectPicturesFit(skin, std::span(MainWindowPictures()).first(4), window);
    EXPECT_FALSE(Picture(skin, kArrowPicture).isNull());

    ExpectPlaced(skin, MainImageKeys(), window);
    ExpectPlaced(skin, MainPlainKeys(), window);
    for (const PhysicalKey& key : KeyList()) {
        const std::string name = SkinKeyOf(key.code);
        ExpectPlaced(skin, std::array<std::string_view, 1>{name}, window);
    }
    for (int g = 0; g < kGKeyCount; ++g) {
        const std::string name = GKeySkinKey(g);
        ExpectPlaced(skin, std::array<std::string_view, 1>{name}, window);
    }
    ExpectPlaced(skin, std::array{kFnSkinKey, kLeftArrowKey, kRightArrowKey}, window);
    const QImage arrows = Picture(skin, kArrowPicture);
    const SkinRect arrow = skin.Rect(kLeftArrowKey);
    for (int variant = 1; variant <= 2; ++variant) {
        for (bool up : {true, false}) {
            for (bool left : {true, false}) {
                const SkinRect origin = skin.PictureOrigin(ArrowOriginKey(up, left, variant));
                EXPECT_TRUE(arrows.rect().contains(QRect(origin.x - 1, origin.y - 1, arrow.w, arrow.h)));
            }
        }
    }
    for (std::string_view moved : MainMovedKeys()) {
        EXPECT_FALSE(skin.Rect(std::string(moved) + "2").IsAbsent());
        EXPECT_FALSE(skin.Rect(std::string(moved) + "3").IsAbsent());
    }
    // The default skin names no address of its own (its link opens the shipped help page),
    // never a placeholder.
    EXPECT_EQ(skin.Link(), u"");
    for (int effect = 1; effect <= 20; ++effect) {
        EXPECT_NE(skin.Text("Mode", std::to_string(effect), u""), u"");
        EXPECT_NE(skin.Text("Mode1", std::to_string(effect), u""), u"");
    }
    for (const char* label : {"Usb", "Deng", "Light", "FX", "Speed", "Color", "JColor", "DC", "Tool"}) {
        EXPECT_NE(skin.Text("Control_Name", label, u""), u"");
        EXPECT_NE(skin.Text("Control_Name1", label, u""), u"");
    }
}

// Mean absolute difference of one channel sum over a rectangle of two pictures.
double Difference(const QImage& a, const QImage& b, const QRect& area)
{
    double sum = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (area.width() * area.height());
}

TEST(DefaultSkin, KeyStatesAreTellApartAndButtonsDoNotOverlap)
{
    const std::string folder = SkinFolder();
    if (folder.empty() || !std::filesystem::exists(folder + "Main.ini")) GTEST_SKIP() << "no built skin";
    const SkinFile skin = SkinFile::Open(folder + std::string(kMainSkinFile));
    const QImage normal = Picture(skin, kMainNormalPicture);
    const QImage over = Picture(skin, kMainOverPicture);
    const QImage down = Picture(skin, kMainDownPicture);
    const QImage marked = Picture(skin, kMainDisablePicture);
    std::vector<std::pair<std::string, QRect>> buttons;
    for (const PhysicalKey& key : KeyList()) {
        const SkinRect r = skin.Rect(SkinKeyOf(key.code));
        // What the button shows: its rectangle from one pixel left of and above its place.
        const QRect shown(r.x - 1, r.y - 1, r.w, r.h);
        EXPECT_GT(Difference(normal, over, shown), 4.0) << SkinKeyOf(key.code);
        EXPECT_GT(Difference(normal, down, shown), 4.0) << SkinKeyOf(key.code);
        EXPECT_GT(Difference(normal, marked, shown), 1.0) << SkinKeyOf(key.code);
        buttons.emplace_back(SkinKeyOf(key.code), QRect(r.x, r.y, r.w, r.h));
    }
    for (std::string_view key : MainImageKeys()) {
        const SkinRect r = skin.Rect(key);
        buttons.emplace_back(std::string(key), QRect(r.x, r.y, r.w, r.h));
    }
    // D1 to D6 have places of their own, for when the flip makes them usable.
    for (int d = 0; d < kExtraKeyCount; ++d) {
        const SkinRect r = skin.Rect(ExtraKeySkinKey(d));
        EXPECT_FALSE(r.IsAbsent()) << ExtraKeySkinKey(d);
        EXPECT_GT(Difference(normal, over, QRect(r.x - 1, r.y - 1, r.w, r.h)), 4.0) << ExtraKeySkinKey(d);
        buttons.emplace_back(ExtraKeySkinKey(d), QRect(r.x, r.y, r.w, r.h));
    }
    for (size_t i = 0; i < buttons.size(); ++i) {
        for (size_t j = i + 1; j < buttons.size(); ++j) {
            EXPECT_FALSE(buttons[i].second.intersects(buttons[j].second)) << buttons[i].first << " / " << buttons[j].first;
        }
    }
}

TEST(DefaultSkin, DialogsAndPanelPicturesExist)
{
    const std::string folder = SkinFolder();
    if (folder.empty() || !std::filesystem::exists(folder + "Main.ini")) GTEST_SKIP() << "no built skin";
    struct Window {
        std::string_view file;
        std::span<const std::string_view> image, plain, pictures;
    };
    for (const Window& w : {Window{kCompositeSkinFile, CompositeImageKeys(), CompositePlainKeys(), CompositePictures()},
                            Window{kProfileSkinFile, ProfileImageKeys(), ProfilePlainKeys(), ProfilePictures()},
                            Window{kUpdateSkinFile, UpdateImageKeys(), UpdatePlainKeys(), UpdatePictures()}}) {
        const SkinFile skin = SkinFile::Open(folder + std::string(w.file));
        const QSize window = QImage(QString::fromStdString(skin.BackgroundPath())).size();
        ASSERT_FALSE(window.isEmpty()) << w.file;
        EXPECT_EQ(QImage(QString::fromStdString(skin.MaskPath())).size(), window);
        ExpectPicturesFit(skin, w.pictures, window);
        ExpectPlaced(skin, w.image, window);
        ExpectPlaced(skin, w.plain, window);
    }
    const SkinFile main = SkinFile::Open(folder + std::string(kMainSkinFile));
    for (std::string_view name : LightingPanelPictures()) EXPECT_FALSE(Picture(main, name).isNull()) << name;
    for (int face = 0; face < kSliderFaceCount; ++face) {
        EXPECT_EQ(Picture(main, SliderFacePicture(face)).size(), QSize(160, 22)) << face;
    }
    for (int frame = 1; frame <= kProgressFrameCount; ++frame) EXPECT_FALSE(Picture(main, ProgressFramePicture(frame)).isNull());
    for (const char* icon : {"icon_128.png", "icon_141.png", "icon_142.png"}) EXPECT_FALSE(Picture(main, icon).isNull()) << icon;
}

} // namespace
} // namespace kovantis
