#include "ui/lighting/lighting_panel.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>

#include <array>

#include "keyboard/keyboard_view_model.h"
#include "lighting/lighting_controller.h"
#include "lighting/lighting_panel_look.h"
#include "skin/skin_pictures.h"
#include "ui/common/qt_text.h"
#include "ui/common/ui_job.h"
#include "ui/lighting/panel_picture.h"
#include "ui/lighting/panel_style.h"
#include "ui/lighting/user_mode_group.h"
#include "ui/skin/c_base_dialog.h"
#include "ui/skin/c_bitmap_slider.h"
#include "ui/skin/c_png_button.h"
#include "ui/skin/c_skin_color_button.h"

namespace kovantis::ui {
namespace {

constexpr std::array<std::string_view, 5> kImageKeys{"FUNC_SWITCH", "FUNC_REPORT1", "FUNC_REPORT2", "FUNC_REPORT3",
                                                     "FUNC_REPORT4"};
constexpr std::array<std::string_view, 4> kColourPictureKeys{"CONTROL_HONGPIC", "CONTROL_HUANGPIC", "CONTROL_LVPIC",
                                                             "CONTROL_LANPIC"};

Rgb ToRgb(const QColor& colour)
{
    return Rgb{static_cast<uint8_t>(colour.red()), static_cast<uint8_t>(colour.green()),
               static_cast<uint8_t>(colour.blue())};
}

QColor ToQColor(Rgb rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

} // namespace

LightingPanel::LightingPanel(CBaseDialog& dialog, LightingController& lighting, JobRunner& jobs)
    : QObject(&dialog), dialog_(dialog), lighting_(lighting), jobs_(jobs)
{
    Build();
    previewTimer_.setInterval(kPreviewTickMs);
    connect(&previewTimer_, &QTimer::timeout, this, &LightingPanel::PreviewTick);
    rereadTimer_.setSingleShot(true);
    rereadTimer_.setInterval(0);
    connect(&rereadTimer_, &QTimer::timeout, this,
            [this] { Run([](LightingController& l) { l.Reread(); }, Report::Nothing); });
    connect(&jobs_, &JobRunner::Idle, this, &LightingPanel::Redraw);
    dialog_.installEventFilter(this);
    Redraw();
}

LightingPanel::~LightingPanel() = default;

std::span<const std::string_view> LightingPanel::ImageKeys() { return kImageKeys; }

QLabel* LightingPanel::NewLabel(std::string_view key, const QString& caption, bool title)
{
    auto* label = new QLabel(caption, &dialog_);
    StylePanelLabel(*label, title);
    PlaceOnSkin(dialog_, *label, key);
    controls_.emplace(std::string(key), label);
    return label;
}

void LightingPanel::PlacePicture(PanelPicture*& picture, std::string_view key, std::function<void()> onClick)
{
    picture = new PanelPicture(&dialog_);
    PlaceOnSkin(dialog_, *picture, key);
    connect(picture, &QAbstractButton::clicked, this, std::move(onClick));
    controls_.emplace(std::string(key), picture);
}

void LightingPanel::Build()
{
    NewLabel("CONTROL_DengStatic", QStringLiteral("灯光"), true);
    const auto toggleView = [this] { Run([](LightingController& l) { l.ToggleLightingView(); }); };
    PlacePicture(lamp_, "CONTROL_DengStaPic", toggleView);

    switch_ = new CPngButton(&dialog_);
    switch_->setObjectName(QStringLiteral("FUNC_SWITCH"));
    dialog_.PlaceImageButton(*switch_, "FUNC_SWITCH", MainStateSetOf("FUNC_SWITCH"));
    switch_->setVisible(switch_->isEnabled());
    connect(switch_, &CPngButton::clicked, this, toggleView);
    controls_.emplace("FUNC_SWITCH", switch_);

    const auto newSlider = [this](int id, std::string_view key, int maximum, int& shown, int firstFace,
                                  void (LightingController::*move)(int)) {
        auto* slider = new CBitmapSlider(id, &dialog_);
        PlaceOnSkin(dialog_, *slider, key);
        slider->SetRange(0, maximum);
        slider->SetPageStep(1);
        connect(slider, &CBitmapSlider::PositionChanged, this, [this, slider, &shown, firstFace, move](int, int position) {
            // The face follows the knob at once; the keyboard hears of it through a job, once
            // per new position however many times the pointer reports it.
            slider->SetFace(dialog_.Pictures().Picture(SliderFacePicture(firstFace + position)));
            if (position == shown)
                return;
            shown = position;
            Run([move, position](LightingController& l) { (l.*move)(position); });
        });
        controls_.emplace(std::string(key), slider);
        return slider;
    };
    NewLabel("CONTROL_LightStatic", QStringLiteral("亮度"));
    brightness_ = newSlider(kBrightnessSliderId, "CONTROL_LightSlider", kMaxBrightness, shownBrightness_,
                            kBrightnessFirstFace, &LightingController::MoveBrightnessSlider);
    NewLabel("CONTROL_SpeedStatic", QStringLiteral("速度"));
    speed_ = newSlider(kSpeedSliderId, "CONTROL_SpeedSlider", kMaxSpeed, shownSpeed_, kSpeedFirstFace,
                       &LightingController::MoveSpeedSlider);

    directionLabel_ = NewLabel("CONTROL_BLFXStatic", QStringLiteral("方向"));
    PlacePicture(directionFirst_, "CONTROL_BLFXLStaPic",
                 [this] { Run([](LightingController& l) { l.PressDirectionPicture(true); }); });
    PlacePicture(directionSecond_, "CONTROL_BLFXRStaPic",
                 [this] { Run([](LightingController& l) { l.PressDirectionPicture(false); }); });
    directionSet_ = "CONTROL_BLFXStatic";

    const auto newColourButton = [this](std::string_view key) {
        auto* button = new CSkinColorButton(&dialog_);
        PlaceOnSkin(dialog_, *button, key);
        connect(button, &CSkinColorButton::ColorChosen, this, [this](const QColor& colour) {
            const Rgb rgb = ToRgb(colour);
            Run([rgb](LightingController& l) { l.ChooseEffectColour(rgb); });
        });
        controls_.emplace(std::string(key), button);
        return button;
    };
    const auto toggleMulticolour = [this] { Run([](LightingController& l) { l.ToggleMulticolour(); }); };
    NewLabel("CONTROL_HXysStatic", QStringLiteral("颜色"));
    breathingColour_ = newColourButton("CONTROL_HXysButton");
    NewLabel("CONTROL_HXsjsStatic", QStringLiteral("多彩"));
    PlacePicture(breathingMulticolour_, "CONTROL_HXsjsStaPic", toggleMulticolour);
    NewLabel("CONTROL_FYYSStatic", QStringLiteral("颜色"));
    reactiveColour_ = newColourButton("CONTROL_FYYSButton");
    NewLabel("CONTROL_FYSJSStatic", QStringLiteral("多彩"));
    PlacePicture(reactiveMulticolour_, "CONTROL_FYSJSStaPic", toggleMulticolour);

    for (int choice = 0; choice < 4; ++choice) {
        PlacePicture(colourPictures_[choice], kColourPictureKeys[static_cast<size_t>(choice)],
                     [this, choice] { Run([choice](LightingController& l) { l.ChooseColourPicture(choice); }); });
    }

    NewLabel("CONTROL_UsbStatic", QStringLiteral("报告率"), true);
    for (int index = 0; index < 4; ++index) {
        const std::string_view key = kImageKeys[static_cast<size_t>(index) + 1];
        auto* button = new CPngButton(&dialog_);
        button->setObjectName(QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())));
        dialog_.PlaceImageButton(*button, key, MainStateSetOf(key));
        // Only the rates the skin offers are shown.
        button->setVisible(button->isEnabled());
        connect(button, &CPngButton::clicked, this,
                [this, index] { Run([index](LightingController& l) { l.PressReportRate(index); }); });
        reportRates_.push_back(button);
        controls_.emplace(std::string(key), button);
    }
}

