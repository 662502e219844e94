#pragma once
// The base of every skinned window: a borderless picture whose size and background come from
// the skin file's background picture and whose shape comes from its mask picture (every pixel
// that is not pure white belongs to the window). Dragging its surface moves the window.

#include <string>
#include <string_view>
#include <vector>

#include <QDialog>
#include <QPixmap>
#include <QPoint>
#include <QRegion>

#include "skin/mask_shape.h"
#include "skin/skin_file.h"
#include "skin/skin_pictures.h"
#include "ui/skin/skin_picture_store.h"

namespace kovantis {

class CPngButton;

class CBaseDialog : public QDialog {
    Q_OBJECT
public:
    explicit CBaseDialog(const std::string& skinFilePath, QWidget* parent = nullptr);

    const SkinFile& Skin() const { return skin_; }
    SkinPictureStore& Pictures() { return pictures_; }

    // Loads the background and sizes the window to it (keeping its position); the shape is cut
    // from the mask when the window shows. False when the background picture cannot be loaded.
    bool SetUpSkinWindow();

    // An image control: placed, sized and given its five pictures from `set`; disabled when the
    // skin leaves it out.
    void PlaceImageButton(CPngButton& button, std::string_view key, const StateSet& set);
    // A plain control: placed and sized only.
    void PlaceControl(QWidget& control, std::string_view key) const;
    // A control that keeps its size and only moves.
    void MoveControl(QWidget& control, std::string_view key) const;

signals:
    // F1 (the help request) in any skinned window; the main window opens the help page.
    void HelpRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void CutShape();

    SkinFile skin_;
    SkinPictureStore pictures_;
    SkinPicture background_;
    bool shapeCut_ = true;  // false from SetUpSkinWindow until the shape is cut
    // Set while the window is dragged by hand (no system move available).
    bool dragging_ = false;
    QPoint dragOffset_;
};

// The window shape a mask picture gives: every pixel that is not pure white. A mask with no
// such pixel gives a region outside the window, so nothing of it shows.
QRegion WindowShapeOf(const QImage& mask);
// The same from the rectangles a mask file was read into (skin/mask_shape.h).
QRegion WindowShapeOf(const std::vector<ShapeRect>& shape);

} // namespace kovantis
