#pragma once
// Where the key assignment dialog opens: beside the key that was clicked, below and to the right
// of it when it fits, otherwise above or to the left, and always inside the screen's usable area
// so that its OK and Cancel buttons can be reached.

namespace kovantis {

// Edges in screen pixels; right and bottom lie just outside the rectangle.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

struct ScreenPoint {
    int x = 0;
    int y = 0;

    friend constexpr bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

struct DialogSize {
    int width = 0;
    int height = 0;
};

// The dialog's top-left corner for a key button at `key` on a screen whose usable area is
// `screen`. Preferred, in order: below right of the key; above right; below left; above left.
// When none of them fits whole, the dialog goes below right and is then moved just as far as
// needed to lie inside the screen (top-left edges win on a screen smaller than the dialog).
ScreenPoint PlaceBesideKey(const ScreenRect& key, DialogSize dialog, const ScreenRect& screen);

} // namespace kovantis
