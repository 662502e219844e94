#pragma once
// The lighting panel of the main window: the lamp and the ⇄ button that switch between the
// function view and the lighting view, the effect list, brightness and speed, direction,
// colours, effect 17's four colours, the user-mode group and the report rate; and the lighting
// on the key pictures (the preview at 20 frames a second while the window shows the lighting
// view, the per-key colours of effect 20, painting keys by clicks).
//
// It draws the lighting controller's look and hands every gesture to it as a job: the keyboard
// is never talked to from the window's thread, and the widgets read the look only when no job
// runs. Every control sits at its skin rectangle; a control the skin leaves out never shows.

#include <QObject>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lighting/skin_texts.h"
#include "ui/lighting/key_colour_layer.h"

class QComboBox;
class QLabel;

namespace kovantis {
class CBaseDialog;
class CBitmapSlider;
class CPngButton;
class CSkinColorButton;
class LightingController;
struct LightingPanelLook;
}

namespace kovantis::ui {

class JobRunner;
class PanelPicture;
class UserModeGroup;

inline constexpr int kBrightnessSliderId = 1178;
inline constexpr int kSpeedSliderId = 1179;
inline constexpr int kPreviewTickMs = 50;

class LightingPanel : public QObject {
    Q_OBJECT
public:
    // The dialog's skin must be set up (SetUpSkinWindow) before.
    LightingPanel(CBaseDialog& dialog, LightingController& lighting, JobRunner& jobs);
    ~LightingPanel() override;

    // The image buttons of the skin that belong to the panel (the ⇄ button and the report-rate
    // buttons); the window makes none of these itself.
    static std::span<const std::string_view> ImageKeys();

    // The key pictures the lighting shows on; call once, after they are placed.
    void AttachKeyPictures(const std::vector<KeyPicture>& keys);

    // A click on a key picture. True when the lighting view has it: a main key, Fn or D1 to D6
    // is painted in effect 20 and ignored in the other effects. False for the function view and
    // for the G keys, which always open key assignment editing.
    bool TakeKeyClick(int controlId);

    // The keyboard changed its lighting on its own: read it back once, soon, however many
    // notifications arrive meanwhile.
    void OnKeyboardLightingChanged();

    // Draws the controller's look: runs whenever the jobs are done, and on request.
    void Redraw();

    bool LightingViewShown() const { return shownView_; }
    bool PreviewRunning() const { return previewTimer_.isActive(); }

    // -- what tests and screenshots look at --
    QWidget* Control(std::string_view skinKey);
    KeyColourLayer* Layer() const { return layer_; }
    // Made when first needed: most users never see them, and a window that starts hidden in the
    // notification area then pays neither for them nor for the fonts they measure.
    UserModeGroup& UserModes();

signals:
    // The view changed (after the redraw that shows it): the window shows key captions again
    // when it went off.
    void LightingViewChanged(bool on);
    // A change the user made did not reach the keyboard: `result` is the failed exchange's.
    void ChangeFailed(int result);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Gesture = std::function<void(LightingController&)>;
    void Build();
    // A gesture's failure is reported (ChangeFailed) unless it is only a read-back.
    enum class Report { Failure, Nothing };
    void Run(Gesture gesture, Report report = Report::Failure);
    void PlacePicture(PanelPicture*& picture, std::string_view key, std::function<void()> onClick);
    QLabel* NewLabel(std::string_view key, const QString& caption, bool title = false);
    void ShowPicture(PanelPicture* picture, const std::string& name);
    QComboBox& Effects();
    void DrawEffects(const LightingPanelLook& look);
    void DrawSliders(const LightingPanelLook& look);
    void DrawDirection(const LightingPanelLook& look);
    void DrawColours(const LightingPanelLook& look);
    void DrawLabels(const LightingPanelLook& look);
    void ShowKeyColours();
    void UpdatePreviewTimer();
    void PreviewTick();

    CBaseDialog& dialog_;
    LightingController& lighting_;
    JobRunner& jobs_;
    std::map<std::string, QWidget*, std::less<>> controls_;

    PanelPicture* lamp_ = nullptr;
    CPngButton* switch_ = nullptr;
    QComboBox* effects_ = nullptr;
    CBitmapSlider* brightness_ = nullptr;
    CBitmapSlider* speed_ = nullptr;
    QLabel* directionLabel_ = nullptr;
    PanelPicture* directionFirst_ = nullptr;
    PanelPicture* directionSecond_ = nullptr;
    CSkinColorButton* breathingColour_ = nullptr;
    PanelPicture* breathingMulticolour_ = nullptr;
    CSkinColorButton* reactiveColour_ = nullptr;
    PanelPicture* reactiveMulticolour_ = nullptr;
    PanelPicture* colourPictures_[4] = {};
    std::vector<CPngButton*> reportRates_;
    UserModeGroup* userModes_ = nullptr;
    // The labels last drawn, for a user-mode group made later.
    std::optional<LightingLabels> labels_;
    KeyColourLayer* layer_ = nullptr;

    QTimer previewTimer_;
    // The re-read after the keyboard's own change (the window's timer 1051).
    QTimer rereadTimer_;
    bool shownView_ = false;
    std::string directionSet_;
    std::vector<int> shownEffectIds_;
    int shownEffectIndex_ = -1;
    int shownBrightness_ = -1;
    int shownSpeed_ = -1;
};

} // namespace kovantis::ui
