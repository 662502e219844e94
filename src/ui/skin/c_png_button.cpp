#include "ui/skin/c_png_button.h"

#include <algorithm>

#include <QCursor>
#include <QEnterEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

namespace kovantis {
namespace {

// Tooltip timing is derived from one 2000 ms base: it stays up ten times as long.
constexpr int kTipDisplayMs = 10 * 2000;

Qt::Alignment AlignmentOf(uint32_t format)
{
    Qt::Alignment alignment;
    if (format & kCaptionCenter) {
        alignment |= Qt::AlignHCenter;
    } else if (format & kCaptionRight) {
        alignment |= Qt::AlignRight;
    } else {
        alignment |= Qt::AlignLeft;
    }
    // Vertical placement only applies to single-line captions.
    if (!(format & kCaptionSingleLine)) {
        alignment |= Qt::AlignTop;
    } else if (format & kCaptionVCenter) {
        alignment |= Qt::AlignVCenter;
    } else if (format & kCaptionBottom) {
        alignment |= Qt::AlignBottom;
    } else {
        alignment |= Qt::AlignTop;
    }
    return alignment;
}

} // namespace

CPngButton::CPngButton(QWidget* parent) : QAbstractButton(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::NoFocus);
}

void CPngButton::SetPictures(const StatePixmaps& pictures)
{
    pictures_ = pictures;
    RegisterPieces();
    update();
}

void CPngButton::SetPicture(PictureSlot slot, const QPixmap& picture)
{
    pictures_[static_cast<size_t>(slot)] = picture;
    update();
}

void CPngButton::SetOrigin(QPoint origin)
{
    origin_ = origin;
    placed_ = true;
    RegisterPieces();
    update();
}

QRect CPngButton::PieceRect() const
{
    return QRect(origin_ - QPoint(1, 1), size());
}

void CPngButton::RegisterPieces()
{
    if (!placed_) {
        return;
    }
    for (const SkinPicture& picture : pictures_) {
        picture.AddPiece(PieceRect());
    }
}

void CPngButton::ApplySkinRect(const SkinRect& rect)
{
    setGeometry(rect.x, rect.y, rect.w, rect.h);
    SetOrigin(QPoint(rect.x, rect.y));
    if (rect.IsAbsent()) {
        setEnabled(false);
    }
}

void CPngButton::SetOn(bool on)
{
    if (on_ != on) {
        on_ = on;
        update();
    }
}

void CPngButton::SetFrameMode(bool enabled, const QColor& color, int value)
{
    frameMode_ = enabled;
    frameColor_ = color;
    frameValue_ = enabled ? std::min(value, 100) : value;
    update();
}

void CPngButton::SetDimmed(bool dimmed)
{
    if (dimmed_ != dimmed) {
        dimmed_ = dimmed;
        update();
    }
}

void CPngButton::SetCaptionStyle(const CaptionStyle& style)
{
    caption_ = style;
    captionShown_ = true;
    update();
}

void CPngButton::SetCaptionShown(bool shown)
{
    captionShown_ = shown;
    update();
}

void CPngButton::SetTipText(const QString& text)
{
    tipText_ = text;
    setToolTip(text);
}

PictureSlot CPngButton::CurrentSlot() const
{
    return ChoosePicture(ButtonLook{!isEnabled(), isDown(), hover_, on_});
}

void CPngButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const PictureSlot slot = CurrentSlot();
    if (frameMode_) {
        painter.setPen(QPen(frameColor_, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(QPoint(1, 1), QPoint(width() - 1, height() - 1)));
    } else {
        pictures_[static_cast<size_t>(slot)].Draw(painter, QPoint(0, 0), PieceRect());
    }
    if (captionShown_) {
        DrawCaption(painter);
    }
    if (dimmed_) {
        painter.fillRect(rect(), QColor(0, 0, 0, 150));
    }
    painter.end();
    if (paintHook_) {
        paintHook_(*this, slot == PictureSlot::Normal);
    }
}

void CPngButton::DrawCaption(QPainter& painter)
{
    const QString caption = text().left(259);
    if (caption.isEmpty()) {
        return;
    }
    QFont font(QString::fromStdU16String(caption_.face));
    font.setPixelSize(std::max(1, CaptionPixelHeight(caption_.points, logicalDpiY())));
    font.setWeight(static_cast<QFont::Weight>(CaptionWeight(caption_)));
    painter.setFont(font);
    painter.setPen(QColor(caption_.red, caption_.green, caption_.blue));
    const QRect area = rect().adjusted(caption_.marginLeft, caption_.marginTop, caption_.marginRight,
                                       caption_.marginBottom);
    int flags = static_cast<int>(AlignmentOf(caption_.format));
    flags |= (caption_.format & kCaptionSingleLine) ? Qt::TextSingleLine
             : (caption_.format & kCaptionWordBreak) ? Qt::TextWordWrap : 0;
    if (!caption_.rotated) {
        painter.drawText(area, flags, caption);
        return;
    }
    // Turning about the rectangle's centre keeps the caption centred at any angle.
    painter.save();
    painter.translate(QRectF(area).center());
    painter.rotate(-caption_.rotationTenths / 10.0);
    QRectF turned(0, 0, area.width(), area.height());
    turned.moveCenter(QPointF(0, 0));
    painter.drawText(turned, flags, caption);
    painter.restore();
}

void CPngButton::enterEvent(QEnterEvent* event)
{
    hover_ = true;
    update();
    if (!tipText_.isEmpty()) {
        QToolTip::showText(event->globalPosition().toPoint(), tipText_, this, rect(), kTipDisplayMs);
    }
    QAbstractButton::enterEvent(event);
}

void CPngButton::leaveEvent(QEvent* event)
{
    hover_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void CPngButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second click of a double click is a press of its own.
    mousePressEvent(event);
}

} // namespace kovantis
