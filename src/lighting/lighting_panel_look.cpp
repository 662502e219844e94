#include "lighting/lighting_panel_look.h"

#include <algorithm>

#include "skin/panel_picture_names.h"

namespace kovantis {

namespace {

std::string Pick(const PicturePair& pair, bool lit)
{
    return std::string(pair.Of(lit));
}

SliderLook Slider(bool visible, int position, int maxPosition, int firstFace)
{
    const int p = std::clamp(position, 0, maxPosition);
    return SliderLook{visible, p, SliderFacePicture(firstFace + p)};
}

DirectionLook Direction(const LightingState& s, bool visible)
{
    DirectionLook d;
    d.visible = visible;
    const char* suffix = "";
    switch (DirectionSetOf(s.effectId)) {
    case DirectionSet::Base: suffix = ""; break;
    case DirectionSet::Wave: suffix = "2"; break;
    case DirectionSet::Rows: suffix = "3"; break;
    }
    d.labelSkinKey = std::string("CONTROL_BLFXStatic") + suffix;
    d.firstSkinKey = std::string("CONTROL_BLFXLStaPic") + suffix;
    d.secondSkinKey = std::string("CONTROL_BLFXRStaPic") + suffix;
    d.firstHighlighted = s.direction == kDirectionFirst;
    // The highlighted picture of the pair shows its lit look.
    const bool first = d.firstHighlighted;
    switch (DirectionPicturesOf(s.effectId)) {
    case DirectionPictures::LeftRight:
        d.firstPicture = Pick(kLeftPictures, first);
        d.secondPicture = Pick(kRightPictures, !first);
        break;
    case DirectionPictures::UpDown:
        d.firstPicture = Pick(kUpPictures, first);
        d.secondPicture = Pick(kDownPictures, !first);
        break;
    case DirectionPictures::SpreadConverge:
        d.firstPicture = Pick(kSpreadPictures, first);
        d.secondPicture = Pick(kConvergePictures, !first);
        break;
    }
    return d;
}

std::string MulticolourPicture(bool on)
{
    return Pick(kMulticolourPictures, on);
}

} // namespace

LightingPanelLook BuildLightingPanelLook(const LightingState& s, const EffectTable& effects,
                                         const LightingSkinTexts& skin, int language,
                                         const UserModeView& userModes)
{
    LightingPanelLook look;
    look.lightingView = s.lightingView;
    look.lampPicture = Pick(kLampPictures, s.lightingView);

    for (int j = 0; j < effects.size(); ++j) {
        const int id = effects.IdAt(j);
        look.effects.push_back({id, skin.EffectName(id, language)});
    }
    look.selectedEffect = effects.IndexOf(s.effectId);
    // The combo box stays while there is anything to choose, even for an effect the program
    // does not know: hiding it would leave no way back to a known one.
    look.comboVisible = s.lightingView && !effects.empty();

    // The effect's controls show only for an effect the combo box has selected.
    const EffectInfo info = EffectInfoOf(s.effectId);
    const bool shown = s.lightingView && look.selectedEffect >= 0 && info.known;
    const EffectControls c = shown ? info.controls : EffectControls{};

    look.brightness = Slider(c.brightness, s.brightness, kMaxBrightness, 0);
    look.speed = Slider(c.speed, kMaxSpeed - s.speed, kMaxSpeed, 5);
    look.direction = Direction(s, c.direction);

    look.breathingGroupVisible = c.breathingGroup;
    look.reactiveGroupVisible = c.reactiveGroup;
    look.effectColour = s.effectColour;
    look.breathingMulticolourPicture = MulticolourPicture(s.breathingMulticolourPicture);
    look.reactiveMulticolourPicture = MulticolourPicture(s.reactiveMulticolourPicture);

    look.colourPicturesVisible = c.colourPictures;
    look.colourChoice = s.colourChoice;
    for (size_t i = 0; i < kColourChoicePictures.size(); ++i)
        look.colourPictures[i] = Pick(kColourChoicePictures[i], static_cast<int>(i) == s.colourChoice);

    look.userModeGroupVisible = c.userModeGroup;
    look.userModes = userModes;
    look.toolPictures = {Pick(kToolPictures[0], userModes.settings.tool == 0),
                         Pick(kToolPictures[1], userModes.settings.tool == 1)};

    look.reportRate = std::clamp(s.reportRate, 0, kMaxReportRate);
    look.labels = skin.Labels(language);
    return look;
}

} // namespace kovantis
