#include "keyboard/dialog_placement.h"

#include <algorithm>

namespace kovantis {
namespace {

int KeepInside(int position, int size, int low, int high)
{
    // Clamping the far edge first lets the near edge win when the dialog is larger than the
    // screen: its title and page buttons stay visible.
    return std::max(low, std::min(position, high - size));
}

} // namespace

ScreenPoint PlaceBesideKey(const ScreenRect& key, DialogSize dialog, const ScreenRect& screen)
{
    const bool roomRight = screen.right - key.right >= dialog.width;
    const bool roomBelow = screen.bottom - key.bottom >= dialog.height;
    const bool roomAbove = key.top - screen.top >= dialog.height;
    const bool roomLeft = key.left - screen.left >= dialog.width;

    ScreenPoint chosen{key.right, key.bottom};
    if (roomRight && roomBelow)
        return chosen;
    if (roomRight && roomAbove)
        return {key.right, key.top - dialog.height};
    if (roomLeft && roomBelow)
        return {key.left - dialog.width, key.bottom};
    if (roomLeft && roomAbove)
        return {key.left - dialog.width, key.top - dialog.height};

    chosen.x = KeepInside(chosen.x, dialog.width, screen.left, screen.right);
    chosen.y = KeepInside(chosen.y, dialog.height, screen.top, screen.bottom);
    return chosen;
}

} // namespace kovantis
