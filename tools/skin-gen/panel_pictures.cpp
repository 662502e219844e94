#include "panel_pictures.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include <QConicalGradient>
#include <QRadialGradient>

#include "paint_kit.h"
#include "skin/skin_pictures.h"

namespace skingen {
namespace {

const QColor kPanelColour(0x1B, 0x1E, 0x23);

QImage PanelTile(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(kPanelColour);
    return image;
}

// A small rounded chip behind a panel glyph; highlighted in the selected state.
void DrawChip(QPainter& painter, const QRectF& area, bool selected)
{
    DrawButtonFace(painter, area, selected ? Look::Selected : Look::Normal, 6);
}

enum class Direction { Left, Right, Up, Down, Converge, Spread };

void DrawDirection(QPainter& painter, const QRectF& area, Direction direction, QColor color)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    const QPointF c = area.center();
    auto triangle = [&](QPointF tip, QPointF back1, QPointF back2) { painter.drawPolygon(QPolygonF({tip, back1, back2})); };
    switch (direction) {
    case Direction::Left: triangle(c + QPointF(-7, 0), c + QPointF(5, -6), c + QPointF(5, 6)); break;
    case Direction::Right: triangle(c + QPointF(7, 0), c + QPointF(-5, -6), c + QPointF(-5, 6)); break;
    case Direction::Up: triangle(c + QPointF(0, -6), c + QPointF(-7, 5), c + QPointF(7, 5)); break;
    case Direction::Down: triangle(c + QPointF(0, 6), c + QPointF(-7, -5), c + QPointF(7, -5)); break;
    case Direction::Converge:
        triangle(c + QPointF(-1, 0), c + QPointF(-9, -5), c + QPointF(-9, 5));
        triangle(c + QPointF(1, 0), c + QPointF(9, -5), c + QPointF(9, 5));
        break;
    case Direction::Spread:
        triangle(c + QPointF(-10, 0), c + QPointF(-2, -5), c + QPointF(-2, 5));
        triangle(c + QPointF(10, 0), c + QPointF(2, -5), c + QPointF(2, 5));
        break;
    }
    painter.restore();
}

bool WriteDirectionPictures(const std::string& folder)
{
    struct Pair {
        kovantis::PicturePair names;
        Direction direction;
    };
    const std::array pairs{Pair{kovantis::kLeftPictures, Direction::Left}, Pair{kovantis::kRightPictures, Direction::Right},
                           Pair{kovantis::kUpPictures, Direction::Up}, Pair{kovantis::kDownPictures, Direction::Down},
                           Pair{kovantis::kConvergePictures, Direction::Converge},
                           Pair{kovantis::kSpreadPictures, Direction::Spread}};
    bool ok = true;
    for (const Pair& pair : pairs) {
        for (bool selected : {false, true}) {
            QImage image = PanelTile(40, 30);
            QPainter painter(&image);
            DrawChip(painter, QRectF(0, 0, 40, 30), selected);
            DrawDirection(painter, QRectF(0, 0, 40, 30), pair.direction, selected ? QColor(Qt::white) : TextColor());
            painter.end();
            ok = SavePicture(image, folder + std::string(pair.names.Of(selected))) && ok;
        }
    }
    return ok;
}

bool WriteColourPictures(const std::string& folder)
{
    struct Swatch {
        kovantis::PicturePair names;
        QColor colour;
    };
    const std::array swatches{Swatch{kovantis::kColourChoicePictures[0], QColor(0xF0, 0x3A, 0x3A)},
                              Swatch{kovantis::kColourChoicePictures[1], QColor(0xF5, 0xC8, 0x2A)},
                              Swatch{kovantis::kColourChoicePictures[2], QColor(0x3A, 0xD0, 0x5C)},
                              Swatch{kovantis::kColourChoicePictures[3], QColor(0x2F, 0x7B, 0xF5)}};
    bool ok = true;
    for (const Swatch& swatch : swatches) {
        for (bool selected : {false, true}) {
            QImage image = PanelTile(30, 30);
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            if (selected) {
                painter.setPen(QPen(Qt::white, 2));
                painter.setBrush(Qt::NoBrush);
                painter.drawEllipse(QPointF(15, 15), 13, 13);
            }
            QRadialGradient fill(QPointF(12, 11), 14);
            fill.setColorAt(0, swatch.colour.lighter(130));
            fill.setColorAt(1, swatch.colour.darker(115));
            painter.setPen(QPen(QColor(0, 0, 0, 150), 1));
            painter.setBrush(fill);
            painter.drawEllipse(QPointF(15, 15), selected ? 9.5 : 11, selected ? 9.5 : 11);
            painter.end();
            ok = SavePicture(image, folder + std::string(swatch.names.Of(selected))) && ok;
        }
    }
    return ok;
}

bool WriteTogglePictures(const std::string& folder)
{
    bool ok = true;
    for (bool on : {false, true}) {
        QImage image = PanelTile(30, 30);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        QConicalGradient wheel(QPointF(15, 15), 90);
        const std::array hues{0, 60, 120, 180, 240, 300, 360};
        for (size_t i = 0; i < hues.size(); ++i) {
            QColor c = QColor::fromHsv(hues[i] % 360, on ? 220 : 40, on ? 255 : 120);
            wheel.setColorAt(static_cast<double>(i) / (hues.size() - 1), c);
        }
        painter.setPen(QPen(on ? QColor(Qt::white) : QColor(0x4C, 0x54, 0x60), 1.5));
        painter.setBrush(wheel);
        painter.drawEllipse(QPointF(15, 15), 11, 11);
        painter.setBrush(kPanelColour);
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPointF(15, 15), 4.5, 4.5);
        painter.end();
        ok = SavePicture(image, folder + std::string(kovantis::kMulticolourPictures.Of(on))) && ok;
    }
    return ok;
}