QComboBox& LightingPanel::Effects()
{
    if (effects_ != nullptr)
        return *effects_;
    effects_ = new PanelComboBox(&dialog_);
    effects_->setMaxVisibleItems(20);
    PlaceOnSkin(dialog_, *effects_, "CONTROL_XGcombox");
    // Shown by the next drawing that wants it.
    effects_->hide();
    connect(effects_, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index != shownEffectIndex_) {
            shownEffectIndex_ = index;
            Run([index](LightingController& l) { l.SelectEffect(index); });
        }
    });
    controls_.emplace("CONTROL_XGcombox", effects_);
    return *effects_;
}

UserModeGroup& LightingPanel::UserModes()
{
    if (userModes_ != nullptr)
        return *userModes_;
    userModes_ = new UserModeGroup(dialog_);
    connect(userModes_, &UserModeGroup::BrushColourChosen, this, [this](const QColor& colour) {
        const Rgb rgb = ToRgb(colour);
        Run([rgb](LightingController& l) { l.ChooseBrushColour(rgb); });
    });
    connect(userModes_, &UserModeGroup::BaseColourChosen, this, [this](const QColor& colour) {
        const Rgb rgb = ToRgb(colour);
        Run([rgb](LightingController& l) { l.ChooseBaseColour(rgb); });
    });
    connect(userModes_, &UserModeGroup::ToolChosen, this,
            [this](int tool) { Run([tool](LightingController& l) { l.SelectTool(tool); }); });
    connect(userModes_, &UserModeGroup::ModeChosen, this,
            [this](int mode) { Run([mode](LightingController& l) { l.SelectUserMode(mode); }); });
    connect(userModes_, &UserModeGroup::ModeRenamed, this, [this](const QString& name) {
        Run([name = name.toStdU16String()](LightingController& l) { l.RenameUserMode(name); });
    });
    if (labels_)
        userModes_->SetLabels(*labels_);
    return *userModes_;
}

