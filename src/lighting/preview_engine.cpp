#include "lighting/preview_engine.h"

#include <algorithm>
#include <cstdlib>

#include "lighting/effect_catalog.h"

namespace kovantis {

using namespace preview_tuning;

namespace {

// A few keys typed over and over by the demonstration ripple: K, O, V, A, N, T, I, S, Space.
constexpr int16_t kDemoKeys[] = {71, 51, 89, 64, 91, 47, 50, 65, 108};

uint32_t NextRandom(PreviewState& s)
{
    // xorshift32: cheap, and the same sequence for the same seed.
    uint32_t x = s.random;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    s.random = x;
    return x;
}

int RandomBelow(PreviewState& s, int n)
{
    return static_cast<int>(NextRandom(s) % static_cast<uint32_t>(n));
}

void Advance(PreviewState& s, int step)
{
    s.phase = ((s.phase + step) % kPhasePeriod + kPhasePeriod) % kPhasePeriod;
}

int DirectionSign(const LightingState& l)
{
    return l.direction == kDirectionFirst ? 1 : -1;
}

int ColumnOf(int key)
{
    return Tables().cellOf[static_cast<size_t>(key)] % kGridColumns;
}

int RowOf(int key)
{
    return Tables().cellOf[static_cast<size_t>(key)] / kGridColumns;
}

void Paint(PreviewFrame& f, int key, Rgb colour)
{
    f.colours[static_cast<size_t>(key)] = colour;
}

template <size_t N>
Rgb WaveColour(const LightingState& l, int wheelPosition, const std::array<uint8_t, N>& ramp, int rampPosition)
{
    return l.multicolour ? WheelAt(wheelPosition) : ScaleRgb(l.effectColour, PingPong(ramp, rampPosition));
}

void ColumnWave(const LightingState& l, PreviewState& s, PreviewFrame& f)
{
    const PreviewTables& t = Tables();
    const bool first = l.effectId == 1;
    const int wheelStep = first ? 9 : 5;
    const int rampStep = first ? 7 : 5;
    for (int16_t key : t.gridKeys) {
        const int c = ColumnOf(key);
        const Rgb colour = first ? WaveColour(l, s.phase + wheelStep * c, t.shortRamp, s.phase + rampStep * c)
                                 : WaveColour(l, s.phase + wheelStep * c, t.longRamp, s.phase + rampStep * c);
        Paint(f, key, colour);
    }
    Advance(s, kWaveStep * DirectionSign(l));
}

void KeyOrderWave(const LightingState& l, PreviewState& s, PreviewFrame& f)
{
    const PreviewTables& t = Tables();
    for (int i = 0; i < kKeyOrderSize; ++i) {
        Paint(f, t.keyOrder[static_cast<size_t>(i)], WaveColour(l, s.phase + 5 * i, t.longRamp, s.phase + 5 * i));
    }
    Advance(s, kWaveStep * DirectionSign(l));
}

void PaintAll(PreviewFrame& f, Rgb colour)
{
    for (int16_t key : Tables().gridKeys) {
        Paint(f, key, colour);
    }
}

void Uniform(PreviewState& s, PreviewFrame& f)
{
    PaintAll(f, WheelAt(s.phase));
    Advance(s, kUniformStep);
}

void Breathing(const LightingState& l, PreviewState& s, PreviewFrame& f)
{
    const Rgb hue = l.multicolour ? WheelAt(s.cycle * (kWheelSize / 6)) : l.effectColour;
    PaintAll(f, ScaleRgb(hue, PingPong(Tables().longRamp, s.phase)));
    const int before = s.phase % (2 * kLongRampSize);
    Advance(s, kBreathStep);
    if (s.phase % (2 * kLongRampSize) < before) {
        s.cycle = (s.cycle + 1) % 6;  // a new colour at each dark point
    }
}

void Static(const LightingState& l, PreviewFrame& f)
{
    for (int16_t key : Tables().gridKeys) {
        Paint(f, key, l.multicolour ? WheelAt(9 * ColumnOf(key)) : l.effectColour);
    }
}

void Sparkle(PreviewState& s, PreviewFrame& f)
{
    const PreviewTables& t = Tables();
    for (int16_t key : t.gridKeys) {
        uint8_t& level = s.keyLevel[static_cast<size_t>(key)];
        level = static_cast<uint8_t>(std::max(0, level - kSparkleFade));
    }
    for (int n = 0; n < kSparklesPerTick; ++n) {
        const int16_t key = t.gridKeys[static_cast<size_t>(RandomBelow(s, static_cast<int>(t.gridKeys.size())))];
        s.keyLevel[static_cast<size_t>(key)] = kShortRampSize - 1;
        s.keyHue[static_cast<size_t>(key)] = static_cast<int16_t>(RandomBelow(s, kWheelSize));
    }
    for (int16_t key : t.gridKeys) {
        const auto k = static_cast<size_t>(key);
        Paint(f, key, ScaleRgb(WheelAt(s.keyHue[k]), t.shortRamp[s.keyLevel[k]]));
    }
}

void KeyWheel(PreviewState& s, PreviewFrame& f)
{
    const PreviewTables& t = Tables();
    for (int i = 0; i < kKeyOrderSize; ++i) {
        Paint(f, t.keyOrder[static_cast<size_t>(i)], WheelAt(s.phase + 33 * i));
    }
    Advance(s, kKeyWheelStep);
}

void RowBands(const LightingState& l, PreviewState& s, PreviewFrame& f)
{
    for (int16_t key : Tables().gridKeys) {
        Paint(f, key, WheelAt(s.phase + 32 * RowOf(key)));
    }
    Advance(s, kRowBandStep * DirectionSign(l));
}

void Groups(const LightingState& l, PreviewState& s, PreviewFrame& f)
{
    const PreviewTables& t = Tables();
    for (int g = 0; g < kGroupCount; ++g) {
        const Rgb colour = WheelAt(s.phase + 21 * g);
        for (int16_t key : t.groups[static_cast<size_t>(g)]) {
            if (key != kNoKey) {
                Paint(f, key, colour);
            }
        }
    }
    // Spreading moves the colours outwards, towards the higher groups.
    Advance(s, -kGroupStep * DirectionSign(l));
}

// -- ripples --

void Drop(PreviewState& s, int key)
{
    Ripple* slot = &s.ripples[0];
    for (Ripple& r : s.ripples) {
        if (r.age < 0) {
            slot = &r;
            break;
        }
        if (r.age > slot->age) {
            slot = &r;  // all busy: the oldest makes room
        }
    }
    slot->column = static_cast<int8_t>(ColumnOf(key));
    slot->row = static_cast<int8_t>(RowOf(key));
    slot->age = 0;
    slot->hue = static_cast<int16_t>(RandomBelow(s, kWheelSize));
}

void Stamp(PreviewState& s, int column, int row, int level, int hue)
{
    if (column < 0 || column >= kGridColumns || row < 0 || row >= kGridRows) {
        return;
    }
    const auto cell = static_cast<size_t>(row * kGridColumns + column);
    if (level >= s.cellLevel[cell]) {
        s.cellLevel[cell] = static_cast<uint8_t>(level);
        s.cellHue[cell] = static_cast<int16_t>(hue);
    }
}

void StampFront(PreviewState& s, const Ripple& r, bool alongRowOnly)
{
    const int level = kRipplePeak - r.age * kRippleAttenuation;
    const int d = r.age;
    for (int dr = -d; dr <= d; ++dr) {
        if (alongRowOnly && dr != 0) {
            continue;
        }
        const int rest = d - std::abs(dr);
        Stamp(s, r.column - rest, r.row + dr, level, r.hue);
        if (rest != 0) {
            Stamp(s, r.column + rest, r.row + dr, level, r.hue);
        }
    }
}

void RippleStep(const LightingState& l, PreviewState& s, PreviewFrame& f, PreviewKind kind)
{
    const PreviewTables& t = Tables();
    for (uint8_t& level : s.cellLevel) {
        level = static_cast<uint8_t>(std::max(0, level - kRippleTrailFade));
    }
    for (Ripple& r : s.ripples) {
        if (r.age >= 0 && kRipplePeak - ++r.age * kRippleAttenuation <= 0) {
            r.age = -1;
        }
    }
    if (kind == PreviewKind::DemoRipple) {
        if (s.tick % kDemoInterval == 0) {
            constexpr auto kCount = sizeof(kDemoKeys) / sizeof(kDemoKeys[0]);
            Drop(s, kDemoKeys[(s.tick / kDemoInterval) % kCount]);
        }
    } else if (s.tick % kRippleInterval == 0) {
        Drop(s, t.gridKeys[static_cast<size_t>(RandomBelow(s, static_cast<int>(t.gridKeys.size())))]);
    }
    for (const Ripple& r : s.ripples) {
        if (r.age >= 0) {
            StampFront(s, r, kind == PreviewKind::RowRipple);
        }
    }
    for (int16_t key : t.gridKeys) {
        const auto cell = static_cast<size_t>(t.cellOf[static_cast<size_t>(key)]);
        const Rgb base = l.multicolour ? WheelAt(s.cellHue[cell]) : l.effectColour;
        Paint(f, key, ScaleRgb(base, t.shortRamp[s.cellLevel[cell]]));
    }
}

} // namespace

void PreviewState::Reset(int effect)
{
    const uint32_t keepSeed = seed;
    *this = PreviewState{};
    seed = keepSeed;
    effectId = effect;
    random = seed != 0 ? seed : 0x9E3779B9u;  // xorshift must not start at 0
}

void PreviewStep(const LightingState& lighting, PreviewState& state, PreviewFrame& frame)
{
    if (state.effectId != lighting.effectId) {
        state.Reset(lighting.effectId);
    }
    const PreviewKind kind = EffectInfoOf(lighting.effectId).preview;
    frame.content = kind == PreviewKind::None      ? KeyPictureContent::Captions
                    : kind == PreviewKind::PerKey ? KeyPictureContent::PerKeyColours
                                                  : KeyPictureContent::Colours;
    frame.colours.fill(kBlack);
    switch (kind) {
    case PreviewKind::None:
    case PreviewKind::PerKey: break;
    case PreviewKind::ColumnWave: ColumnWave(lighting, state, frame); break;
    case PreviewKind::KeyOrderWave: KeyOrderWave(lighting, state, frame); break;
    case PreviewKind::Uniform: Uniform(state, frame); break;
    case PreviewKind::Breathing: Breathing(lighting, state, frame); break;
    case PreviewKind::Static: Static(lighting, frame); break;
    case PreviewKind::Sparkle: Sparkle(state, frame); break;
    case PreviewKind::KeyWheel: KeyWheel(state, frame); break;
    case PreviewKind::RowBands: RowBands(lighting, state, frame); break;
    case PreviewKind::Ripple:
    case PreviewKind::DemoRipple:
    case PreviewKind::RowRipple: RippleStep(lighting, state, frame, kind); break;
    case PreviewKind::Groups: Groups(lighting, state, frame); break;
    }
    ++state.tick;
}

} // namespace kovantis
