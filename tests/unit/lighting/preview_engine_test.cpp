// The on-screen preview: the step sizes of each effect family, ripples and resets.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "lighting/preview_engine.h"

namespace kovantis {
namespace {

using namespace preview_tuning;

constexpr int kEsc = 0;     // column 0, row 0
constexpr int kBackquote = 21;  // column 0, row 1
constexpr int kOne = 22;    // column 1, row 1
constexpr int kTwo = 23;    // column 2

LightingState Effect(int id, bool multicolour = true, uint8_t direction = kDirectionFirst)
{
    LightingState s;
    s.effectId = id;
    s.multicolour = multicolour;
    s.direction = direction;
    s.effectColour = Rgb{200, 100, 50};
    return s;
}

struct Preview {
    PreviewState state;
    PreviewFrame frame;
    void Step(const LightingState& l) { PreviewStep(l, state, frame); }
    Rgb At(int key) const { return frame.colours[static_cast<size_t>(key)]; }
};

TEST(PreviewTables, AreSmoothMonotoneAndCoverTheBoard)
{
    const PreviewTables& t = Tables();
    EXPECT_EQ(t.wheel[0], (Rgb{255, 0, 0}));
    for (int i = 0; i < kWheelSize; ++i) {
        const Rgb a = t.wheel[static_cast<size_t>(i)];
        const Rgb b = t.wheel[static_cast<size_t>((i + 1) % kWheelSize)];
        EXPECT_LE(std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b), 16) << i;
    }
    EXPECT_TRUE(std::is_sorted(t.shortRamp.begin(), t.shortRamp.end()));
    EXPECT_TRUE(std::is_sorted(t.longRamp.begin(), t.longRamp.end()));
    EXPECT_EQ(t.shortRamp.front(), 0);
    EXPECT_EQ(t.shortRamp.back(), 255);
    EXPECT_EQ(t.longRamp.back(), 255);

    std::set<int> board(t.gridKeys.begin(), t.gridKeys.end());
    EXPECT_EQ(board.size(), 105u);
    EXPECT_TRUE(board.count(kFnMatrixIndex));
    EXPECT_FALSE(board.count(kGKeyMatrixIndex));
    for (int empty : {13, 17, 18, 19, 20, 75, 77, 78, 79, 83, 85, 96, 98, 100, 114, 118, 122}) {
        EXPECT_FALSE(board.count(empty)) << empty;
    }

    std::set<int> order(t.keyOrder.begin(), t.keyOrder.end());
    EXPECT_EQ(order.size(), 104u);
    EXPECT_FALSE(order.count(kFnMatrixIndex));