bool WriteToolPictures(const std::string& folder)
{
    bool ok = true;
    const std::array tools{std::pair{kovantis::kToolPictures[0], Glyph::Brush},
                           std::pair{kovantis::kToolPictures[1], Glyph::Bucket}};
    for (const auto& [names, glyph] : tools) {
        for (bool selected : {false, true}) {
            QImage image = PanelTile(36, 30);
            QPainter painter(&image);
            DrawChip(painter, QRectF(0, 0, 36, 30), selected);
            DrawGlyph(painter, QRectF(10, 7, 16, 16), glyph, selected ? QColor(Qt::white) : TextColor());
            painter.end();
            ok = SavePicture(image, folder + std::string(names.Of(selected))) && ok;
        }
    }
    return ok;
}

bool WriteLampPictures(const std::string& folder)
{
    bool ok = true;
    for (bool on : {false, true}) {
        QImage image = PanelTile(40, 40);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        if (on) {
            QRadialGradient glow(QPointF(20, 17), 19);
            glow.setColorAt(0, QColor(0x27, 0xC4, 0xFF, 150));
            glow.setColorAt(1, QColor(0x27, 0xC4, 0xFF, 0));
            painter.setPen(Qt::NoPen);
            painter.setBrush(glow);
            painter.drawEllipse(QPointF(20, 17), 19, 19);
        }
        DrawGlyph(painter, QRectF(9, 6, 22, 28), Glyph::Lamp, on ? Accent().lighter(125) : DimTextColor());
        painter.end();
        ok = SavePicture(image, folder + std::string(kovantis::kLampPictures.Of(on))) && ok;
    }
    return ok;
}

// Slider face: a groove with one tick per position, filled up to the knob.
QImage DrawSliderFace(int positions, int position)
{
    constexpr int kWidth = 160, kHeight = 22, kKnob = 8;
    // The slider's well is part of its face, so a hidden slider leaves no empty well behind.
    QImage image = PanelTile(kWidth, kHeight);
    QPainter painter(&image);
    DrawWell(painter, QRectF(0, 0, kWidth, kHeight));
    painter.setRenderHint(QPainter::Antialiasing);
    const double knobX = std::clamp(static_cast<double>(position) * kWidth / (positions - 1), kKnob + 2.0, kWidth - kKnob - 2.0);
    const QRectF groove(kKnob, kHeight / 2.0 - 2.5, kWidth - 2 * kKnob, 5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2A, 0x2F, 0x36));
    painter.drawRoundedRect(groove, 2.5, 2.5);
    QLinearGradient fill(groove.topLeft(), groove.topRight());
    fill.setColorAt(0, AccentDeep());
    fill.setColorAt(1, Accent());
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(groove.left(), groove.top(), knobX - groove.left(), groove.height()), 2.5, 2.5);
    for (int tick = 0; tick < positions; ++tick) {
        const double x = std::clamp(static_cast<double>(tick) * kWidth / (positions - 1), kKnob + 2.0, kWidth - kKnob - 2.0);
        painter.setBrush(tick <= position ? QColor(255, 255, 255, 160) : QColor(255, 255, 255, 50));
        painter.drawEllipse(QPointF(x, kHeight / 2.0), 1.4, 1.4);
    }
    QRadialGradient knob(QPointF(knobX - 2, kHeight / 2.0 - 3), kKnob + 2);
    knob.setColorAt(0, QColor(0xF4, 0xF7, 0xFA));
    knob.setColorAt(1, QColor(0xA9, 0xB2, 0xBD));
    painter.setPen(QPen(QColor(0, 0, 0, 160), 1));
    painter.setBrush(knob);
    painter.drawEllipse(QPointF(knobX, kHeight / 2.0), kKnob - 1, kKnob - 1);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Accent());
    painter.drawEllipse(QPointF(knobX, kHeight / 2.0), 2, 2);
    return image;
}

