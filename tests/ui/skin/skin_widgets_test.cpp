#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <unistd.h>
#include <utility>
#include <vector>

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QKeyEvent>

#include "ui/skin/c_bitmap_slider.h"
#include "ui/skin/c_png_button.h"
#include "ui/skin/c_skin_color_button.h"

namespace kovantis {
namespace {

// A whole-window picture whose every pixel tells where it came from: red = x, green = y,
// blue = the state slot.
QPixmap PictureOfSlot(int slot)
{
    QImage image(200, 120, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, qRgb(x, y, slot * 50));
        }
    }
    return QPixmap::fromImage(image);
}

StatePixmaps DistinctPictures()
{
    StatePixmaps pictures;
    for (int slot = 0; slot < kPictureSlotCount; ++slot) pictures[static_cast<size_t>(slot)] = PictureOfSlot(slot);
    return pictures;
}

void Send(QWidget& widget, QEvent::Type type, QPoint at)
{
    QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

void Hover(QWidget& widget)
{
    QEnterEvent event(QPointF(2, 2), QPointF(2, 2), QPointF(widget.mapToGlobal(QPoint(2, 2))));
    QApplication::sendEvent(&widget, &event);
}

TEST(CPngButton, ShowsItsRectangleFromOnePixelLeftAndAbove)
{
    QWidget window;
    window.resize(200, 120);
    CPngButton button(&window);
    button.SetPictures(DistinctPictures());
    button.ApplySkinRect(SkinRect{10, 20, 30, 15});
    EXPECT_EQ(button.geometry(), QRect(10, 20, 30, 15));
    EXPECT_TRUE(button.isEnabled());

    auto expectSlot = [&](int slot) {
        const QImage shown = button.grab().toImage();
        ASSERT_EQ(shown.size(), QSize(30, 15));
        for (QPoint at : {QPoint(0, 0), QPoint(29, 14), QPoint(7, 3)}) {
            EXPECT_EQ(QColor(shown.pixel(at)), QColor(9 + at.x(), 19 + at.y(), slot * 50)) << "slot " << slot;
        }
    };
    expectSlot(static_cast<int>(PictureSlot::Normal));
    button.SetOn(true);
    expectSlot(static_cast<int>(PictureSlot::On));
    Hover(button);
    EXPECT_TRUE(button.IsHovered());
    expectSlot(static_cast<int>(PictureSlot::Hover));
    button.setDown(true);
    expectSlot(static_cast<int>(PictureSlot::Pressed));
    button.setEnabled(false);
    expectSlot(static_cast<int>(PictureSlot::Disabled));
}

TEST(CPngButton, StatePicturesFromFilesAreDecodedRowByRowNeverWhole)
{
    // The same coded picture as a file, with a keyboard-like layout: two keys in one row (one of
    // them two rows tall, joining the row below), and one key far below.
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("kovantis-pieces-" + std::to_string(::getpid()) + ".png");
    ASSERT_TRUE(PictureOfSlot(1).save(QString::fromStdString(file.string())));
    const SkinPicture over = SkinPicture::FromFile(file.string());
    QWidget window;
    window.resize(200, 120);
    const SkinRect places[] = {{10, 10, 20, 10}, {40, 10, 20, 25}, {70, 30, 20, 10}, {10, 90, 20, 10}};
    std::vector<std::unique_ptr<CPngButton>> keys;
    for (const SkinRect& place : places) {
        keys.push_back(std::make_unique<CPngButton>(&window));
        keys.back()->SetPictures(StatePixmaps{PictureOfSlot(0), over, over, over, over});
        keys.back()->ApplySkinRect(place);
    }
    Hover(*keys[0]);
    const QImage first = keys[0]->grab().toImage();
    EXPECT_EQ(QColor(first.pixel(3, 4)), QColor(qRgb(9 + 3, 9 + 4, 50)));
    EXPECT_FALSE(over.DecodedWhole());
    EXPECT_EQ(over.PieceCount(), 3u) << "the first three keys share rows; the last one is left for later";
    Hover(*keys[3]);
    const QImage last = keys[3]->grab().toImage();
    EXPECT_EQ(QColor(last.pixel(19, 9)), QColor(qRgb(9 + 19, 89 + 9, 50)));
    EXPECT_EQ(over.PieceCount(), 4u);
    Hover(*keys[2]);
    EXPECT_EQ(QColor(keys[2]->grab().toImage().pixel(0, 0)), QColor(qRgb(69, 29, 50)));
    EXPECT_FALSE(over.DecodedWhole());

    // Once the whole picture is there anyway (a window's background), pieces are drawn from it.
    EXPECT_FALSE(over.Pixmap().isNull());
    EXPECT_TRUE(over.DecodedWhole());
    EXPECT_EQ(QColor(keys[2]->grab().toImage().pixel(1, 1)), QColor(qRgb(70, 30, 50)));
    std::filesystem::remove(file);
}

TEST(CPngButton, AbsentRectanglesDisableAndFrameModeDrawsNoPicture)
{
    CPngButton absent;
    absent.ApplySkinRect(SkinRect{1, 1, 300, 40});
    EXPECT_FALSE(absent.isEnabled());
    EXPECT_EQ(absent.size(), QSize(300, 40));

    CPngButton framed;
    framed.SetPictures(DistinctPictures());
    framed.ApplySkinRect(SkinRect{10, 20, 30, 16});
    framed.SetFrameMode(true, QColor(250, 10, 10), 180);
    EXPECT_EQ(framed.FrameValue(), 100);
    const QImage shown = framed.grab().toImage();
    EXPECT_EQ(QColor(shown.pixel(1, 1)), QColor(250, 10, 10));
    EXPECT_EQ(QColor(shown.pixel(1, 8)), QColor(250, 10, 10));
    EXPECT_NE(QColor(shown.pixel(15, 8)), QColor(9 + 15, 19 + 8, 0)) << "no picture inside the frame";

    bool normalDrawn = false;
    int hooks = 0;
    framed.SetFrameMode(false);
    framed.SetPaintHook([&](CPngButton&, bool normal) { ++hooks; normalDrawn = normal; });
    framed.grab();
    EXPECT_EQ(hooks, 1);
    EXPECT_TRUE(normalDrawn);
    framed.SetOn(true);
    framed.grab();
    EXPECT_FALSE(normalDrawn);
}

TEST(CPngButton, DoubleClickIsASecondPress)
{
    CPngButton button;
    button.ApplySkinRect(SkinRect{10, 20, 30, 15});
    int clicks = 0;
    QObject::connect(&button, &QAbstractButton::clicked, [&] { ++clicks; });
    Send(button, QEvent::MouseButtonPress, QPoint(5, 5));
    Send(button, QEvent::MouseButtonRelease, QPoint(5, 5));
    Send(button, QEvent::MouseButtonDblClick, QPoint(5, 5));
    Send(button, QEvent::MouseButtonRelease, QPoint(5, 5));
    EXPECT_EQ(clicks, 2);
}

TEST(CBitmapSlider, ReportsControlIdAndPositionOnEveryChange)
{
    CBitmapSlider slider(1178);
    slider.SetRange(0, 4);
    slider.SetFace(QPixmap(160, 22));
    EXPECT_EQ(slider.size(), QSize(160, 22));
    std::vector<std::pair<int, int>> reports;
    QObject::connect(&slider, &CBitmapSlider::PositionChanged, [&](int id, int position) { reports.emplace_back(id, position); });

    slider.SetPosition(9);
    EXPECT_EQ(slider.Position(), 4);
    EXPECT_TRUE(reports.empty()) << "positions set from code are not reported";
    slider.SetPosition(0);

    Send(slider, QEvent::MouseButtonPress, QPoint(80, 5));
    Send(slider, QEvent::MouseMove, QPoint(159, 5));
    Send(slider, QEvent::MouseButtonRelease, QPoint(159, 5));
    QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier);
    QApplication::sendEvent(&slider, &home);
    QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
    QApplication::sendEvent(&slider, &pageDown);
    QWheelEvent towardUser(QPointF(5, 5), QPointF(slider.mapToGlobal(QPoint(5, 5))), QPoint(), QPoint(0, -120),
                           Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&slider, &towardUser);

    const std::vector<std::pair<int, int>> expected{{1178, 2}, {1178, 4}, {1178, 4}, {1178, 0}, {1178, 0}, {1178, 1}};
    EXPECT_EQ(reports, expected);
}

TEST(CSkinColorButton, ReportsTheChosenColour)
{
    CSkinColorButton button;
    button.resize(56, 30);
    std::vector<QColor> chosen;
    QObject::connect(&button, &CSkinColorButton::ColorChosen, [&](const QColor& c) { chosen.push_back(c); });
    button.SetColor(Qt::red);
    button.SetColorChooser([](const QColor& current, QWidget*) -> std::optional<QColor> {
        EXPECT_EQ(current, QColor(Qt::red));
        return QColor(0, 128, 255);
    });
    button.click();
    button.SetColorChooser([](const QColor&, QWidget*) -> std::optional<QColor> { return std::nullopt; });
    button.click();
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen[0], QColor(0, 128, 255));
    EXPECT_EQ(button.Color(), QColor(0, 128, 255));
    EXPECT_EQ(QColor(button.grab().toImage().pixel(28, 15)), QColor(0, 128, 255));
}

} // namespace
} // namespace kovantis
