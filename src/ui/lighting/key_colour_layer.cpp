#include "ui/lighting/key_colour_layer.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

#include "skin/skin_pictures.h"
#include "ui/skin/c_base_dialog.h"
#include "ui/skin/c_png_button.h"

namespace kovantis::ui {
namespace {

// How a lit key looks: its keycap tinted by the light and a bright strip along its lower edge,
// where the light of a real board leaks out under the cap.
constexpr int kTintInset = 3;
constexpr int kTintAlpha = 120;
constexpr int kGlowHeight = 3;

QColor ColourOf(Rgb rgb, int alpha = 255) { return QColor(rgb.r, rgb.g, rgb.b, alpha); }

} // namespace

KeyColourLayer::KeyColourLayer(CBaseDialog& dialog, const std::vector<KeyPicture>& keys)
    : QWidget(&dialog), dialog_(dialog)
{
    setObjectName(QStringLiteral("KeyColourLayer"));
    // Whatever a frame repaints, this layer covers it completely: nothing underneath is drawn.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(dialog.rect());
    for (const KeyPicture& key : keys) {
        if (key.button == nullptr || key.button->pos() == QPoint(1, 1))
            continue;
        keys_.push_back({key.controlId, key.button, key.button->geometry(), std::nullopt});
        key.button->installEventFilter(this);
    }
    hide();
}

void KeyColourLayer::ShowFrame(const ColourSource& colourOf)
{
    QRegion changed;
    bool shapeChanged = false;
    for (Key& key : keys_) {
        const std::optional<Rgb> colour = colourOf(key.controlId);
        if (colour == key.colour)
            continue;
        shapeChanged = shapeChanged || colour.has_value() != key.colour.has_value();
        key.colour = colour;
        changed += key.rect;
    }
    if (shapeChanged)
        UpdateShape();
    if (shape_.isEmpty()) {
        hide();
        return;
    }
    if (isHidden()) {
        raise();
        show();
        return;
    }
    if (!changed.isEmpty())
        update(changed & shape_);
}

void KeyColourLayer::Clear()
{
    ShowFrame([](int) { return std::optional<Rgb>(); });
}

void KeyColourLayer::UpdateShape()
{
    QRegion shape;
    for (const Key& key : keys_) {
        if (key.colour)
            shape += key.rect;
    }
    shape_ = shape;
    if (!shape_.isEmpty())
        setMask(shape_);
}

std::optional<Rgb> KeyColourLayer::ShownColour(int controlId) const
{
    for (const Key& key : keys_) {
        if (key.controlId == controlId)
            return isHidden() ? std::nullopt : key.colour;
    }
    return std::nullopt;
}

void KeyColourLayer::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    ++paintPasses_;
    keysInLastPass_ = 0;
    const QRegion& region = event->region();
    for (const Key& key : keys_) {
        if (key.colour && region.intersects(key.rect)) {
            DrawKey(painter, key);
            ++keysInLastPass_;
        }
    }
}

void KeyColourLayer::DrawKey(QPainter& painter, const Key& key) const
{
    const CPngButton& button = *key.button;
    const std::string_view name = button.isDown() ? kMainDownPicture : button.IsHovered() ? kMainOverPicture : kMainNormalPicture;
    // The key buttons take their rectangle of the state picture from one pixel up and left.
    dialog_.Pictures().Lazy(name).Draw(painter, key.rect.topLeft(), key.rect.translated(-1, -1));
    const Rgb colour = *key.colour;
    const QRect cap = key.rect.adjusted(kTintInset, kTintInset, -kTintInset, -kTintInset);
    painter.fillRect(cap, ColourOf(colour, kTintAlpha));
    painter.fillRect(QRect(cap.left(), cap.bottom() - kGlowHeight + 1, cap.width(), kGlowHeight), ColourOf(colour));
}

bool KeyColourLayer::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        if (!isHidden()) {
            for (const Key& key : keys_) {
                if (key.button == watched && key.colour) {
                    update(key.rect);
                    break;
                }
            }
        }
        break;
    default:
        break;
    }
    return false;
}

} // namespace kovantis::ui
