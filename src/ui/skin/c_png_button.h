#pragma once
// The image button of the skinned windows: each state shows the button's own rectangle of one of
// its window's whole-window state pictures, taken from (x - 1, y - 1) of that picture.

#include <functional>

#include <QAbstractButton>
#include <QColor>
#include <QPoint>

#include "skin/caption_style.h"
#include "skin/skin_pictures.h"
#include "skin/skin_rect.h"
#include "ui/skin/skin_picture_store.h"

namespace kovantis {

class CPngButton : public QAbstractButton {
    Q_OBJECT
public:
    // Called after every repaint with true when the normal picture was the one drawn.
    using PaintHook = std::function<void(CPngButton& button, bool normalDrawn)>;

    explicit CPngButton(QWidget* parent = nullptr);

    void SetPictures(const StatePixmaps& pictures);
    void SetPicture(PictureSlot slot, const QPixmap& picture);
    // The skin rectangle's x and y.
    void SetOrigin(QPoint origin);
    QPoint Origin() const { return origin_; }
    // Places and sizes the button, takes the rectangle's x and y as its picture origin and
    // disables a button the skin leaves out.
    void ApplySkinRect(const SkinRect& rect);

    // The selected look (profile, report-rate, bank and similar buttons; assigned keys).
    void SetOn(bool on);
    bool IsOn() const { return on_; }

    // Frame mode draws a 2-pixel frame in `color` instead of any picture. While it is on the
    // frame value is limited to 100.
    void SetFrameMode(bool enabled, const QColor& color = {}, int value = 0);
    bool InFrameMode() const { return frameMode_; }
    int FrameValue() const { return frameValue_; }

    // Caption drawing of the button's text(); off until a style is given.
    void SetCaptionStyle(const CaptionStyle& style);
    void SetCaptionShown(bool shown);

    // The tooltip, popped up as soon as the pointer rests on the button.
    void SetTipText(const QString& text);
    QString TipText() const { return tipText_; }

    void SetPaintHook(PaintHook hook) { paintHook_ = std::move(hook); }

    // A dimmed button is drawn darkened over its picture: for a key that is out of use where
    // the window's pictures have no disabled look of their own.
    void SetDimmed(bool dimmed);
    bool IsDimmed() const { return dimmed_; }

    bool IsHovered() const { return hover_; }
    // The rectangle of its window's state pictures the button shows: from (x - 1, y - 1).
    QRect PieceRect() const;
    const SkinPicture& Picture(PictureSlot slot) const { return pictures_[static_cast<size_t>(slot)]; }
    // The slot the next repaint draws.
    PictureSlot CurrentSlot() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void DrawCaption(QPainter& painter);
    void RegisterPieces();

    StatePixmaps pictures_;
    QPoint origin_;
    // Pieces are registered once the button knows its place.
    bool placed_ = false;
    bool hover_ = false;
    bool on_ = false;
    bool frameMode_ = false;
    QColor frameColor_;
    int frameValue_ = 0;
    bool captionShown_ = false;
    bool dimmed_ = false;
    CaptionStyle caption_;
    QString tipText_;
    PaintHook paintHook_;
};

} // namespace kovantis
