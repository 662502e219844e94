#pragma once
// The profile menu. It is never shown as a menu: its marked entry is the caption of the profile
// manager's button and the end of that button's tooltip.

#include <string>
#include <vector>

#include "ports/text_source.h"

namespace kovantis {

struct ProfileMenu {
    // "<Default Profile>", a separator (empty text), then one entry per on-board profile.
    std::vector<std::u16string> entries;
    int marked = 0;  // active profile + 2, or 0 when the active profile is unknown

    const std::u16string& Caption() const { return entries[static_cast<size_t>(marked)]; }
};

// fileName: what each on-board entry shows, the working file's name.
ProfileMenu BuildProfileMenu(int activeProfile, const std::u16string& fileName, const TextSource& texts);
// "The current contextual  mode: " followed by the caption.
std::u16string ProfileMenuTooltip(const ProfileMenu& menu, const TextSource& texts);

} // namespace kovantis