void LightingPanel::AttachKeyPictures(const std::vector<KeyPicture>& keys)
{
    delete layer_;
    layer_ = new KeyColourLayer(dialog_, keys);
    ShowKeyColours();
}

QWidget* LightingPanel::Control(std::string_view skinKey)
{
    if (skinKey == "CONTROL_XGcombox")
        return &Effects();
    const auto found = controls_.find(skinKey);
    if (found != controls_.end())
        return found->second;
    return UserModeGroup::HasControl(skinKey) ? UserModes().Control(skinKey) : nullptr;
}

void LightingPanel::Run(Gesture gesture, Report report)
{
    jobs_.Run([this, gesture = std::move(gesture), report] {
        lighting_.TakeExchangeFailure();  // what failed before is not this gesture's doing
        gesture(lighting_);
        const int failed = lighting_.TakeExchangeFailure();
        if (failed != 1 && report == Report::Failure)
            QMetaObject::invokeMethod(this, [this, failed] { emit ChangeFailed(failed); }, Qt::QueuedConnection);
    });
}

bool LightingPanel::TakeKeyClick(int controlId)
{
    if (!shownView_ || !KeyboardViewModel::ClickPaintsInLightingView(controlId))
        return false;
    Run([controlId](LightingController& l) { l.ClickKeyPicture(controlId); });
    return true;
}

void LightingPanel::OnKeyboardLightingChanged() { rereadTimer_.start(); }

// -- drawing --

void LightingPanel::ShowPicture(PanelPicture* picture, const std::string& name)
{
    picture->SetPicture(QString::fromStdString(name), dialog_.Pictures().Picture(name));
}

void LightingPanel::Redraw()
{
    // The controller belongs to the running job until it is done; the Idle signal comes back.
    if (jobs_.Busy())
        return;
    const LightingPanelLook look = lighting_.Look();
    ShowPicture(lamp_, look.lampPicture);
    switch_->SetOn(look.lightingView);
    DrawEffects(look);
    DrawSliders(look);
    DrawDirection(look);
    DrawColours(look);
    if (userModes_ != nullptr || look.userModeGroupVisible)
        UserModes().Draw(look);
    DrawLabels(look);
    for (size_t i = 0; i < reportRates_.size(); ++i)
        reportRates_[i]->SetOn(static_cast<int>(i) == look.reportRate);
    ShowKeyColours();
    const bool changed = look.lightingView != shownView_;
    shownView_ = look.lightingView;
    UpdatePreviewTimer();
    if (changed)
        emit LightingViewChanged(shownView_);
}

void LightingPanel::DrawEffects(const LightingPanelLook& look)
{
    if (effects_ == nullptr && !look.comboVisible)
        return;
    Effects();
    const QSignalBlocker blocker(effects_);
    std::vector<int> ids;
    bool same = static_cast<int>(look.effects.size()) == effects_->count();
    for (size_t j = 0; j < look.effects.size(); ++j) {
        ids.push_back(look.effects[j].effectId);
        same = same && effects_->itemText(static_cast<int>(j)) == ToQString(look.effects[j].name);
    }
    if (!same || ids != shownEffectIds_) {
        effects_->clear();
        for (const EffectComboEntry& entry : look.effects)
            effects_->addItem(ToQString(entry.name));
        shownEffectIds_ = ids;
    }
    effects_->setCurrentIndex(look.selectedEffect);
    shownEffectIndex_ = look.selectedEffect;
    ShowIfPlaced(effects_, look.comboVisible);
}

