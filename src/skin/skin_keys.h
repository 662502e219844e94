#pragma once
// The control keys each window reads from section BUTTONINFO of its skin file, and the arrow
// picture origins of BUTTONINFO2. The keys of the key, G and Fn buttons belong to the physical
// layout (keyboard/physical_layout.h).

#include <span>
#include <string>
#include <string_view>

namespace kovantis {

// Skin files in the Skins/ folder.
inline constexpr std::string_view kMainSkinFile = "Main.ini";
inline constexpr std::string_view kProfileSkinFile = "Profile.ini";
inline constexpr std::string_view kCompositeSkinFile = "Composite.ini";
inline constexpr std::string_view kUpdateSkinFile = "UpdateDlg.ini";

// Main window: image controls with a fixed name, apart from the key, G and Fn buttons.
std::span<const std::string_view> MainImageKeys();
// Main window: lighting panel controls that are placed and sized only.
std::span<const std::string_view> MainPlainKeys();
// Main window: the direction controls that move with the effect; each also has suffixes 2 and 3.
std::span<const std::string_view> MainMovedKeys();
inline constexpr std::string_view kLeftArrowKey = "LEFT_ARROW";
inline constexpr std::string_view kRightArrowKey = "RIGHT_ARROW";

std::span<const std::string_view> ProfileImageKeys();
std::span<const std::string_view> ProfilePlainKeys();
std::span<const std::string_view> CompositeImageKeys();
std::span<const std::string_view> CompositePlainKeys();
std::span<const std::string_view> UpdateImageKeys();
std::span<const std::string_view> UpdatePlainKeys();

// BUTTONINFO2 origin of a hint arrow in Arrow.jpg: "UP_ARROW_LEFT1", "DOWN_ARROW_RIGHT2", ...
std::string ArrowOriginKey(bool up, bool left, int variant);

} // namespace kovantis
