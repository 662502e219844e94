#pragma once
// The drawing vocabulary of the default skin: panels, keycaps, buttons and small glyphs, each in
// the look of a control state.

#include <cstdint>
#include <string>

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace skingen {

// How a control is drawn in one picture.
enum class Look { Normal, Over, Down, Disabled, Selected, Marked };

QColor Accent();
QColor AccentDeep();
QColor TextColor();
QColor DimTextColor();

QFont UiFont(double pixelSize, QFont::Weight weight = QFont::DemiBold);

// A blank picture of the given size in the window's opaque pixel format.
QImage NewPicture(int width, int height);

// Dark brushed metal: fine horizontal streaks from a fixed seed, lighter at the top.
void DrawBrushedPanel(QPainter& painter, const QRect& area, QColor base, uint32_t seed);
// A recessed rounded plate (keyboard deck, lighting panel, list wells).
void DrawPlate(QPainter& painter, const QRectF& area, double radius, QColor top, QColor bottom);
// A sunken field for labels, lists and edits.
void DrawWell(QPainter& painter, const QRectF& area);

void DrawKeycap(QPainter& painter, const QRectF& cell, Look look, const QString& legend, const QString& upper);
// A rounded push button face without a caption (captions are drawn at run time).
void DrawButtonFace(QPainter& painter, const QRectF& area, Look look, double radius = 7);
void DrawCaption(QPainter& painter, const QRectF& area, const QString& text, QColor color, double pixelSize,
                 int flags = Qt::AlignCenter);

// Line glyphs drawn in `color` inside `area`.
enum class Glyph { Help, Menu, Minimize, Close, Restore, Switch, Flip, Keyboard, Eraser, Plus, Minus,
                   Chevron, Folder, Link, Lamp, Chip, Layers, Brush, Bucket };
void DrawGlyph(QPainter& painter, const QRectF& area, Glyph glyph, QColor color);
// A glyph button: face plus glyph in the look's colour.
void DrawGlyphButton(QPainter& painter, const QRectF& area, Look look, Glyph glyph);
QColor GlyphColor(Look look);

// The brand mark: an accent keycap with a K, and the word mark beside it.
void DrawBrand(QPainter& painter, const QPointF& origin, double height);

// Rounded window outline for the mask pictures: black inside, white outside.
QImage RoundedMask(int width, int height, double radius);

bool SavePicture(const QImage& image, const std::string& path);

} // namespace skingen
