#pragma once
// The on-screen emulation of the keyboard's lighting effects. One step per 50 ms tick turns the
// effect, the lighting state and the preview's own state into a colour per key. Steps are
// deterministic for a given seed and allocate nothing.

#include <array>
#include <cstdint>

#include "lighting/lighting_state.h"
#include "lighting/preview_tables.h"
#include "lighting/rgb.h"

namespace kovantis {

inline constexpr int kMaxRipples = 8;

struct Ripple {
    int8_t column = 0;
    int8_t row = 0;
    int16_t age = -1;  // -1: slot free
    int16_t hue = 0;
};

struct PreviewState {
    // The effect the state belongs to; a step for another effect starts afresh. -1 forces it.
    int effectId = -1;
    // Where the random parts (sparkle, ripples) start; the program takes it from the clock.
    uint32_t seed = 1;
    uint32_t random = 1;
    uint32_t tick = 0;
    int phase = 0;  // 0..767, a whole number of periods of both the wheel and the ramps
    int cycle = 0;  // completed breaths
    std::array<uint8_t, kMatrixSize> keyLevel{};  // sparkle
    std::array<int16_t, kMatrixSize> keyHue{};
    std::array<uint8_t, kGridRows * kGridColumns> cellLevel{};  // ripples
    std::array<int16_t, kGridRows * kGridColumns> cellHue{};
    std::array<Ripple, kMaxRipples> ripples{};

    void Reset(int effect);
};

enum class KeyPictureContent : uint8_t {
    Captions,       // no preview: the pictures show what the keys do
    Colours,        // the colours of the frame
    PerKeyColours,  // effect 20: the per-key colours of the current user mode
};

struct PreviewFrame {
    KeyPictureContent content = KeyPictureContent::Captions;
    // By matrix index; only the keys of the grid are lit.
    std::array<Rgb, kMatrixSize> colours{};
};

// One preview tick for the lighting's effect.
void PreviewStep(const LightingState& lighting, PreviewState& state, PreviewFrame& frame);

// Tuning of the moving parts, shared with the tests.
namespace preview_tuning {
inline constexpr int kPhasePeriod = 768;
inline constexpr int kWaveStep = 2;      // effects 1..3
inline constexpr int kUniformStep = 2;   // effect 4
inline constexpr int kBreathStep = 2;    // effect 5
inline constexpr int kKeyWheelStep = 3;  // effect 11
inline constexpr int kRowBandStep = 3;   // effect 12
inline constexpr int kGroupStep = 2;     // effect 18
inline constexpr int kSparklesPerTick = 3;
inline constexpr int kSparkleFade = 6;
inline constexpr int kRipplePeak = kShortRampSize - 1;
inline constexpr int kRippleAttenuation = 8;  // per cell travelled
inline constexpr int kRippleTrailFade = 24;   // per tick, for cells the front has passed
inline constexpr int kRippleInterval = 8;     // ticks between random drops
inline constexpr int kDemoInterval = 6;       // ticks between demonstration drops
} // namespace preview_tuning

} // namespace kovantis
