#include "ui/skin/c_skin_color_button.h"

#include <QColorDialog>
#include <QPainter>

namespace kovantis {
namespace {

std::optional<QColor> AskWithColorDialog(const QColor& current, QWidget* parent)
{
    const QColor chosen = QColorDialog::getColor(current, parent);
    return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
}

// The focus frame sits this far outside the colour face.
constexpr int kFocusGap = 3;

} // namespace

CSkinColorButton::CSkinColorButton(QWidget* parent) : QAbstractButton(parent), chooser_(AskWithColorDialog)
{
    setFocusPolicy(Qt::StrongFocus);
    // Repaints when the pointer comes and goes, so the lit border follows it.
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QAbstractButton::clicked, this, &CSkinColorButton::Choose);
}

void CSkinColorButton::SetColor(const QColor& color)
{
    color_ = color;
    update();
}

void CSkinColorButton::Choose()
{
    if (const std::optional<QColor> chosen = chooser_(color_, this)) {
        SetColor(*chosen);
        emit ColorChosen(*chosen);
    }
}

void CSkinColorButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect face = rect().adjusted(kFocusGap + 1, kFocusGap + 1, -kFocusGap - 1, -kFocusGap - 1);
    const bool lit = underMouse() || isDown();
    painter.fillRect(face, color_);
    painter.setPen(QColor(lit ? 0xE0E0E0 : 0x808080));
    painter.drawRect(face.adjusted(0, 0, -1, -1));
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(face.adjusted(-kFocusGap, -kFocusGap, kFocusGap - 1, kFocusGap - 1));
    }
}

} // namespace kovantis
