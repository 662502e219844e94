#include "ui/lighting/panel_picture.h"

#include <QPainter>

namespace kovantis::ui {

PanelPicture::PanelPicture(QWidget* parent) : QAbstractButton(parent)
{
    setAttribute(Qt::WA_NoSystemBackground);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
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
}

} // namespace kovantis::ui