bool WriteSliderFaces(const std::string& folder)
{
    bool ok = true;
    for (int face = 0; face < kovantis::kSliderFaceCount; ++face) {
        // Brightness has five positions, speed four; the spare faces repeat the brightness set.
        const bool speed = face >= kovantis::kSpeedFirstFace && face < kovantis::kSpeedFirstFace + 4;
        const int positions = speed ? 4 : 5;
        const int position = speed ? face - kovantis::kSpeedFirstFace : face < 5 ? face : (face - 9) % 5;
        ok = SavePicture(DrawSliderFace(positions, position), folder + kovantis::SliderFacePicture(face)) && ok;
    }
    return ok;
}

// Progress frames: ten segments with a comet of light running along them.
bool WriteProgressFrames(const std::string& folder)
{
    bool ok = true;
    constexpr int kSegments = 10;
    for (int frame = 1; frame <= kovantis::kProgressFrameCount; ++frame) {
        QImage image = PanelTile(120, 12);
        image.fill(QColor(0x15, 0x17, 0x1B));
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        for (int segment = 0; segment < kSegments; ++segment) {
            const int behind = (frame - 1 - segment + kSegments) % kSegments;
            QColor colour = Accent();
            colour.setAlpha(behind < 4 ? 255 - behind * 60 : 36);
            painter.setBrush(colour);
            painter.drawRoundedRect(QRectF(2 + segment * 11.6, 3, 9, 6), 2, 2);
        }
        painter.end();
        ok = SavePicture(image, folder + kovantis::ProgressFramePicture(frame)) && ok;
    }
    return ok;
}

QImage DrawTrayIcon(bool present, bool activity)
{
    QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor colour = present ? Accent() : QColor(0x9A, 0xA3, 0xAE);
    painter.setPen(QPen(colour, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(0x1C, 0x1F, 0x24, 220));
    painter.drawRoundedRect(QRectF(4, 16, 56, 34), 8, 8);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 5; ++col) {
            painter.drawRoundedRect(QRectF(11 + col * 9.2, 22 + row * 8.5, 6, 5.5), 1.5, 1.5);
        }
    }
    painter.drawRoundedRect(QRectF(20, 39, 24, 5.5), 1.5, 1.5);
    if (activity) {
        painter.setBrush(QColor(0xFF, 0xFF, 0xFF));
        painter.setPen(QPen(Accent(), 3));
        painter.drawEllipse(QPointF(52, 14), 9, 9);
    }
    return image;
}

QImage DrawAppIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    const QRectF tile(s * 0.04, s * 0.04, s * 0.92, s * 0.92);
    QLinearGradient body(tile.topLeft(), tile.bottomLeft());
    body.setColorAt(0, QColor(0x30, 0x35, 0x3D));
    body.setColorAt(1, QColor(0x16, 0x18, 0x1C));
    painter.setPen(QPen(QColor(0, 0, 0, 120), s / 64));
    painter.setBrush(body);
    painter.drawRoundedRect(tile, s * 0.2, s * 0.2);
    const QRectF cap(s * 0.2, s * 0.18, s * 0.6, s * 0.6);
    QLinearGradient face(cap.topLeft(), cap.bottomLeft());
    face.setColorAt(0, Accent());
    face.setColorAt(1, AccentDeep());
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 90));
    painter.drawRoundedRect(cap.translated(0, s * 0.04), s * 0.12, s * 0.12);
    painter.setBrush(face);
    painter.drawRoundedRect(cap, s * 0.12, s * 0.12);
    painter.setBrush(QColor(255, 255, 255, 45));
    painter.drawRoundedRect(cap.adjusted(s * 0.06, s * 0.04, -s * 0.06, -s * 0.2), s * 0.08, s * 0.08);
    DrawCaption(painter, cap, QStringLiteral("K"), Qt::white, s * 0.4);
    return image;
}

} // namespace

bool WritePanelPictures(const std::string& folder)
{
    bool ok = WriteDirectionPictures(folder);
    ok = WriteColourPictures(folder) && ok;
    ok = WriteTogglePictures(folder) && ok;
    ok = WriteToolPictures(folder) && ok;
    ok = WriteLampPictures(folder) && ok;
    ok = WriteSliderFaces(folder) && ok;
    return WriteProgressFrames(folder) && ok;
}

bool WriteIcons(const std::string& skinFolder, const std::string& iconFolder)
{
    bool ok = SavePicture(DrawTrayIcon(false, false), skinFolder + "icon_128.png");
    ok = SavePicture(DrawTrayIcon(true, false), skinFolder + "icon_141.png") && ok;
    ok = SavePicture(DrawTrayIcon(true, true), skinFolder + "icon_142.png") && ok;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const std::string folder = iconFolder + "hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps/";
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        ok = SavePicture(DrawAppIcon(size), folder + "kovantis.png") && ok;
    }
    return ok;
}

} // namespace skingen
