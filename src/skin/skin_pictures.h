#pragma once
// The picture files of the skinned windows and which picture an image control shows in each of
// its five states.

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "skin/panel_picture_names.h"

namespace kovantis {

// The five state slots of an image control, in this order.
enum class PictureSlot { Normal, Hover, Pressed, Disabled, On };
inline constexpr int kPictureSlotCount = 5;

// File names of the pictures for the five slots.
using StateSet = std::array<std::string_view, kPictureSlotCount>;

struct ButtonLook {
    bool disabled = false;
    bool pressed = false;
    bool hover = false;
    bool on = false;
};

// First match wins: a disabled control shows its disabled picture even while hovered or on.
constexpr PictureSlot ChoosePicture(const ButtonLook& look)
{
    if (look.disabled) return PictureSlot::Disabled;
    if (look.pressed) return PictureSlot::Pressed;
    if (look.hover) return PictureSlot::Hover;
    if (look.on) return PictureSlot::On;
    return PictureSlot::Normal;
}

// Main window: whole-window state pictures and the hint arrows.
inline constexpr std::string_view kMainNormalPicture = "main_normal.jpg";
inline constexpr std::string_view kMainOverPicture = "main_over.jpg";
inline constexpr std::string_view kMainDownPicture = "main_down.jpg";
inline constexpr std::string_view kMainDisablePicture = "main_disable.jpg";
inline constexpr std::string_view kArrowPicture = "Arrow.jpg";

// Sets of the main window. Key buttons show main_disable.jpg while assigned ("on").
inline constexpr StateSet kMainKeySet{kMainNormalPicture, kMainOverPicture, kMainDownPicture, kMainNormalPicture, kMainDisablePicture};
inline constexpr StateSet kMainEditingSet{kMainOverPicture, kMainOverPicture, kMainDownPicture, kMainNormalPicture, kMainOverPicture};
inline constexpr StateSet kMainIndicatorSet{kMainNormalPicture, kMainNormalPicture, kMainNormalPicture, kMainNormalPicture, kMainOverPicture};
// The bank indicator while bank B is active: its disabled window shows main_over.jpg.
inline constexpr StateSet kMainBankBIndicatorSet{kMainOverPicture, kMainOverPicture, kMainOverPicture, kMainOverPicture, kMainNormalPicture};
inline constexpr StateSet kMainButtonSet{kMainNormalPicture, kMainOverPicture, kMainDownPicture, kMainNormalPicture, kMainNormalPicture};
inline constexpr StateSet kMainApplySet{kMainNormalPicture, kMainOverPicture, kMainDownPicture, kMainDisablePicture, kMainNormalPicture};
inline constexpr StateSet kMainLinkSet{kMainNormalPicture, kMainOverPicture, kMainDisablePicture, kMainNormalPicture, kMainNormalPicture};
inline constexpr StateSet kMainFlipIndicatorSet{kMainNormalPicture, kMainNormalPicture, kMainNormalPicture, kMainNormalPicture, kMainDisablePicture};
inline constexpr StateSet kMainLabelSet{kMainNormalPicture, kMainNormalPicture, kMainNormalPicture, kMainNormalPicture, kMainNormalPicture};

// The set a main-window image control starts with, by its skin key (key buttons "KEY_%03X",
// KEY_FN and the G keys "FUNC_G%d" take the key set).
const StateSet& MainStateSetOf(std::string_view skinKey);

// Key assignment dialog.
inline constexpr StateSet kCompositeKeySet{"key_normal.jpg", "key_over.jpg", "key_down.jpg", "key_normal.jpg", "key_normal.jpg"};
inline constexpr StateSet kCompositeMacroSet{"macro_normal.jpg", "macro_over.jpg", "macro_down.jpg", "macro_disable.jpg", "macro_normal.jpg"};
inline constexpr StateSet kCompositeMacroOnlySet{"macro2_normal.jpg", "macro2_over.jpg", "macro2_down.jpg", "macro2_disable.jpg", "macro2_normal.jpg"};
inline constexpr StateSet kCompositeMediaSet{"media_normal.jpg", "media_over.jpg", "media_down.jpg", "media_normal.jpg", "media_normal.jpg"};
inline constexpr StateSet kCompositeFunctionSet{"function_normal.jpg", "function_over.jpg", "function_down.jpg", "function_normal.jpg", "function_normal.jpg"};
// Profile manager.
inline constexpr StateSet kProfileSet{"Profile_normal.jpg", "Profile_over.jpg", "Profile_down.jpg", "Profile_normal.jpg", "Profile_normal.jpg"};
// Firmware update dialog: its over picture for every state but normal.
inline constexpr StateSet kUpdateSet{"update_normal.jpg", "update_over.jpg", "update_over.jpg", "update_over.jpg", "update_over.jpg"};

// Every picture a window needs before it can show; a missing one ends the program.
std::span<const std::string_view> MainWindowPictures();
std::span<const std::string_view> CompositePictures();
std::span<const std::string_view> ProfilePictures();
std::span<const std::string_view> UpdatePictures();

// Lighting panel pictures (lamp, direction pairs, colour pictures, toggles, tools); their names
// are in skin/panel_picture_names.h.
inline constexpr std::string_view kLampOffPicture = kLampPictures.plain;
inline constexpr std::string_view kLampOnPicture = kLampPictures.lit;
std::span<const std::string_view> LightingPanelPictures();

} // namespace kovantis
