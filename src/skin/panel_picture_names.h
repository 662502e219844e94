#pragma once
// The file names of the lighting panel's pictures, each with its plain and its lit (chosen,
// pressed, on) look. The panel's model picks from them, the window loads them and the skin
// generator draws them: one list for all three, so a renamed picture cannot go missing.

#include <array>
#include <string>
#include <string_view>

namespace kovantis {

struct PicturePair {
    std::string_view plain;
    std::string_view lit;

    std::string_view Of(bool isLit) const { return isLit ? lit : plain; }
};

// The lamp: the lighting view off and on.
inline constexpr PicturePair kLampPictures{"dengup.bmp", "dengdown.bmp"};
// The direction pairs; the chosen direction is lit.
inline constexpr PicturePair kLeftPictures{"leftup.bmp", "leftdown.bmp"};
inline constexpr PicturePair kRightPictures{"rightup.bmp", "rightdown.bmp"};
inline constexpr PicturePair kUpPictures{"upup.bmp", "updown.bmp"};
inline constexpr PicturePair kDownPictures{"downup.bmp", "downdown.bmp"};
inline constexpr PicturePair kSpreadPictures{"kuosan.bmp", "kuosandown.bmp"};
inline constexpr PicturePair kConvergePictures{"julong.bmp", "julongdown.bmp"};
// The multicolour toggle of the breathing and reactive effects.
inline constexpr PicturePair kMulticolourPictures{"sjsup.bmp", "sjsdown.bmp"};
// The four colour choices red, yellow, green, blue; the chosen one is lit.
inline constexpr std::array<PicturePair, 4> kColourChoicePictures{{
    {"hong.bmp", "hongok.bmp"}, {"huang.bmp", "huangok.bmp"}, {"lv.bmp", "lvok.bmp"}, {"lan.bmp", "lanok.bmp"}}};
// The user-mode tools brush and fill; the chosen one is lit.
inline constexpr std::array<PicturePair, 2> kToolPictures{{{"user1up.bmp", "user1down.bmp"}, {"user2up.bmp", "user2down.bmp"}}};

// Slider faces "0.bmp" to "25.bmp": brightness 0..4 shows faces 0..4, speed 0..3 faces 5..8.
inline constexpr int kSliderFaceCount = 26;
inline constexpr int kBrightnessFirstFace = 0;
inline constexpr int kSpeedFirstFace = 5;
inline std::string SliderFacePicture(int face) { return std::to_string(face) + ".bmp"; }

// Progress animation frames "jdt1.bmp" to "jdt10.bmp".
inline constexpr int kProgressFrameCount = 10;
inline std::string ProgressFramePicture(int frame) { return "jdt" + std::to_string(frame) + ".bmp"; }

} // namespace kovantis
