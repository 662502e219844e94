#include "ui/skin/c_base_dialog.h"

#include <QImageReader>

#include "platform/regular_file.h"
#include "skin/mask_shape.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QShowEvent>
#include <QPainter>
#include <QWindow>

#include "ui/skin/c_png_button.h"

namespace kovantis {

QRegion WindowShapeOf(const QImage& mask)
{
    // Marking the white pixels gives a bitmap whose region is everything else.
    const QImage opaque = mask.convertToFormat(QImage::Format_RGB32);
    QRegion shape(QBitmap::fromImage(opaque.createMaskFromColor(qRgb(255, 255, 255), Qt::MaskInColor)));
    // An empty region would mean "no shape" and show the whole rectangle.
    return shape.isEmpty() ? QRegion(-1, -1, 1, 1) : shape;
}

QRegion WindowShapeOf(const std::vector<ShapeRect>& shape)
{
    if (shape.empty()) {
        return QRegion(-1, -1, 1, 1);
    }
    std::vector<QRect> rects;
    rects.reserve(shape.size());
    for (const ShapeRect& r : shape) {
        rects.emplace_back(r.x, r.y, r.w, r.h);
    }
    QRegion region;
    region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}

CBaseDialog::CBaseDialog(const std::string& skinFilePath, QWidget* parent)
    : QDialog(parent), skin_(SkinFile::Open(skinFilePath)), pictures_(skin_.Folder())
{
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    // The background picture covers every pixel, so nothing is erased before painting.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

bool CBaseDialog::SetUpSkinWindow()
{
    // The background is also a state picture of the window's buttons: one picture serves both.
    background_ = pictures_.PictureAt(skin_.BackgroundPath());
    if (!background_.Available()) {
        return false;
    }
    const QPoint position = pos();
    setFixedSize(background_.Size());
    move(position);
    // The shape is cut when the window shows: a program that starts hidden in the notification
    // area reads no mask until the user opens it.
    shapeCut_ = false;
    if (isVisible())
        CutShape();
    update();
    return true;
}

void CBaseDialog::CutShape()
{
    shapeCut_ = true;
    // The mask (the background itself unless the skin names one) is only read for its shape:
    // a BMP row by row, anything else decoded into an image that is let go again.
    if (skin_.MaskPath().empty())
        return;
    if (const std::optional<std::vector<ShapeRect>> shape = ReadBmpMaskShape(skin_.MaskPath())) {
        setMask(WindowShapeOf(*shape));
        return;
    }
    if (!IsRegularFile(skin_.MaskPath()))
        return;
    QImageReader reader(QString::fromStdString(skin_.MaskPath()));
    reader.setDecideFormatFromContent(true);
    if (const QImage mask = reader.read(); !mask.isNull())
        setMask(WindowShapeOf(mask));
}

void CBaseDialog::showEvent(QShowEvent* event)
{
    if (!shapeCut_)
        CutShape();
    QDialog::showEvent(event);
}

void CBaseDialog::PlaceImageButton(CPngButton& button, std::string_view key, const StateSet& set)
{
    button.SetPictures(pictures_.Set(set));
    button.ApplySkinRect(skin_.Rect(key));
}

void CBaseDialog::PlaceControl(QWidget& control, std::string_view key) const
{
    const SkinRect rect = skin_.Rect(key);
    control.setGeometry(rect.x, rect.y, rect.w, rect.h);
}

void CBaseDialog::MoveControl(QWidget& control, std::string_view key) const
{
    const SkinRect rect = skin_.Rect(key);
    control.move(rect.x, rect.y);
}

void CBaseDialog::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_F1:
        if (event->modifiers() != Qt::NoModifier) {
            break;
        }
        event->accept();
        emit HelpRequested();
        return;
    // Enter and Esc neither confirm nor close a skinned window: its own buttons do (and on the
    // key assignment dialog's single-key page they are keys to send). A window that cancels on
    // Esc says so in its own handler, before this one.
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        break;
    }
    QDialog::keyPressEvent(event);
}

void CBaseDialog::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    background_.DrawArea(painter, event->rect());
}

void CBaseDialog::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    QWindow* window = windowHandle();
    if (window && window->startSystemMove()) {
        return;
    }
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void CBaseDialog::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - dragOffset_);
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void CBaseDialog::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        dragging_ = false;
    }
    QDialog::mouseReleaseEvent(event);
}

} // namespace kovantis
