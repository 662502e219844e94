#pragma once
// The main window's controls by skin key, as the window's files share them.

#include <array>
#include <string_view>
#include <utility>

#include "wire/profile_count.h"

namespace kovantis::main_window {

inline constexpr std::array<std::string_view, kProfileCount> kProfileKeys{"FUNC_PROFILE1", "FUNC_PROFILE2",
                                                                         "FUNC_PROFILE3"};
// Pictures that only show what they show; they never take a click.
inline constexpr std::array<std::string_view, 6> kIndicatorKeys{"LOCK_CAPS", "LOCK_NUM",  "LOCK_SCROLL",
                                                                "LOCK_AB",   "FLIP_0",    "ZAVRIK_VER"};
// Buttons whose caption the language file gives (key of the button, key of its text).
inline constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kCaptionTexts{{
    {"FUNC_PROFILE1", "PROFILE_1"},
    {"FUNC_PROFILE2", "PROFILE_2"},
    {"FUNC_PROFILE3", "PROFILE_3"},
    {"FUNC_MACRO", "PROFILE_MACRO"},
    {"CONTROL_OK", "PROFILE_OK"},
    {"CONTROL_CANCEL", "PROFILE_CANCLE"},
    {"CONTROL2_APPLY", "PROFILE_APPLY"},
}};
// Buttons that show a caption: those above, the profile manager's and the version.
inline constexpr std::array<std::string_view, 9> kCaptionedKeys{
    "FUNC_PROFILE1", "FUNC_PROFILE2",  "FUNC_PROFILE3", "FUNC_MACRO",   "CONTROL_OK",
    "CONTROL_CANCEL", "CONTROL2_APPLY", "FUNC_PROFILES", "ZAVRIK_VER"};
// The restore button carries a picture of its own, so its text is its tooltip.
inline constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kTooltipTexts{{
    {"FUNC_DEFAULT", "PROFILE_DEFAULT"},
    {"CONTROL_HELP", "MAIN_HELP_PROMPT"},
    {"CONTROL_MINIMIZE", "MAIN_MINIMIZE_PROMPT"},
    {"CONTROL_MENU", "MAIN_MENU_PROMPT"},
    {"CONTROL_CLOSE", "MAIN_CLOSE_PROMPT"},
}};

} // namespace kovantis::main_window
