#include "ui/lighting/panel_picture.h"

#include <QFocusEvent>
#include <QPainter>

namespace kovantis::ui {

PanelPicture::PanelPicture(QWidget* parent) : QAbstractButton(parent)
{
    setAttribute(Qt::WA_NoSystemBackground);
    setCursor(Qt::PointingHandCursor);
    // Reachable with Tab and pressed with Space, like any button.
    setFocusPolicy(Qt::TabFocus);
}

void PanelPicture::SetPicture(const QString& name, const QPixmap& picture)
{
    if (name == name_)
        return;
    name_ = name;
    picture_ = picture;
    update();
}

void PanelPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // A bitmap smaller than the skin's rectangle sits in its middle.
    const QPoint at((width() - picture_.width()) / 2, (height() - picture_.height()) / 2);
    painter.drawPixmap(at, picture_);
    if (hasFocus() && tabbedTo_) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void PanelPicture::focusInEvent(QFocusEvent* event)
{
    // The frame shows where Tab went; a window that just opened draws none.
    tabbedTo_ = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QAbstractButton::focusInEvent(event);
}

void PanelPicture::focusOutEvent(QFocusEvent* event)
{
    tabbedTo_ = false;
    QAbstractButton::focusOutEvent(event);
}

} // namespace kovantis::ui
