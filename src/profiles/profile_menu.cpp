#include "profiles/profile_menu.h"

#include "keyboard/bank.h"

namespace kovantis {

ProfileMenu BuildProfileMenu(int activeProfile, const std::u16string& fileName, const TextSource& texts)
{
    ProfileMenu menu;
    menu.entries.push_back(texts.Text("DEFAULT_PROFILE_NAME"));
    menu.entries.emplace_back();
    for (int p = 0; p < kProfileCount; ++p) {
        menu.entries.push_back(fileName);
    }
    menu.marked = activeProfile >= 0 && activeProfile < kProfileCount ? activeProfile + 2 : 0;
    return menu;
}

std::u16string ProfileMenuTooltip(const ProfileMenu& menu, const TextSource& texts)
{
    return texts.Text("PROFILE_TIP") + menu.Caption();
}

} // namespace kovantis
