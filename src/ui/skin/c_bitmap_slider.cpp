#include "ui/skin/c_bitmap_slider.h"

#include <optional>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace kovantis {
namespace {

std::optional<SliderKey> SliderKeyOf(int key)
{
    switch (key) {
    case Qt::Key_PageUp: return SliderKey::PageUp;
    case Qt::Key_PageDown: return SliderKey::PageDown;
    case Qt::Key_Home: return SliderKey::Home;
    case Qt::Key_End: return SliderKey::End;
    case Qt::Key_Left: return SliderKey::Left;
    case Qt::Key_Right: return SliderKey::Right;
    case Qt::Key_Up: return SliderKey::Up;
    case Qt::Key_Down: return SliderKey::Down;
    default: return std::nullopt;
    }
}

} // namespace

CBitmapSlider::CBitmapSlider(int controlId, QWidget* parent) : QWidget(parent), controlId_(controlId)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setMouseTracking(true);
}

void CBitmapSlider::SetRange(int minimum, int maximum)
{
    model_.SetRange(minimum, maximum);
    update();
}

void CBitmapSlider::SetPosition(int position)
{
    model_.SetPosition(position);
    update();
}

void CBitmapSlider::SetFace(const QPixmap& face)
{
    face_ = face;
    model_.SetFaceSize(face.width(), face.height());
    resize(face.size());
    update();
}

void CBitmapSlider::Report(bool changed)
{
    if (changed) {
        update();
        emit PositionChanged(controlId_, model_.Position());
    }
}

void CBitmapSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, face_);
    if (model_.HasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void CBitmapSlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint at = event->position().toPoint();
    const bool changed = model_.Press(at.x(), at.y());
    update();
    Report(changed);
}

void CBitmapSlider::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    Report(model_.Move(at.x(), at.y()));
}

void CBitmapSlider::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        Report(model_.Release());
    }
}

void CBitmapSlider::keyPressEvent(QKeyEvent* event)
{
    const std::optional<SliderKey> key = SliderKeyOf(event->key());
    if (!key) {
        QWidget::keyPressEvent(event);
        return;
    }
    Report(model_.Key(*key));
}

void CBitmapSlider::wheelEvent(QWheelEvent* event)
{
    Report(model_.Wheel(event->angleDelta().y()));
}

void CBitmapSlider::leaveEvent(QEvent* event)
{
    model_.Leave();
    update();
    QWidget::leaveEvent(event);
}

void CBitmapSlider::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        model_.SetEnabled(isEnabled());
    }
    QWidget::changeEvent(event);
}

} // namespace kovantis
