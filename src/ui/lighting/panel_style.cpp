#include "ui/lighting/panel_style.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QPainter>

namespace kovantis::ui {

void StylePanelLabel(QLabel& label, bool title)
{
    label.setAttribute(Qt::WA_TransparentForMouseEvents);
    label.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A palette and a font rather than a style sheet: the window starts without the style sheet
    // machinery until a combo box of the panel is first shown.
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, title ? QColor(0xE8, 0xED, 0xF2) : QColor(0x9A, 0xA6, 0xB2));
    label.setPalette(palette);
    QFont font = label.font();
    font.setPixelSize(title ? 14 : 12);
    font.setWeight(title ? QFont::DemiBold : QFont::Normal);
    label.setFont(font);
}

PanelComboBox::PanelComboBox(QWidget* parent) : QComboBox(parent)
{
    setStyleSheet(QStringLiteral(
        "QComboBox { color: #E8EDF2; background: #15171B; border: 1px solid #3A414B; border-radius: 4px;"
        "  padding: 2px 8px; font-size: 12px; }"
        "QComboBox:hover, QComboBox:focus { border-color: #27C4FF; }"
        "QComboBox::drop-down { border: none; width: 20px; }"
        "QComboBox::down-arrow { width: 0; height: 0; border: none; }"
        "QComboBox QLineEdit { color: #E8EDF2; background: transparent; border: none;"
        "  selection-background-color: #1B8FBF; }"
        "QComboBox QAbstractItemView { color: #E8EDF2; background: #1D2025; border: 1px solid #3A414B;"
        "  selection-background-color: #1B8FBF; outline: 0; }"));
}

void PanelComboBox::paintEvent(QPaintEvent* event)
{
    QComboBox::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(underMouse() ? 0xE8EDF2 : 0x9AA6B2), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF centre(width() - 12.5, height() / 2.0);
    painter.drawPolyline(QPolygonF({centre + QPointF(-4, -2), centre + QPointF(0, 2), centre + QPointF(4, -2)}));
}

} // namespace kovantis::ui

#include "ui/skin/c_base_dialog.h"

namespace kovantis::ui {
namespace {
constexpr const char* kLeftOut = "kovantisLeftOut";
}

bool PlaceOnSkin(const CBaseDialog& dialog, QWidget& control, std::string_view skinKey)
{
    const SkinRect rect = dialog.Skin().Rect(skinKey);
    const bool placed = !rect.IsAbsent();
    control.setProperty(kLeftOut, !placed);
    control.setGeometry(rect.x, rect.y, rect.w, rect.h);
    if (!placed)
        control.hide();
    return placed;
}

void ShowIfPlaced(QWidget* control, bool shown)
{
    if (control != nullptr)
        control->setVisible(shown && !control->property(kLeftOut).toBool());
}

} // namespace kovantis::ui
