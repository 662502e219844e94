#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>

#include "ui/skin/c_base_dialog.h"
#include "ui/skin/c_png_button.h"

namespace kovantis {
namespace {

// A skin folder of its own for each test.
class SkinFolder {
public:
    explicit SkinFolder(const std::string& name)
        : folder_(std::filesystem::temp_directory_path() / ("kovantis-skin-" + name + "-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(folder_);
    }
    ~SkinFolder() { std::filesystem::remove_all(folder_); }

    std::string Write(const std::string& name, const std::string& text) const
    {
        std::ofstream(folder_ / name) << text;
        return (folder_ / name).string();
    }
    std::string Path(const std::string& name) const { return (folder_ / name).string(); }
    void Save(const std::string& name, const QImage& image) const { image.save(QString::fromStdString((folder_ / name).string())); }

private:
    std::filesystem::path folder_;
};

QImage Filled(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

TEST(CBaseDialog, SizeAndShapeComeFromThePictures)
{
    const SkinFolder folder("shape");
    folder.Save("bg.png", Filled(QSize(60, 40), QColor(200, 30, 30)));
    QImage mask = Filled(QSize(60, 40), Qt::white);
    QPainter(&mask).fillRect(QRect(0, 0, 30, 40), QColor(254, 255, 255));  // not pure white: inside
    folder.Save("mask.png", mask);
    const std::string skin = folder.Write("Main.ini", "[SCREEN]\nMain=bg.png\nMask=mask.png\n[BUTTONINFO]\nCONTROL_OK=10,20,30,15\n");

    CBaseDialog dialog(skin);
    dialog.move(100, 50);
    ASSERT_TRUE(dialog.SetUpSkinWindow());
    EXPECT_EQ(dialog.size(), QSize(60, 40));
    EXPECT_EQ(dialog.pos(), QPoint(100, 50));
    EXPECT_TRUE(dialog.mask().isEmpty()) << "a window not shown yet reads no mask";
    dialog.show();
    EXPECT_TRUE(dialog.mask().contains(QPoint(5, 5)));
    EXPECT_TRUE(dialog.mask().contains(QPoint(29, 39)));
    EXPECT_FALSE(dialog.mask().contains(QPoint(30, 5)));
    EXPECT_FALSE(dialog.mask().contains(QPoint(59, 39)));
    EXPECT_EQ(QColor(dialog.grab().toImage().pixel(45, 20)), QColor(200, 30, 30));

    CPngButton ok(&dialog);
    CPngButton cancel(&dialog);
    dialog.Pictures().Require(std::array<std::string_view, 1>{"bg.png"});
    dialog.PlaceImageButton(ok, "CONTROL_OK", StateSet{"bg.png", "bg.png", "bg.png", "bg.png", "bg.png"});
    dialog.PlaceImageButton(cancel, "CONTROL_CANCEL", StateSet{"bg.png", "bg.png", "bg.png", "bg.png", "bg.png"});
    EXPECT_EQ(ok.geometry(), QRect(10, 20, 30, 15));
    EXPECT_EQ(ok.Origin(), QPoint(10, 20));
    EXPECT_TRUE(ok.isEnabled());
    EXPECT_FALSE(cancel.isEnabled());
    EXPECT_EQ(cancel.geometry(), QRect(1, 1, 1, 1));
}

TEST(CBaseDialog, AllWhiteMaskShowsNothingAndMissingPicturesFail)
{
    const SkinFolder folder("white");
    folder.Save("bg.png", Filled(QSize(50, 30), Qt::white));
    // Without a Mask key the background itself is the mask: pure white everywhere.
    const std::string skin = folder.Write("Main.ini", "[SCREEN]\nMain=bg.png\n");
    CBaseDialog dialog(skin);
    ASSERT_TRUE(dialog.SetUpSkinWindow());
    dialog.show();
    EXPECT_FALSE(dialog.mask().isEmpty());
    EXPECT_TRUE(dialog.mask().intersected(dialog.rect()).isEmpty());

    const std::string broken = folder.Write("Other.ini", "[SCREEN]\nMain=missing.jpg\n");
    CBaseDialog missing(broken);
    EXPECT_FALSE(missing.SetUpSkinWindow());
    CBaseDialog noFile("/nonexistent/Skins/Main.ini");
    EXPECT_FALSE(noFile.SetUpSkinWindow());
    EXPECT_FALSE(noFile.Pictures().Require(std::array<std::string_view, 1>{"main_normal.jpg"}));
}

TEST(CBaseDialog, EnterAndEscNeverCloseASkinnedWindowAndF1AsksForHelp)
{
    const SkinFolder folder("keys");
    folder.Save("bg.png", Filled(QSize(40, 30), QColor(10, 20, 30)));
    CBaseDialog dialog(folder.Write("Main.ini", "[SCREEN]\nMain=bg.png\n"));
    ASSERT_TRUE(dialog.SetUpSkinWindow());
    int helps = 0;
    QObject::connect(&dialog, &CBaseDialog::HelpRequested, [&helps] { ++helps; });
    int finished = 0;
    QObject::connect(&dialog, &QDialog::finished, [&finished] { ++finished; });
    dialog.show();
    for (const int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_F1}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &press);
        EXPECT_TRUE(press.isAccepted()) << key;
    }
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(finished, 0);
    EXPECT_EQ(helps, 1);
}

TEST(CBaseDialog, BmpMasksReadRowByRowCutTheSameShapeAsTheDecodedPicture)
{
    // A mask saved by Qt's own BMP writer, and every mask of the skin drawn at build time.
    const SkinFolder folder("bmpmask");
    QImage drawn = Filled(QSize(90, 50), Qt::white);
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QRect(3, 2, 80, 45));
    painter.end();
    folder.Save("mask.bmp", drawn);
    std::vector<std::string> masks{folder.Path("mask.bmp")};
    if (const char* bin = std::getenv("KOVANTIS_BIN_DIR")) {
        for (const char* name : {"main_mask.bmp", "composite_mask.bmp", "profile_mask.bmp", "update_mask.bmp"}) {
            if (std::filesystem::exists(std::string(bin) + "/Skins/" + name)) {
                masks.push_back(std::string(bin) + "/Skins/" + name);
            }
        }
    }
    for (const std::string& mask : masks) {
        const std::optional<std::vector<ShapeRect>> shape = ReadBmpMaskShape(mask);
        ASSERT_TRUE(shape) << mask;
        EXPECT_EQ(WindowShapeOf(*shape), WindowShapeOf(QImage(QString::fromStdString(mask)))) << mask;
    }
}

TEST(CBaseDialog, JpegBackgroundIsPaintedBandByBandNeverHeldWhole)
{
    // Taller than two bands, with a gradient so that a band drawn in the wrong place shows.
    const SkinFolder folder("bands");
    QImage picture(QSize(70, 300), QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            picture.setPixel(x, y, qRgb(x * 3, y % 256, (x + y) % 256));
        }
    }
    folder.Save("bg.jpg", picture);
    const QImage expected = QImage(QString::fromStdString(folder.Path("bg.jpg"))).convertToFormat(QImage::Format_RGB32);
    const std::string skin = folder.Write("Main.ini", "[SCREEN]\nMain=bg.jpg\n");

    CBaseDialog dialog(skin);
    ASSERT_TRUE(dialog.SetUpSkinWindow());
    EXPECT_EQ(dialog.grab().toImage().convertToFormat(QImage::Format_RGB32), expected);
    // A part across a band's edge, as when a label over the background changes.
    const QRect part(5, 120, 40, 20);
    EXPECT_EQ(dialog.grab(part).toImage().convertToFormat(QImage::Format_RGB32), expected.copy(part));
    EXPECT_FALSE(dialog.Pictures().Lazy("bg.jpg").DecodedWhole());
}

} // namespace
} // namespace kovantis
