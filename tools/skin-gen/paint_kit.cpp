#include "paint_kit.h"

#include <algorithm>
#include <cmath>

#include <QPainterPath>

namespace skingen {
namespace {

QColor Mix(QColor a, QColor b, double t)
{
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

QLinearGradient Vertical(const QRectF& area, QColor top, QColor bottom)
{
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

// A small deterministic generator for the brushed texture.
uint32_t NextRandom(uint32_t& state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

void DrawGlow(QPainter& painter, const QRectF& body, double radius, QColor color)
{
    painter.setBrush(Qt::NoBrush);
    for (int ring = 3; ring >= 1; --ring) {
        QColor c = color;
        c.setAlpha(28 * (4 - ring));
        painter.setPen(QPen(c, 1.0));
        painter.drawRoundedRect(body.adjusted(-ring + 0.5, -ring + 0.5, ring - 0.5, ring - 0.5), radius + ring, radius + ring);
    }
}

} // namespace

QColor Accent() { return QColor(0x27, 0xC4, 0xFF); }
QColor AccentDeep() { return QColor(0x10, 0x7E, 0xB8); }
QColor TextColor() { return QColor(0xE3, 0xE8, 0xEE); }
QColor DimTextColor() { return QColor(0x8B, 0x95, 0xA1); }

QFont UiFont(double pixelSize, QFont::Weight weight)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QImage NewPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(0x1C, 0x1F, 0x24));
    return image;
}

void DrawBrushedPanel(QPainter& painter, const QRect& area, QColor base, uint32_t seed)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(area, Vertical(area, base.lighter(118), base.darker(112)));
    uint32_t state = seed;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        int x = area.left();
        while (x <= area.right()) {
            const int length = 20 + static_cast<int>(NextRandom(state) % 160);
            const int shade = static_cast<int>(NextRandom(state) % 9) - 4;
            painter.setPen(shade >= 0 ? QColor(255, 255, 255, shade * 2) : QColor(0, 0, 0, -shade * 3));
            painter.drawLine(x, y, std::min(x + length, area.right()), y);
            x += length;
        }
    }
    painter.restore();
}

void DrawPlate(QPainter& painter, const QRectF& area, double radius, QColor top, QColor bottom)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 90));
    painter.drawRoundedRect(area.adjusted(-1, -1, 1, 2), radius + 1, radius + 1);
    painter.setBrush(Vertical(area, top, bottom));
    painter.setPen(QPen(QColor(255, 255, 255, 18), 1));
    painter.drawRoundedRect(area, radius, radius);
    painter.restore();
}

void DrawWell(QPainter& painter, const QRectF& area)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 0, 0, 140), 1));
    painter.setBrush(Vertical(area, QColor(0x13, 0x15, 0x19), QColor(0x18, 0x1B, 0x20)));
    painter.drawRoundedRect(area.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    painter.setPen(QPen(QColor(255, 255, 255, 16), 1));
    painter.drawLine(area.bottomLeft() + QPointF(5, -0.5), area.bottomRight() + QPointF(-5, -0.5));
    painter.restore();
}