void LightingPanel::DrawSliders(const LightingPanelLook& look)
{
    const auto draw = [this](CBitmapSlider* slider, std::string_view labelKey, const SliderLook& s, int& shown) {
        slider->SetPosition(s.position);
        slider->SetFace(dialog_.Pictures().Picture(s.face));
        shown = s.position;
        ShowIfPlaced(slider, s.visible);
        ShowIfPlaced(Control(labelKey), s.visible);
    };
    draw(brightness_, "CONTROL_LightStatic", look.brightness, shownBrightness_);
    draw(speed_, "CONTROL_SpeedStatic", look.speed, shownSpeed_);
}

void LightingPanel::DrawDirection(const LightingPanelLook& look)
{
    const DirectionLook& d = look.direction;
    if (d.labelSkinKey != directionSet_) {
        // Each effect family has its own place for the direction controls.
        PlaceOnSkin(dialog_, *directionLabel_, d.labelSkinKey);
        PlaceOnSkin(dialog_, *directionFirst_, d.firstSkinKey);
        PlaceOnSkin(dialog_, *directionSecond_, d.secondSkinKey);
        directionSet_ = d.labelSkinKey;
    }
    ShowPicture(directionFirst_, d.firstPicture);
    ShowPicture(directionSecond_, d.secondPicture);
    for (QWidget* widget : std::initializer_list<QWidget*>{directionLabel_, directionFirst_, directionSecond_})
        ShowIfPlaced(widget, d.visible);
}

void LightingPanel::DrawColours(const LightingPanelLook& look)
{
    for (CSkinColorButton* button : {breathingColour_, reactiveColour_})
        button->SetColor(ToQColor(look.effectColour));
    ShowPicture(breathingMulticolour_, look.breathingMulticolourPicture);
    ShowPicture(reactiveMulticolour_, look.reactiveMulticolourPicture);
    for (std::string_view key : {"CONTROL_HXysStatic", "CONTROL_HXysButton", "CONTROL_HXsjsStatic", "CONTROL_HXsjsStaPic"})
        ShowIfPlaced(Control(key), look.breathingGroupVisible);
    for (std::string_view key : {"CONTROL_FYYSStatic", "CONTROL_FYYSButton", "CONTROL_FYSJSStatic", "CONTROL_FYSJSStaPic"})
        ShowIfPlaced(Control(key), look.reactiveGroupVisible);
    for (size_t i = 0; i < kColourPictureKeys.size(); ++i) {
        ShowPicture(colourPictures_[i], look.colourPictures[i]);
        ShowIfPlaced(colourPictures_[i], look.colourPicturesVisible);
    }
}

void LightingPanel::DrawLabels(const LightingPanelLook& look)
{
    if (!look.labels)
        return;
    const LightingLabels& labels = *look.labels;
    const std::pair<std::string_view, const std::u16string*> texts[] = {
        {"CONTROL_DengStatic", &labels.deng},   {"CONTROL_UsbStatic", &labels.usb},
        {"CONTROL_LightStatic", &labels.light}, {"CONTROL_SpeedStatic", &labels.speed},
        {"CONTROL_HXysStatic", &labels.color},  {"CONTROL_FYYSStatic", &labels.color},
        {"CONTROL_HXsjsStatic", &labels.dc},    {"CONTROL_FYSJSStatic", &labels.dc},
    };
    for (const auto& [key, text] : texts)
        static_cast<QLabel*>(Control(key))->setText(ToQString(*text));
    directionLabel_->setText(ToQString(labels.fx));
    labels_ = labels;
    if (userModes_ != nullptr)
        userModes_->SetLabels(labels);
}

// -- the lighting on the key pictures --

void LightingPanel::ShowKeyColours()
{
    if (layer_ != nullptr)
        layer_->ShowFrame([this](int controlId) { return lighting_.KeyPictureColour(controlId); });
}

void LightingPanel::UpdatePreviewTimer()
{
    // A hidden or minimised window, or the function view, runs no timer at all.
    const bool run = shownView_ && dialog_.isVisible() && !dialog_.isMinimized();
    if (run && !previewTimer_.isActive())
        previewTimer_.start();
    else if (!run)
        previewTimer_.stop();
}

void LightingPanel::PreviewTick()
{
    if (jobs_.Busy())
        return;
    lighting_.PreviewTick();
    ShowKeyColours();
}

bool LightingPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &dialog_) {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::WindowStateChange:
            // Decided once the window has taken its new state.
            QMetaObject::invokeMethod(this, &LightingPanel::UpdatePreviewTimer, Qt::QueuedConnection);
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kovantis::ui
