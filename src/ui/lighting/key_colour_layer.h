#pragma once
// The lighting on the keyboard picture: one widget over the key pictures that draws each key in
// the colour the lighting gives it. A frame repaints only the keys whose colour changed, all in
// one paint pass of this one widget; the key buttons underneath are never repainted for it and
// keep taking the clicks (the layer lets the pointer through and only mirrors their hover and
// pressed looks).

#include <QPixmap>
#include <QRegion>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

#include "lighting/rgb.h"

namespace kovantis {
class CBaseDialog;
class CPngButton;
}

namespace kovantis::ui {

struct KeyPicture {
    int controlId = 0;
    CPngButton* button = nullptr;
};

class KeyColourLayer : public QWidget {
    Q_OBJECT
public:
    // The colour a key shows, nullopt for a key that shows its own picture.
    using ColourSource = std::function<std::optional<Rgb>(int controlId)>;

    // Keys the skin leaves out (disabled at 1,1) are not drawn.
    KeyColourLayer(CBaseDialog& dialog, const std::vector<KeyPicture>& keys);

    // Takes this frame's colours and repaints what changed; with no key coloured the layer
    // hides and the key pictures show themselves again.
    void ShowFrame(const ColourSource& colourOf);
    // Back to the key pictures.
    void Clear();

    // -- what tests look at --
    std::optional<Rgb> ShownColour(int controlId) const;
    int PaintPasses() const { return paintPasses_; }
    // Keys drawn by the last paint pass.
    int KeysInLastPass() const { return keysInLastPass_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Key {
        int controlId = 0;
        CPngButton* button = nullptr;
        QRect rect;  // in the dialog, which is where this layer sits too
        std::optional<Rgb> colour;
    };
    void DrawKey(QPainter& painter, const Key& key) const;
    void UpdateShape();

    CBaseDialog& dialog_;
    std::vector<Key> keys_;
    QRegion shape_;
    int paintPasses_ = 0;
    int keysInLastPass_ = 0;
};

} // namespace kovantis::ui