void DrawKeycap(QPainter& painter, const QRectF& cell, Look look, const QString& legend, const QString& upper)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QRectF body = cell.adjusted(3, 3, -3, -3);
    const bool down = look == Look::Down;
    if (down) {
        body.translate(0, 1);
    }
    const double radius = 6;

    QColor skirtTop(0x2E, 0x33, 0x3B), skirtBottom(0x1B, 0x1E, 0x23);
    QColor faceTop(0x41, 0x47, 0x51), faceBottom(0x32, 0x37, 0x3F);
    QColor legendColor = TextColor();
    switch (look) {
    case Look::Over:
        skirtTop = QColor(0x36, 0x3C, 0x45);
        faceTop = QColor(0x52, 0x5A, 0x66);
        faceBottom = QColor(0x40, 0x47, 0x52);
        legendColor = Qt::white;
        break;
    case Look::Down:
        faceTop = Mix(QColor(0x2F, 0x34, 0x3C), Accent(), 0.42);
        faceBottom = Mix(QColor(0x26, 0x2A, 0x31), Accent(), 0.30);
        legendColor = Qt::white;
        break;
    case Look::Disabled:
        faceTop = QColor(0x2C, 0x2F, 0x34);
        faceBottom = QColor(0x27, 0x2A, 0x2E);
        legendColor = QColor(0x5D, 0x64, 0x6D);
        break;
    case Look::Marked:
    case Look::Selected:
        legendColor = Accent().lighter(115);
        break;
    case Look::Normal:
        break;
    }

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, down ? 60 : 120));
    painter.drawRoundedRect(body.translated(0, down ? 1 : 2), radius, radius);
    painter.setBrush(Vertical(body, skirtTop, skirtBottom));
    painter.setPen(QPen(QColor(0x0C, 0x0E, 0x11), 1));
    painter.drawRoundedRect(body, radius, radius);

    const QRectF face = body.adjusted(3, 2, -3, down ? -4 : -6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Vertical(face, faceTop, faceBottom));
    painter.drawRoundedRect(face, radius - 1, radius - 1);
    painter.setPen(QPen(QColor(255, 255, 255, look == Look::Disabled ? 10 : 34), 1));
    painter.drawLine(face.topLeft() + QPointF(radius - 1, 0.5), face.topRight() + QPointF(-radius + 1, 0.5));

    if (look == Look::Over || look == Look::Down) {
        DrawGlow(painter, body, radius, Accent());
        painter.setPen(QPen(Accent(), 1.4));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(body.adjusted(0.7, 0.7, -0.7, -0.7), radius, radius);
    }
    if (look == Look::Marked || look == Look::Selected) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Accent());
        const double barWidth = std::min(face.width() * 0.5, 22.0);
        // The mark glows in the cap's skirt, clear of the legends.
        painter.drawRoundedRect(QRectF(face.center().x() - barWidth / 2, face.bottom() + 1.5, barWidth, 2.2), 1.1, 1.1);
        painter.drawEllipse(QPointF(face.right() - 4.5, face.top() + 4.5), 2.2, 2.2);
    }

    const double shortSide = std::min(face.width(), face.height());
    if (!upper.isEmpty()) {
        DrawCaption(painter, QRectF(face.left(), face.top() + 1, face.width(), face.height() / 2), upper,
                    look == Look::Disabled ? legendColor : legendColor.darker(125), shortSide * 0.36);
        DrawCaption(painter, QRectF(face.left(), face.center().y() - 1, face.width(), face.height() / 2), legend,
                    legendColor, shortSide * 0.38);
    } else if (!legend.isEmpty()) {
        const double size = legend.size() == 1 ? shortSide * 0.46 : legend.size() <= 3 ? shortSide * 0.34 : shortSide * 0.28;
        DrawCaption(painter, face.adjusted(2, 0, -2, 0), legend, legendColor, size);
    }
    painter.restore();
}

void DrawButtonFace(QPainter& painter, const QRectF& area, Look look, double radius)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF body = area.adjusted(2, 2, -2, -2);
    QColor top(0x3A, 0x40, 0x4A), bottom(0x2B, 0x30, 0x37), border(0x4C, 0x54, 0x60);
    switch (look) {
    case Look::Over:
        top = QColor(0x47, 0x4F, 0x5B);
        bottom = QColor(0x34, 0x3A, 0x43);
        border = Accent();
        break;
    case Look::Down:
        body.translate(0, 1);
        top = AccentDeep().darker(120);
        bottom = AccentDeep().darker(150);
        border = Accent();
        break;
    case Look::Selected:
    case Look::Marked:
        top = Accent();
        bottom = AccentDeep();
        border = Accent().lighter(130);
        break;
    case Look::Disabled:
        top = QColor(0x2A, 0x2D, 0x32);
        bottom = QColor(0x25, 0x28, 0x2C);
        border = QColor(0x36, 0x3A, 0x40);
        break;
    case Look::Normal:
        break;
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 100));
    painter.drawRoundedRect(body.translated(0, 1.5), radius, radius);
    if (look == Look::Over) {
        DrawGlow(painter, body, radius, Accent());
    }
    painter.setBrush(Vertical(body, top, bottom));
    painter.setPen(QPen(border, 1));
    painter.drawRoundedRect(body.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    painter.setPen(QPen(QColor(255, 255, 255, look == Look::Disabled ? 8 : 30), 1));
    painter.drawLine(body.topLeft() + QPointF(radius, 1.5), body.topRight() + QPointF(-radius, 1.5));
    painter.restore();
}

void DrawCaption(QPainter& painter, const QRectF& area, const QString& text, QColor color, double pixelSize, int flags)
{
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(UiFont(pixelSize));
    painter.setPen(color);
    painter.drawText(area, flags | Qt::TextSingleLine, text);
    painter.restore();
}

