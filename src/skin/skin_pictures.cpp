#include "skin/skin_pictures.h"

#include <algorithm>

namespace kovantis {
namespace {

constexpr std::array kMainPictures = std::to_array<std::string_view>({
    kMainNormalPicture, kMainOverPicture, kMainDownPicture, kMainDisablePicture, kArrowPicture,
});

constexpr std::array kCompositePictures = std::to_array<std::string_view>({
    "key_normal.jpg", "key_over.jpg", "key_down.jpg",
    "macro_normal.jpg", "macro_over.jpg", "macro_down.jpg", "macro_disable.jpg",
    "macro2_normal.jpg", "macro2_over.jpg", "macro2_down.jpg", "macro2_disable.jpg",
    "media_normal.jpg", "media_over.jpg", "media_down.jpg",
    "function_normal.jpg", "function_over.jpg", "function_down.jpg",
});

constexpr std::array kProfilePictures = std::to_array<std::string_view>({
    "Profile_normal.jpg", "Profile_over.jpg", "Profile_down.jpg",
});

constexpr std::array kUpdatePictures = std::to_array<std::string_view>({"update_normal.jpg", "update_over.jpg"});

// Every lighting panel picture, plain and lit.
constexpr std::array kLightingPairs{kLampPictures,        kLeftPictures,           kRightPictures,
                                    kUpPictures,          kDownPictures,           kConvergePictures,
                                    kSpreadPictures,      kColourChoicePictures[0], kColourChoicePictures[1],
                                    kColourChoicePictures[2], kColourChoicePictures[3], kMulticolourPictures,
                                    kToolPictures[0],     kToolPictures[1]};
constexpr std::array<std::string_view, 2 * kLightingPairs.size()> kLightingPictures = [] {
    std::array<std::string_view, 2 * kLightingPairs.size()> names{};
    for (size_t i = 0; i < kLightingPairs.size(); ++i) {
        names[2 * i] = kLightingPairs[i].plain;
        names[2 * i + 1] = kLightingPairs[i].lit;
    }
    return names;
}();

// Main-window controls whose set is not the key set.
struct KeyedSet {
    std::string_view key;
    const StateSet* set;
};
constexpr std::array kMainSpecialSets = std::to_array<KeyedSet>({
    {"FUNC_PROFILES", &kMainButtonSet},   {"FUNC_MACRO", &kMainButtonSet},
    {"CONTROL_OK", &kMainButtonSet},      {"CONTROL_CANCEL", &kMainButtonSet},
    {"CONTROL_HELP", &kMainButtonSet},    {"CONTROL_CLOSE", &kMainButtonSet},
    {"CONTROL_MINIMIZE", &kMainButtonSet}, {"CONTROL_MENU", &kMainButtonSet},
    {"CONTROL2_APPLY", &kMainApplySet},   {"ZAVRIK_LINK", &kMainLinkSet},
    {"LOCK_CAPS", &kMainIndicatorSet},    {"LOCK_NUM", &kMainIndicatorSet},
    {"LOCK_SCROLL", &kMainIndicatorSet},  {"LOCK_AB", &kMainIndicatorSet},
    {"FLIP_0", &kMainFlipIndicatorSet},   {"ZAVRIK_VER", &kMainLabelSet},
});

} // namespace

const StateSet& MainStateSetOf(std::string_view skinKey)
{
    const auto* found = std::find_if(kMainSpecialSets.begin(), kMainSpecialSets.end(),
                                     [&](const KeyedSet& entry) { return entry.key == skinKey; });
    return found == kMainSpecialSets.end() ? kMainKeySet : *found->set;
}

std::span<const std::string_view> MainWindowPictures() { return kMainPictures; }
std::span<const std::string_view> CompositePictures() { return kCompositePictures; }
std::span<const std::string_view> ProfilePictures() { return kProfilePictures; }
std::span<const std::string_view> UpdatePictures() { return kUpdatePictures; }
std::span<const std::string_view> LightingPanelPictures() { return kLightingPictures; }

} // namespace kovantis
