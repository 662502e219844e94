#pragma once
// How the lighting panel's plain Qt controls blend into the skinned window: light text on the
// panel's dark plate, and drop-down lists in the same colours.

#include <QComboBox>

class QLabel;

namespace kovantis::ui {

void StylePanelLabel(QLabel& label, bool title = false);

// A drop-down list in the panel's colours, with its own arrow (style sheets draw none that
// matches).
class PanelComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit PanelComboBox(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kovantis::ui

#include <string_view>

class QWidget;

namespace kovantis {
class CBaseDialog;
}

namespace kovantis::ui {

// Places and sizes a panel control at its skin rectangle. A control the skin leaves out stays
// hidden for good (ShowIfPlaced never shows it); returns whether the skin places it.
bool PlaceOnSkin(const CBaseDialog& dialog, QWidget& control, std::string_view skinKey);
void ShowIfPlaced(QWidget* control, bool shown);

} // namespace kovantis::ui