QColor GlyphColor(Look look)
{
    switch (look) {
    case Look::Over: return Qt::white;
    case Look::Down:
    case Look::Selected:
    case Look::Marked: return Accent().lighter(120);
    case Look::Disabled: return QColor(0x5D, 0x64, 0x6D);
    case Look::Normal: break;
    }
    return TextColor();
}

void DrawGlyphButton(QPainter& painter, const QRectF& area, Look look, Glyph glyph)
{
    DrawButtonFace(painter, area, look);
    const double side = std::min(area.width(), area.height()) * 0.5;
    QRectF box(0, 0, side, side);
    box.moveCenter(area.center() + QPointF(0, look == Look::Down ? 1 : 0));
    DrawGlyph(painter, box, glyph, look == Look::Selected ? QColor(Qt::white) : GlyphColor(look));
}

void DrawGlyph(QPainter& painter, const QRectF& r, Glyph glyph, QColor color)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(color, std::max(1.4, r.width() / 9), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const double w = r.width(), h = r.height();
    auto at = [&](double fx, double fy) { return QPointF(r.left() + fx * w, r.top() + fy * h); };
    switch (glyph) {
    case Glyph::Help:
        DrawCaption(painter, r.adjusted(-2, -2, 2, 2), QStringLiteral("?"), color, h * 1.1, Qt::AlignCenter);
        break;
    case Glyph::Menu:
        for (double y : {0.2, 0.5, 0.8}) painter.drawLine(at(0.1, y), at(0.9, y));
        break;
    case Glyph::Minimize: painter.drawLine(at(0.15, 0.75), at(0.85, 0.75)); break;
    case Glyph::Close:
        painter.drawLine(at(0.18, 0.18), at(0.82, 0.82));
        painter.drawLine(at(0.82, 0.18), at(0.18, 0.82));
        break;
    case Glyph::Restore: {
        painter.drawArc(QRectF(at(0.1, 0.1), at(0.9, 0.9)), 60 * 16, 290 * 16);
        QPainterPath head;
        head.moveTo(at(0.62, 0.02));
        head.lineTo(at(0.80, 0.22));
        head.lineTo(at(0.55, 0.30));
        painter.drawPath(head);
        break;
    }
    case Glyph::Switch:
        painter.drawLine(at(0.1, 0.32), at(0.9, 0.32));
        painter.drawLine(at(0.9, 0.32), at(0.7, 0.12));
        painter.drawLine(at(0.9, 0.68), at(0.1, 0.68));
        painter.drawLine(at(0.1, 0.68), at(0.3, 0.88));
        break;
    case Glyph::Flip:
        painter.drawLine(at(0.32, 0.9), at(0.32, 0.1));
        painter.drawLine(at(0.32, 0.1), at(0.12, 0.3));
        painter.drawLine(at(0.68, 0.1), at(0.68, 0.9));
        painter.drawLine(at(0.68, 0.9), at(0.88, 0.7));
        break;
    case Glyph::Keyboard:
        painter.drawRoundedRect(QRectF(at(0.02, 0.2), at(0.98, 0.8)), w * 0.08, w * 0.08);
        for (double x : {0.2, 0.4, 0.6, 0.8}) painter.drawPoint(at(x, 0.4));
        painter.drawLine(at(0.28, 0.62), at(0.72, 0.62));
        break;
    case Glyph::Eraser: {
        QPainterPath body;
        body.moveTo(at(0.1, 0.62));
        body.lineTo(at(0.5, 0.18));
        body.lineTo(at(0.9, 0.52));
        body.lineTo(at(0.55, 0.9));
        body.lineTo(at(0.3, 0.9));
        body.closeSubpath();
        painter.drawPath(body);
        painter.drawLine(at(0.3, 0.4), at(0.7, 0.75));
        break;
    }
    case Glyph::Plus:
        painter.drawLine(at(0.5, 0.12), at(0.5, 0.88));
        painter.drawLine(at(0.12, 0.5), at(0.88, 0.5));
        break;
    case Glyph::Minus: painter.drawLine(at(0.12, 0.5), at(0.88, 0.5)); break;
    case Glyph::Chevron:
        painter.drawLine(at(0.2, 0.35), at(0.5, 0.65));
        painter.drawLine(at(0.5, 0.65), at(0.8, 0.35));
        break;
    case Glyph::Folder: {
        QPainterPath path;
        path.moveTo(at(0.05, 0.85));
        path.lineTo(at(0.05, 0.18));
        path.lineTo(at(0.4, 0.18));
        path.lineTo(at(0.5, 0.3));
        path.lineTo(at(0.95, 0.3));
        path.lineTo(at(0.95, 0.85));
        path.closeSubpath();
        painter.drawPath(path);
        break;
    }
    case Glyph::Link:
        painter.drawLine(at(0.45, 0.55), at(0.9, 0.1));
        painter.drawLine(at(0.55, 0.1), at(0.9, 0.1));
        painter.drawLine(at(0.9, 0.1), at(0.9, 0.45));
        painter.drawPolyline(QPolygonF({at(0.7, 0.6), at(0.7, 0.9), at(0.1, 0.9), at(0.1, 0.3), at(0.4, 0.3)}));
        break;
    case Glyph::Lamp:
        painter.drawEllipse(QRectF(at(0.22, 0.05), at(0.78, 0.6)));
        painter.drawLine(at(0.38, 0.72), at(0.62, 0.72));
        painter.drawLine(at(0.4, 0.86), at(0.6, 0.86));
        break;
    case Glyph::Chip:
        painter.drawRect(QRectF(at(0.22, 0.22), at(0.78, 0.78)));
        for (double t : {0.35, 0.5, 0.65}) {
            painter.drawLine(at(t, 0.05), at(t, 0.22));
            painter.drawLine(at(t, 0.78), at(t, 0.95));
            painter.drawLine(at(0.05, t), at(0.22, t));
            painter.drawLine(at(0.78, t), at(0.95, t));
        }
        break;
    case Glyph::Layers:
        painter.drawPolygon(QPolygonF({at(0.5, 0.1), at(0.95, 0.33), at(0.5, 0.56), at(0.05, 0.33)}));
        painter.drawPolyline(QPolygonF({at(0.05, 0.55), at(0.5, 0.78), at(0.95, 0.55)}));
        painter.drawPolyline(QPolygonF({at(0.05, 0.74), at(0.5, 0.97), at(0.95, 0.74)}));
        break;
    case Glyph::Brush:
        painter.drawLine(at(0.9, 0.1), at(0.45, 0.55));
        painter.setBrush(color);
        painter.drawEllipse(QRectF(at(0.12, 0.55), at(0.45, 0.88)));
        break;
    case Glyph::Bucket:
        painter.drawPolygon(QPolygonF({at(0.15, 0.45), at(0.5, 0.1), at(0.85, 0.45), at(0.5, 0.8)}));
        painter.setBrush(color);
        painter.drawEllipse(QRectF(at(0.78, 0.62), at(0.98, 0.9)));
        break;
    }
    painter.restore();
}

