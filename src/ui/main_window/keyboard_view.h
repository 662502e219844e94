#pragma once
// The key, G, Fn and D buttons of the main window's keyboard picture. It draws what the
// keyboard view model says and reports clicks; it decides nothing itself.

#include <QObject>

#include <map>

#include "keyboard/keyboard_view_model.h"

namespace kovantis {
class CBaseDialog;
class CPngButton;
}

namespace kovantis::ui {

class KeyboardView : public QObject {
    Q_OBJECT
public:
    // Creates one image button per model entry on `dialog`, placed at its skin rectangle.
    KeyboardView(CBaseDialog& dialog, const KeyboardViewModel& model);

    // Takes over marks, tooltips, captions, picture sets and usability from the model.
    void Show();
    CPngButton* ButtonOf(int controlId) const;

signals:
    void Clicked(int controlId);

private:
    struct Entry {
        CPngButton* button = nullptr;
        bool absent = false;  // the skin leaves it out: it stays disabled
        KeyPictureSet shown = KeyPictureSet::Key;
    };

    CBaseDialog& dialog_;
    const KeyboardViewModel& model_;
    std::map<int, Entry> entries_;
};

} // namespace kovantis::ui