    std::set<int> grouped;
    for (const auto& group : t.groups) {
        int size = 0;
        for (int16_t key : group) {
            if (key != kNoKey) {
                EXPECT_TRUE(grouped.insert(key).second) << key;
                ++size;
            }
        }
        EXPECT_GT(size, 0);
    }
    EXPECT_EQ(grouped, board);
}

TEST(PreviewEngine, ColumnWavesStepTheWheelOrTheRampPerColumn)
{
    Preview wave;
    wave.Step(Effect(1));
    EXPECT_EQ(wave.At(kEsc), WheelAt(0));
    EXPECT_EQ(wave.At(kBackquote), WheelAt(0));  // same column, same colour
    EXPECT_EQ(wave.At(kOne), WheelAt(9));
    EXPECT_EQ(wave.At(kTwo), WheelAt(18));
    wave.Step(Effect(1));
    EXPECT_EQ(wave.At(kEsc), WheelAt(kWaveStep));
    EXPECT_EQ(wave.frame.content, KeyPictureContent::Colours);

    Preview back;
    back.Step(Effect(1, true, kDirectionSecond));
    back.Step(Effect(1, true, kDirectionSecond));
    EXPECT_EQ(back.At(kEsc), WheelAt(-kWaveStep));

    // One colour walks the brightness ramp instead: 7 steps per column for effect 1...
    Preview single;
    single.Step(Effect(1, false));
    const Rgb colour = Effect(1).effectColour;
    EXPECT_EQ(single.At(kEsc), ScaleRgb(colour, PingPong(Tables().shortRamp, 0)));
    EXPECT_EQ(single.At(kTwo), ScaleRgb(colour, PingPong(Tables().shortRamp, 14)));
    // ... and back down past its end rather than jumping to dark.
    EXPECT_EQ(PingPong(Tables().shortRamp, 96), Tables().shortRamp[95]);
    EXPECT_EQ(PingPong(Tables().shortRamp, 191), Tables().shortRamp[0]);

    // Effect 2: 5 wheel steps per column, the 128-step ramp for one colour.
    Preview second;
    second.Step(Effect(2));
    EXPECT_EQ(second.At(kTwo), WheelAt(10));
    Preview secondSingle;
    secondSingle.Step(Effect(2, false));
    EXPECT_EQ(secondSingle.At(kTwo), ScaleRgb(colour, PingPong(Tables().longRamp, 10)));
}

TEST(PreviewEngine, KeyOrderEffectsStepPerKey)
{
    const auto& order = Tables().keyOrder;
    Preview snake;
    snake.Step(Effect(3));
    EXPECT_EQ(snake.At(order[0]), WheelAt(0));
    EXPECT_EQ(snake.At(order[1]), WheelAt(5));
    EXPECT_EQ(snake.At(order[103]), WheelAt(5 * 103));
    EXPECT_EQ(snake.At(kFnMatrixIndex), kBlack);

    Preview keys;
    keys.Step(Effect(11));
    EXPECT_EQ(keys.At(order[1]), WheelAt(33));
    EXPECT_EQ(keys.At(order[2]), WheelAt(66));
    keys.Step(Effect(11));
    EXPECT_EQ(keys.At(order[0]), WheelAt(3));
    EXPECT_EQ(keys.At(order[1]), WheelAt(36));
}

TEST(PreviewEngine, WholeBoardEffectsShareOneColour)
{
    Preview cycle;
    for (int tick = 0; tick < 4; ++tick) {
        cycle.Step(Effect(4));
        EXPECT_EQ(cycle.At(kEsc), WheelAt(2 * tick));
        EXPECT_EQ(cycle.At(124), WheelAt(2 * tick));
    }

    Preview breath;
    const LightingState single = Effect(5, false);
    for (int tick = 0; tick < 200; ++tick) {
        breath.Step(single);
        const Rgb expected = ScaleRgb(single.effectColour, PingPong(Tables().longRamp, 2 * tick));
        ASSERT_EQ(breath.At(kEsc), expected) << tick;
        ASSERT_EQ(breath.At(kFnMatrixIndex), expected) << tick;
    }
    // Multicolour breathing takes a new colour at each dark point.
    Preview rainbow;
    rainbow.Step(Effect(5));
    const Rgb firstHue = WheelAt(0);
    for (int tick = 1; tick < 129; ++tick) {
        rainbow.Step(Effect(5));
    }
    EXPECT_EQ(rainbow.state.cycle, 1);
    rainbow.Step(Effect(5));
    EXPECT_EQ(rainbow.At(kEsc), ScaleRgb(WheelAt(32), PingPong(Tables().longRamp, 2)));
    EXPECT_NE(WheelAt(32), firstHue);

    Preview still;
    still.Step(Effect(6, false));
    EXPECT_EQ(still.At(kTwo), Effect(6).effectColour);
    Preview gradient;
    gradient.Step(Effect(6));
    EXPECT_EQ(gradient.At(kTwo), WheelAt(18));
    gradient.Step(Effect(6));
    EXPECT_EQ(gradient.At(kTwo), WheelAt(18));  // static: no phase
}

TEST(PreviewEngine, RowsAndGroupsMoveWithTheDirection)
{
    Preview up;
    up.Step(Effect(12));
    EXPECT_EQ(up.At(kEsc), WheelAt(0));
    EXPECT_EQ(up.At(kBackquote), WheelAt(32));
    EXPECT_EQ(up.At(105), WheelAt(160));
    up.Step(Effect(12));
    EXPECT_EQ(up.At(kEsc), WheelAt(3));
    Preview down;
    down.Step(Effect(12, true, kDirectionSecond));
    down.Step(Effect(12, true, kDirectionSecond));
    EXPECT_EQ(down.At(kEsc), WheelAt(-3));

    const auto& groups = Tables().groups;
    Preview spread;
    spread.Step(Effect(18));
    EXPECT_EQ(spread.At(groups[0][0]), WheelAt(0));
    EXPECT_EQ(spread.At(groups[1][0]), WheelAt(21));
    EXPECT_EQ(spread.At(groups[11][0]), WheelAt(231));
    spread.Step(Effect(18));
    EXPECT_EQ(spread.At(groups[1][0]), WheelAt(19));
    Preview converge;
    converge.Step(Effect(18, true, kDirectionSecond));
    converge.Step(Effect(18, true, kDirectionSecond));
    EXPECT_EQ(converge.At(groups[1][0]), WheelAt(23));
}

int Level(const PreviewState& s, int column, int row)
{
    return s.cellLevel[static_cast<size_t>(row * kGridColumns + column)];
}

TEST(PreviewEngine, RipplesSpreadOneCellPerTickAndFade)
{
    Preview ripple;
    ripple.state.seed = 1234;
    ripple.Step(Effect(13, false));
    // One drop at full strength.
    const auto peak = std::max_element(ripple.state.cellLevel.begin(), ripple.state.cellLevel.end());
    ASSERT_EQ(*peak, kRipplePeak);
    ASSERT_EQ(std::count(ripple.state.cellLevel.begin(), ripple.state.cellLevel.end(), kRipplePeak), 1);
    const int cell = static_cast<int>(peak - ripple.state.cellLevel.begin());
    const int c0 = cell % kGridColumns;
    const int r0 = cell / kGridColumns;

    int previousOrigin = kRipplePeak;
    for (int tick = 1; tick < kRippleInterval; ++tick) {
        ripple.Step(Effect(13, false));
        for (int r = 0; r < kGridRows; ++r) {
            for (int c = 0; c < kGridColumns; ++c) {
                const int distance = std::abs(c - c0) + std::abs(r - r0);
                if (distance == tick) {
                    EXPECT_EQ(Level(ripple.state, c, r), kRipplePeak - tick * kRippleAttenuation) << tick;
                } else if (distance > tick) {
                    EXPECT_EQ(Level(ripple.state, c, r), 0) << tick;
                } else {
                    EXPECT_LT(Level(ripple.state, c, r), kRipplePeak - tick * kRippleAttenuation) << tick;
                }
            }
        }
        if (previousOrigin > 0) {
            EXPECT_LT(Level(ripple.state, c0, r0), previousOrigin);
        }
        previousOrigin = Level(ripple.state, c0, r0);
    }
    // The key pictures show the ripple in the effect colour, scaled by the ramp.
    const int key = Tables().grid[static_cast<size_t>(r0)][static_cast<size_t>(c0)];
    ASSERT_NE(key, kNoKey);
    EXPECT_EQ(ripple.At(key), ScaleRgb(Effect(13).effectColour, Tables().shortRamp[static_cast<size_t>(Level(ripple.state, c0, r0))]));

    // Along the rows only, for effect 15.
    Preview row;
    row.Step(Effect(15));
    row.Step(Effect(15));
    row.Step(Effect(15));
    int litOutside = 0;
    int litInside = 0;
    for (size_t i = 0; i < row.state.cellLevel.size(); ++i) {
        if (row.state.cellLevel[i] != 0) {
            (static_cast<int>(i) / kGridColumns == row.state.ripples[0].row ? litInside : litOutside)++;
        }
    }
    EXPECT_EQ(litOutside, 0);
    EXPECT_GT(litInside, 1);

    // The demonstration drops at fixed keys, whatever the seed: K first.
    Preview demo;
    demo.state.seed = 99;
    demo.Step(Effect(14));
    const int k = Tables().cellOf[71];
    EXPECT_EQ(demo.state.cellLevel[static_cast<size_t>(k)], kRipplePeak);
}

TEST(PreviewEngine, SparkleLightsThreeKeysPerTickFromTheSeed)
{
    Preview a;
    Preview b;
    Preview c;
    a.state.seed = b.state.seed = 7;
    c.state.seed = 8;
    a.Step(Effect(10));
    b.Step(Effect(10));
    c.Step(Effect(10));
    int lit = 0;
    for (int16_t key : Tables().gridKeys) {
        const Rgb colour = a.At(key);
        if (colour != kBlack) {
            ++lit;
            EXPECT_EQ(std::max({colour.r, colour.g, colour.b}), 255);  // full brightness
        }
    }
    EXPECT_GE(lit, 1);
    EXPECT_LE(lit, kSparklesPerTick);
    EXPECT_EQ(a.frame.colours, b.frame.colours);
    EXPECT_NE(a.frame.colours, c.frame.colours);
    for (int tick = 0; tick < 20; ++tick) {
        a.Step(Effect(10));
        b.Step(Effect(10));
    }
    EXPECT_EQ(a.frame.colours, b.frame.colours);
}

TEST(PreviewEngine, ChangingTheEffectStartsAfresh)
{
    Preview run;
    for (int tick = 0; tick < 5; ++tick) {
        run.Step(Effect(4));
    }
    EXPECT_EQ(run.state.phase, 10);
    run.Step(Effect(12));
    EXPECT_EQ(run.At(kEsc), WheelAt(0));
    EXPECT_EQ(run.state.tick, 1u);
    EXPECT_EQ(run.state.effectId, 12);

    // Forcing a reset for the same effect (the program does it on every selection).
    run.state.effectId = -1;
    run.Step(Effect(12));
    EXPECT_EQ(run.At(kEsc), WheelAt(0));

    run.Step(Effect(7));
    EXPECT_EQ(run.frame.content, KeyPictureContent::Captions);
    run.Step(Effect(20));
    EXPECT_EQ(run.frame.content, KeyPictureContent::PerKeyColours);
    run.Step(Effect(19));
    EXPECT_EQ(run.frame.content, KeyPictureContent::Captions);
}

} // namespace
} // namespace kovantis