void DrawBrand(QPainter& painter, const QPointF& origin, double height)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF mark(origin, QSizeF(height, height));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Vertical(mark, Accent(), AccentDeep()));
    painter.drawRoundedRect(mark, height * 0.22, height * 0.22);
    painter.setBrush(QColor(255, 255, 255, 40));
    painter.drawRoundedRect(mark.adjusted(height * 0.12, height * 0.08, -height * 0.12, -height * 0.3), height * 0.16, height * 0.16);
    DrawCaption(painter, mark, QStringLiteral("K"), Qt::white, height * 0.62);
    QFont word = UiFont(height * 0.62, QFont::Bold);
    word.setLetterSpacing(QFont::AbsoluteSpacing, height * 0.12);
    painter.setFont(word);
    painter.setPen(TextColor());
    painter.drawText(QRectF(mark.right() + height * 0.35, mark.top(), height * 8, height), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("KOVANTIS"));
    painter.restore();
}

QImage RoundedMask(int width, int height, double radius)
{
    QImage mask(width, height, QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter painter(&mask);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, width, height), radius, radius);
    painter.drawPath(path);
    return mask;
}

bool SavePicture(const QImage& image, const std::string& path)
{
    const QString name = QString::fromStdString(path);
    if (name.endsWith(QLatin1String(".jpg"))) {
        return image.save(name, "JPG", 95);
    }
    if (name.endsWith(QLatin1String(".bmp"))) {
        return image.convertToFormat(QImage::Format_RGB888).save(name, "BMP");
    }
    return image.save(name, "PNG");
}

} // namespace skingen
