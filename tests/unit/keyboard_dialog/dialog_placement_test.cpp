// Placing the key assignment dialog beside the clicked key, at every edge of the screen.

#include <gtest/gtest.h>

#include "keyboard/dialog_placement.h"

namespace kovantis {
namespace {

constexpr ScreenRect kScreen{0, 0, 1920, 1080};
constexpr DialogSize kDialog{480, 468};

ScreenRect KeyAt(int left, int top) { return {left, top, left + 40, top + 40}; }

TEST(DialogPlacement, PrefersBelowRightThenAboveRightThenTheLeftSide)
{
    // Room everywhere: below right, touching the key's bottom-right corner.
    EXPECT_EQ(PlaceBesideKey(KeyAt(600, 300), kDialog, kScreen), (ScreenPoint{640, 340}));
    // Bottom edge: no room below, room above and right.
    EXPECT_EQ(PlaceBesideKey(KeyAt(600, 900), kDialog, kScreen), (ScreenPoint{640, 900 - 468}));
    // Right edge: no room right, room below on the left.
    EXPECT_EQ(PlaceBesideKey(KeyAt(1700, 300), kDialog, kScreen), (ScreenPoint{1700 - 480, 340}));
    // Bottom-right corner: above left.
    EXPECT_EQ(PlaceBesideKey(KeyAt(1700, 900), kDialog, kScreen), (ScreenPoint{1220, 432}));
    // Exactly fitting counts as fitting.
    EXPECT_EQ(PlaceBesideKey(ScreenRect{1400, 572, 1440, 612}, kDialog, kScreen), (ScreenPoint{1440, 612}));
}

TEST(DialogPlacement, StaysOnTheScreenWhereNoSideHasRoom)
{
    // A short screen: neither above nor below has room; the dialog is pulled up inside.
    const ScreenRect shortScreen{0, 0, 1920, 600};
    EXPECT_EQ(PlaceBesideKey(KeyAt(600, 300), kDialog, shortScreen), (ScreenPoint{640, 600 - 468}));
    // A narrow screen: neither side has room; pulled left inside.
    const ScreenRect narrowScreen{0, 0, 700, 1080};
    EXPECT_EQ(PlaceBesideKey(KeyAt(300, 100), kDialog, narrowScreen), (ScreenPoint{700 - 480, 140}));
    // Top-left corner with a key covering most of the screen height.
    EXPECT_EQ(PlaceBesideKey(ScreenRect{0, 0, 40, 1000}, kDialog, kScreen), (ScreenPoint{40, 1080 - 468}));
    // A screen smaller than the dialog: its top-left corner stays on screen.
    EXPECT_EQ(PlaceBesideKey(KeyAt(100, 100), kDialog, ScreenRect{0, 0, 400, 400}), (ScreenPoint{0, 0}));
}

TEST(DialogPlacement, WorksOnAScreenThatDoesNotStartAtTheOrigin)
{
    // A second monitor to the right, with a panel at its top.
    const ScreenRect second{1920, 32, 3840, 1080};
    EXPECT_EQ(PlaceBesideKey(ScreenRect{2000, 100, 2040, 140}, kDialog, second), (ScreenPoint{2040, 140}));
    // A tall key near its top: the room above is measured from the panel, not from 0.
    EXPECT_EQ(PlaceBesideKey(ScreenRect{3700, 480, 3740, 700}, kDialog, second), (ScreenPoint{3360, 612}));
    // A narrow monitor: the monitor to its left does not count as room on the left.
    const ScreenRect narrow{1920, 32, 2500, 1080};
    EXPECT_EQ(PlaceBesideKey(ScreenRect{2000, 300, 2040, 340}, kDialog, narrow), (ScreenPoint{2020, 340}));
}

} // namespace
} // namespace kovantis
