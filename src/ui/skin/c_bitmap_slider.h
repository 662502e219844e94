#pragma once
// The skinned slider: a face picture that its owner exchanges with the position. Every change
// made by the user is reported with the slider's control id and the new position.

#include <QPixmap>
#include <QWidget>

#include "skin/slider_model.h"

namespace kovantis {

class CBitmapSlider : public QWidget {
    Q_OBJECT
public:
    explicit CBitmapSlider(int controlId, QWidget* parent = nullptr);

    int ControlId() const { return controlId_; }

    void SetRange(int minimum, int maximum);
    void SetPageStep(int step) { model_.SetPageStep(step); }
    void SetVertical(bool vertical) { model_.SetVertical(vertical); }
    // From code: clamped, redrawn, not reported.
    void SetPosition(int position);
    int Position() const { return model_.Position(); }
    const SliderModel& Model() const { return model_; }

    // Sizes the slider to the picture and redraws it.
    void SetFace(const QPixmap& face);

signals:
    void PositionChanged(int controlId, int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Report(bool changed);

    int controlId_;
    SliderModel model_;
    QPixmap face_;
};

} // namespace kovantis
