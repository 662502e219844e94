#include "lighting/lighting_panel_look.h"

#include <algorithm>

namespace kovantis {

namespace {

std::string Bitmap(const std::string& name)
{
    return name + ".bmp";
}

SliderLook Slider(bool visible, int position, int maxPosition, int firstFace)
{
    const int p = std::clamp(position, 0, maxPosition);
    return SliderLook{visible, p, std::to_string(firstFace + p) + ".bmp"};
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
    // Plain and highlighted image of each picture of the pair.
    const auto pick = [](bool highlighted, const char* plain, const char* lit) {
        return Bitmap(highlighted ? lit : plain);
    };
    const bool first = d.firstHighlighted;
    switch (DirectionPicturesOf(s.effectId)) {
    case DirectionPictures::LeftRight:
        d.firstPicture = pick(first, "leftup", "leftdown");
        d.secondPicture = pick(!first, "rightup", "rightdown");
        break;
    case DirectionPictures::UpDown:
        d.firstPicture = pick(first, "upup", "updown");
        d.secondPicture = pick(!first, "downup", "downdown");
        break;
    case DirectionPictures::SpreadConverge:
        d.firstPicture = pick(first, "kuosan", "kuosandown");
        d.secondPicture = pick(!first, "julong", "julongdown");
        break;
    }
    return d;
}

std::string MulticolourPicture(bool on)
{
    return Bitmap(on ? "sjsdown" : "sjsup");
}

} // namespace

LightingPanelLook BuildLightingPanelLook(const LightingState& s, const EffectTable& effects,
                                         const LightingSkinTexts& skin, int language,
                                         const UserModeView& userModes)
{
    LightingPanelLook look;
    look.lightingView = s.lightingView;
    look.lampPicture = Bitmap(s.lightingView ? "dengdown" : "dengup");

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
    constexpr std::array<const char*, 4> kColourNames = {"hong", "huang", "lv", "lan"};
    for (size_t i = 0; i < kColourNames.size(); ++i) {
        const bool chosen = static_cast<int>(i) == s.colourChoice;
        look.colourPictures[i] = Bitmap(std::string(kColourNames[i]) + (chosen ? "ok" : ""));
    }

    look.userModeGroupVisible = c.userModeGroup;
    look.userModes = userModes;
    look.toolPictures = {Bitmap(userModes.settings.tool == 0 ? "user1down" : "user1up"),
                         Bitmap(userModes.settings.tool == 1 ? "user2down" : "user2up")};

    look.reportRate = std::clamp(s.reportRate, 0, kMaxReportRate);
    look.labels = skin.Labels(language);
    return look;
}

} // namespace kovantis
