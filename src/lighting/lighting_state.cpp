#include "lighting/lighting_state.h"

namespace kovantis {

void LightingState::Decode(const ProfileBlock& block)
{
    effectId = block.EffectId();
    brightness = block.Brightness();
    speed = block.Speed();
    direction = block.Direction();
    effectColour = block.EffectColour();
    reportRate = block.ReportRate();
    colourChoice = block.ColourChoice();
    multicolour = block.Multicolour();
    breathingMulticolourPicture = multicolour;
    reactiveMulticolourPicture = multicolour;
    if (effectId == 7 && block.ReactiveMulticolour() <= 1) {
        reactiveMulticolourPicture = block.ReactiveMulticolour() == 1;
    }
}

} // namespace kovantis
