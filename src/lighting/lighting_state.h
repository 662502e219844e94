#pragma once
// The program's mirror of the current profile's lighting block, with the panel state that is
// not in the keyboard (the lighting view).

#include <cstdint>

#include "lighting/profile_block.h"
#include "lighting/rgb.h"

namespace kovantis {

struct LightingState {
    int profile = 0;            // current profile index 0..2
    int effectId = 0;
    int brightness = 0;         // 0..4
    int speed = 0;              // the keyboard's value 0..3, never the slider position
    uint8_t direction = kDirectionSecond;
    bool multicolour = false;
    // The two multicolour pictures normally show the flag; the reactive one may differ after a
    // read-back of effect 7, whose byte 18 sets it.
    bool breathingMulticolourPicture = false;
    bool reactiveMulticolourPicture = false;
    int colourChoice = 0;       // effect 17: 0 red, 1 yellow, 2 green, 3 blue
    int reportRate = 0;         // 0..3
    Rgb effectColour = kRed;
    bool lightingView = false;

    // Takes the fields of a block read back from the keyboard.
    void Decode(const ProfileBlock& block);
};

} // namespace kovantis
