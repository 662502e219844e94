#include "lighting/effect_catalog.h"

#include <array>
#include <cstddef>

namespace kovantis {

namespace {

struct Row {
    EffectWrites writes;
    bool speed, direction, breathing, reactive, pictures, userModes;
    PreviewKind preview;
    const char* name;
};

constexpr EffectWrites kId = EffectWrites::Id;
constexpr EffectWrites kIdMc = EffectWrites::IdAndMulticolour;

// Index = effect id; entry 0 and 19 are unknown.
constexpr std::array<Row, 21> kRows = {{
    {EffectWrites::Nothing, false, false, false, false, false, false, PreviewKind::None, nullptr},
    {kIdMc, true, true, true, false, false, false, PreviewKind::ColumnWave, "Wave"},
    {kIdMc, true, true, true, false, false, false, PreviewKind::ColumnWave, "Flowing wave"},
    {kIdMc, true, true, true, false, false, false, PreviewKind::KeyOrderWave, "Snake"},
    {kId, true, false, false, false, false, false, PreviewKind::Uniform, "Colour cycle"},
    {kIdMc, true, false, true, false, false, false, PreviewKind::Breathing, "Breathing"},
    {kId, false, false, false, true, false, false, PreviewKind::Static, "Static"},
    {kIdMc, true, false, true, false, false, false, PreviewKind::None, "Reactive"},
    {kIdMc, true, false, true, false, false, false, PreviewKind::None, "Reactive fade"},
    {kIdMc, true, false, true, false, false, false, PreviewKind::None, "Reactive cross"},
    {kId, true, false, false, false, false, false, PreviewKind::Sparkle, "Sparkle"},
    {kId, true, false, false, false, false, false, PreviewKind::KeyWheel, "Rainbow keys"},
    {kId, true, true, false, false, false, false, PreviewKind::RowBands, "Rainbow rows"},
    {kIdMc, true, false, true, false, false, false, PreviewKind::Ripple, "Ripple"},
    {kIdMc, true, false, true, false, false, false, PreviewKind::DemoRipple, "Raindrops"},
    {kIdMc, true, false, true, false, false, false, PreviewKind::RowRipple, "Row ripple"},
    {kId, false, false, false, true, false, false, PreviewKind::Ripple, "Splash"},
    {kId, false, false, false, false, true, false, PreviewKind::None, "Four colours"},
    {kId, false, true, false, false, false, false, PreviewKind::Groups, "Spread"},
    {EffectWrites::Nothing, false, false, false, false, false, false, PreviewKind::None, nullptr},
    {kId, false, false, false, false, false, true, PreviewKind::PerKey, "Custom"},
}};

const Row* RowOf(int effectId)
{
    if (effectId < 0 || effectId >= static_cast<int>(kRows.size())) {
        return nullptr;
    }
    const Row& row = kRows[static_cast<size_t>(effectId)];
    return row.name != nullptr ? &row : nullptr;
}

} // namespace

EffectInfo EffectInfoOf(int effectId)
{
    EffectInfo info;
    const Row* row = RowOf(effectId);
    if (row == nullptr) {
        return info;
    }
    info.known = true;
    info.writes = row->writes;
    info.controls = EffectControls{true,           row->speed,    row->direction, row->breathing,
                                   row->reactive,  row->pictures, row->userModes};
    info.preview = row->preview;
    return info;
}

DirectionSet DirectionSetOf(int effectId)
{
    if (effectId >= 1 && effectId <= 3) {
        return DirectionSet::Wave;
    }
    return effectId == 12 ? DirectionSet::Rows : DirectionSet::Base;
}

DirectionPictures DirectionPicturesOf(int effectId)
{
    if (effectId == 12) {
        return DirectionPictures::UpDown;
    }
    return effectId == 18 ? DirectionPictures::SpreadConverge : DirectionPictures::LeftRight;
}

const char* BuiltInEffectName(int effectId)
{
    const Row* row = RowOf(effectId);
    return row != nullptr ? row->name : "Unknown";
}

} // namespace kovantis
