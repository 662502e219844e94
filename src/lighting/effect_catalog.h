#pragma once
// What each effect number means to the program: what selecting it writes, which panel
// controls it shows and how its preview looks on the key pictures.

#include <cstdint>

namespace kovantis {

inline constexpr int kPerKeyEffect = 20;

enum class EffectWrites : uint8_t {
    Nothing,          // an effect the program does not know: only recorded
    Id,               // byte 0
    IdAndMulticolour, // byte 0, then byte 4
};

// The three position sets (and picture pairs) of the direction pictures.
enum class DirectionSet : uint8_t {
    Base,  // skin keys without suffix: every effect but 1, 2, 3 and 12
    Wave,  // skin keys with suffix 2: effects 1, 2, 3
    Rows,  // skin keys with suffix 3: effect 12
};

enum class DirectionPictures : uint8_t { LeftRight, UpDown, SpreadConverge };

// Controls shown besides brightness (and the combo box).
struct EffectControls {
    bool brightness = false;
    bool speed = false;
    bool direction = false;
    bool breathingGroup = false;
    bool reactiveGroup = false;
    bool colourPictures = false;
    bool userModeGroup = false;
};

enum class PreviewKind : uint8_t {
    None,           // key pictures show their captions
    ColumnWave,     // effects 1, 2
    KeyOrderWave,   // effect 3
    Uniform,        // effect 4
    Breathing,      // effect 5
    Static,         // effect 6
    Sparkle,        // effect 10
    KeyWheel,       // effect 11
    RowBands,       // effect 12
    Ripple,         // effects 13, 16
    DemoRipple,     // effect 14
    RowRipple,      // effect 15
    Groups,         // effect 18
    PerKey,         // effect 20: the per-key colours, not a preview
};

struct EffectInfo {
    bool known = false;
    EffectWrites writes = EffectWrites::Nothing;
    EffectControls controls;
    PreviewKind preview = PreviewKind::None;
};

EffectInfo EffectInfoOf(int effectId);
DirectionSet DirectionSetOf(int effectId);
DirectionPictures DirectionPicturesOf(int effectId);

// English names used when the skin names none (command line, and languages without a section).
const char* BuiltInEffectName(int effectId);

} // namespace kovantis
