#pragma once
// Everything the lighting panel shows, as a plain value: the desktop program draws it after
// every operation of the lighting controller. Picture names are files of the skin folder.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "lighting/effect_catalog.h"
#include "lighting/effect_list.h"
#include "lighting/lighting_state.h"
#include "lighting/rgb.h"
#include "lighting/skin_texts.h"
#include "lighting/user_modes.h"

namespace kovantis {

struct EffectComboEntry {
    int effectId = 0;
    std::u16string name;
};

struct SliderLook {
    bool visible = false;
    int position = 0;
    std::string face;  // "0.bmp" .. "4.bmp" for brightness, "5.bmp" .. "8.bmp" for speed
};

struct DirectionLook {
    bool visible = false;
    // Skin keys (section BUTTONINFO) that place the label and the two pictures.
    std::string labelSkinKey;
    std::string firstSkinKey;
    std::string secondSkinKey;
    // Pictures of 1149 and 1150; the highlighted one shows its "down" image.
    std::string firstPicture;
    std::string secondPicture;
    bool firstHighlighted = false;
};

struct LightingPanelLook {
    bool lightingView = false;
    std::string lampPicture;  // "dengdown.bmp" with the view on, else "dengup.bmp"

    bool comboVisible = false;
    std::vector<EffectComboEntry> effects;
    int selectedEffect = -1;  // combo index, -1 for none

    SliderLook brightness;
    SliderLook speed;
    DirectionLook direction;

    bool breathingGroupVisible = false;
    bool reactiveGroupVisible = false;
    Rgb effectColour;  // both colour buttons
    std::string breathingMulticolourPicture;  // "sjsdown.bmp" on, "sjsup.bmp" off
    std::string reactiveMulticolourPicture;

    bool colourPicturesVisible = false;
    int colourChoice = 0;
    std::array<std::string, 4> colourPictures;  // red, yellow, green, blue; the chosen one "…ok"

    bool userModeGroupVisible = false;
    UserModeView userModes;
    std::array<std::string, 2> toolPictures;  // "user1…", "user2…"; the chosen tool "…down"

    int reportRate = 0;  // the checked report-rate button, 0..3

    // nullopt: the labels keep the captions they have.
    std::optional<LightingLabels> labels;
};

LightingPanelLook BuildLightingPanelLook(const LightingState& state, const EffectTable& effects,
                                         const LightingSkinTexts& skin, int language,
                                         const UserModeView& userModes);

} // namespace kovantis
