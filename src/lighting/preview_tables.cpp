#include "lighting/preview_tables.h"

#include <algorithm>
#include <cmath>

namespace kovantis {

namespace {

// (matrix index, grid column) per row of the board.
struct Placement {
    int16_t matrixIndex;
    int8_t column;
};

constexpr Placement kRow0[] = {{0, 0},   {1, 2},   {2, 3},   {3, 4},   {4, 5},   {5, 7},
                               {6, 8},   {7, 9},   {8, 10},  {9, 11},  {10, 12}, {11, 13},
                               {12, 14}, {14, 15}, {15, 16}, {16, 17}};
constexpr Placement kRow1[] = {{21, 0},  {22, 1},  {23, 2},  {24, 3},  {25, 4},  {26, 5},  {27, 6},
                               {28, 7},  {29, 8},  {30, 9},  {31, 10}, {32, 11}, {33, 12}, {34, 13},
                               {35, 15}, {36, 16}, {37, 17}, {38, 19}, {39, 20}, {40, 21}, {41, 22}};
constexpr Placement kRow2[] = {{42, 0},  {43, 1},  {44, 2},  {45, 3},  {46, 4},  {47, 5},  {48, 6},
                               {49, 7},  {50, 8},  {51, 9},  {52, 10}, {53, 11}, {54, 12}, {55, 13},
                               {56, 15}, {57, 16}, {58, 17}, {59, 19}, {60, 20}, {61, 21}, {62, 22}};
constexpr Placement kRow3[] = {{63, 0}, {64, 1}, {65, 2},  {66, 3},  {67, 4},  {68, 5},
                               {69, 6}, {70, 7}, {71, 8},  {72, 9},  {73, 10}, {74, 11},
                               {76, 12}, {80, 19}, {81, 20}, {82, 21}};
constexpr Placement kRow4[] = {{84, 0},  {86, 2},  {87, 3},   {88, 4},   {89, 5},   {90, 6},
                               {91, 7},  {92, 8},  {93, 9},   {94, 10},  {95, 11},  {97, 12},
                               {99, 16}, {101, 19}, {102, 20}, {103, 21}, {104, 22}};
constexpr Placement kRow5[] = {{105, 0},  {106, 1},  {107, 2},  {108, 6},  {109, 10},
                               {110, 11}, {111, 12}, {112, 13}, {113, 14}, {119, 15},
                               {120, 16}, {121, 17}, {123, 19}, {124, 21}};

template <size_t N>
void PlaceRow(PreviewTables& t, int row, const Placement (&keys)[N])
{
    for (const Placement& k : keys) {
        t.grid[static_cast<size_t>(row)][static_cast<size_t>(k.column)] = k.matrixIndex;
    }
}

template <size_t N>
void FillRamp(std::array<uint8_t, N>& ramp)
{
    // Quadratic, so that equal steps look about equally bright.
    for (size_t i = 0; i < N; ++i) {
        const double x = static_cast<double>(i) / static_cast<double>(N - 1);
        ramp[i] = static_cast<uint8_t>(std::lround(255.0 * x * x));
    }
}

void FillWheel(PreviewTables& t)
{
    constexpr int kSegment = kWheelSize / 6;
    for (int i = 0; i < kWheelSize; ++i) {
        const int rise = (i % kSegment) * 255 / kSegment;
        const auto up = static_cast<uint8_t>(rise);
        const auto down = static_cast<uint8_t>(255 - rise);
        Rgb c;
        switch (i / kSegment) {
        case 0: c = {255, up, 0}; break;
        case 1: c = {down, 255, 0}; break;
        case 2: c = {0, 255, up}; break;
        case 3: c = {0, down, 255}; break;
        case 4: c = {up, 0, 255}; break;
        default: c = {255, 0, down}; break;
        }
        t.wheel[static_cast<size_t>(i)] = c;
    }
}

void FillGrid(PreviewTables& t)
{
    for (auto& row : t.grid) {
        row.fill(kNoKey);
    }
    PlaceRow(t, 0, kRow0);
    PlaceRow(t, 1, kRow1);
    PlaceRow(t, 2, kRow2);
    PlaceRow(t, 3, kRow3);
    PlaceRow(t, 4, kRow4);
    PlaceRow(t, 5, kRow5);
    t.cellOf.fill(-1);
    size_t n = 0;
    for (int r = 0; r < kGridRows; ++r) {
        for (int c = 0; c < kGridColumns; ++c) {
            const int16_t key = t.grid[static_cast<size_t>(r)][static_cast<size_t>(c)];
            if (key != kNoKey) {
                t.cellOf[static_cast<size_t>(key)] = static_cast<int16_t>(r * kGridColumns + c);
                t.gridKeys[n++] = key;
            }
        }
    }
}

void FillKeyOrder(PreviewTables& t)
{
    size_t n = 0;
    for (int r = 0; r < kGridRows; ++r) {
        for (int i = 0; i < kGridColumns; ++i) {
            const int c = r % 2 == 0 ? i : kGridColumns - 1 - i;
            const int16_t key = t.grid[static_cast<size_t>(r)][static_cast<size_t>(c)];
            if (key != kNoKey && key != kFnMatrixIndex) {
                t.keyOrder[n++] = key;
            }
        }
    }
}

void FillGroups(PreviewTables& t)
{
    struct Ranked {
        double distance;
        int16_t key;
    };
    std::array<Ranked, kKeyOrderSize + 1> ranked{};
    for (size_t i = 0; i < t.gridKeys.size(); ++i) {
        const int cell = t.cellOf[static_cast<size_t>(t.gridKeys[i])];
        const double dc = cell % kGridColumns - 11.0;
        const double dr = (cell / kGridColumns - 2.5) * 2.0;
        ranked[i] = {std::sqrt(dc * dc + dr * dr), t.gridKeys[i]};
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const Ranked& a, const Ranked& b) { return a.distance < b.distance; });
    for (auto& group : t.groups) {
        group.fill(kNoKey);
    }
    std::array<size_t, kGroupCount> used{};
    for (size_t rank = 0; rank < ranked.size(); ++rank) {
        const size_t g = rank * kGroupCount / ranked.size();
        t.groups[g][used[g]++] = ranked[rank].key;
    }
}

PreviewTables Build()
{
    PreviewTables t{};
    FillWheel(t);
    FillRamp(t.shortRamp);
    FillRamp(t.longRamp);
    FillGrid(t);
    FillKeyOrder(t);
    FillGroups(t);
    return t;
}

} // namespace

const PreviewTables& Tables()
{
    static const PreviewTables tables = Build();
    return tables;
}

} // namespace kovantis
