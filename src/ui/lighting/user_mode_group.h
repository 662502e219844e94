#pragma once
// The user-mode group of the lighting panel (effect 20): brush and base colour buttons, the two
// tool pictures and the editable list of the profile's ten modes. It draws the lighting's look
// and reports the user's gestures; only the user's own typing renames a mode, never a change
// made from code.

#include <QColor>
#include <QObject>
#include <QString>

#include <string_view>

namespace kovantis {
class CBaseDialog;
class CSkinColorButton;
struct LightingPanelLook;
struct LightingLabels;
}

class QComboBox;
class QLabel;

namespace kovantis::ui {

class PanelPicture;

class UserModeGroup : public QObject {
    Q_OBJECT
public:
    explicit UserModeGroup(CBaseDialog& dialog);

    void Draw(const LightingPanelLook& look);
    void SetLabels(const LightingLabels& labels);

    // Skin key → widget, for the panel's lookup.
    QWidget* Control(std::string_view skinKey) const;
    // Whether skinKey names one of the group's controls (without making the group).
    static bool HasControl(std::string_view skinKey);
    QComboBox* ModeCombo() const { return combo_; }
    CSkinColorButton* BrushButton() const { return brush_; }
    CSkinColorButton* BaseButton() const { return base_; }

signals:
    void BrushColourChosen(const QColor& colour);
    void BaseColourChosen(const QColor& colour);
    void ToolChosen(int tool);
    void ModeChosen(int mode);
    void ModeRenamed(const QString& name);

private:
    void SetShown(bool shown);

    CBaseDialog& dialog_;
    QLabel* brushLabel_ = nullptr;
    CSkinColorButton* brush_ = nullptr;
    QLabel* baseLabel_ = nullptr;
    CSkinColorButton* base_ = nullptr;
    QLabel* toolLabel_ = nullptr;
    PanelPicture* tools_[2] = {nullptr, nullptr};
    QComboBox* combo_ = nullptr;
    int shownMode_ = -1;
};

} // namespace kovantis::ui
