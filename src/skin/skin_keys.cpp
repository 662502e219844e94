#include "skin/skin_keys.h"

#include <array>

namespace kovantis {
namespace {

constexpr std::array kMainImage = std::to_array<std::string_view>({
    "ZAVRIK_LINK", "FUNC_PROFILES", "FUNC_MACRO", "CONTROL_OK", "CONTROL_CANCEL", "CONTROL_HELP",
    "CONTROL_CLOSE", "CONTROL_MINIMIZE", "CONTROL_MENU", "CONTROL2_APPLY", "LOCK_CAPS", "LOCK_NUM",
    "LOCK_SCROLL", "LOCK_AB", "FLIP_0", "FLIP_1", "FLIP_2", "ZAVRIK_VER", "FUNC_PROFILE1",
    "FUNC_PROFILE2", "FUNC_PROFILE3", "FUNC_DEFAULT", "FUNC_SWITCH", "FUNC_REPORT1", "FUNC_REPORT2",
    "FUNC_REPORT3", "FUNC_REPORT4",
});

constexpr std::array kMainPlain = std::to_array<std::string_view>({
    "CONTROL_UsbStatic", "CONTROL_DengStatic", "CONTROL_DengStaPic", "CONTROL_XGcombox",
    "CONTROL_JDTStatic", "CONTROL_LightStatic", "CONTROL_LightSlider", "CONTROL_SpeedStatic",
    "CONTROL_SpeedSlider", "CONTROL_BLFXStatic", "CONTROL_BLFXLStaPic", "CONTROL_BLFXRStaPic",
    "CONTROL_FYYSStatic", "CONTROL_FYYSButton", "CONTROL_FYSJSStaPic", "CONTROL_FYSJSStatic",
    "CONTROL_FYCFStatic", "CONTROL_FYdjcfStatic", "CONTROL_FYggcfStatc", "CONTROL_FYdjcfStaPic",
    "CONTROL_FYggcfStaPic", "CONTROL_HONGPIC", "CONTROL_HUANGPIC", "CONTROL_LVPIC", "CONTROL_LANPIC",
    "CONTROL_HXysStatic", "CONTROL_HXysButton", "CONTROL_HXsjsStatic", "CONTROL_HXsjsStaPic",
    "CONTROL_JTysStatic", "CONTROL_JTysButton", "CONTROL_USERysStatic", "CONTROL_USERysButton",
    "CONTROL_USERjsStatic", "CONTROL_USERjsButton", "CONTROL_USERgjStatic", "CONTROL_USERgjStaPic1",
    "CONTROL_USERgjStaPic2", "CONTROL_TSysStatic", "CONTROL_TSysButton", "CONTROL_TSsjsStatic",
    "CONTROL_TSsjsStaPic", "CONTROL_CDysStatic", "CONTROL_CDysButton", "CONTROL_CDsjsStatic",
    "CONTROL_CDsjsStaPic", "CONTROL_umCombo",
});

constexpr std::array kMainMoved = std::to_array<std::string_view>({
    "CONTROL_BLFXStatic", "CONTROL_BLFXLStaPic", "CONTROL_BLFXRStaPic",
});

constexpr std::array kProfileImage = std::to_array<std::string_view>({
    "CONTROL_OK", "CONTROL_CANCEL", "FUNC_ADD", "FUNC_LOAD", "FUNC_DELETE", "CONTROL2_APPLY",
});
constexpr std::array kProfilePlain = std::to_array<std::string_view>({"PROGRAM_LIST"});

constexpr std::array kCompositeImage = std::to_array<std::string_view>({
    "CONTROL_MASK", "CONTROL_SING", "CONTROL_TITLE", "CONTROL_OSK", "CONTROL_CLEAR", "CONTROL_MEDIA",
    "CONTROL_MACRO", "CONTROL_KEY", "CONTROL_FUNCTION", "CONTROL_OK", "CONTROL_CANCEL",
    "FUNC_MACRO_DELETE", "FUNC_MACRO_ADD", "FUNC_MACRO_UP_TOP", "FUNC_MACRO_UP", "FUNC_MACRO_DOWN",
    "FUNC_MACRO_DOWN_BOTTOM", "FUNC_MACRO_DELETE2", "FUNC_MACRO_CLEAR", "FUNC_MACRO_RECORD",
    "CONTROL2_APPLY",
});
constexpr std::array kCompositePlain = std::to_array<std::string_view>({
    "FUNC_MACRO_RECORD_DELAY", "FUNC_MACRO_LIST2", "FUNC_MACRO_CYCLES", "FUNC_MACRO_CYCLES_PROMPT",
    "TISHI_SINGLE_STATIC", "MARCO_NAME_SETTING", "KEY_SETTING", "MEDIA_SETTING_TISHI",
    "FUNCTION_KEY_SETTING_TISHI", "FUNC_MACRO_RECORD_DELAY2", "FUNC_KEY_INPUT", "FUNC_MEDIA_SELECT",
    "FUNC_MACRO_LIST", "FUNC_FUNCTION_SELECT",
});

constexpr std::array kUpdateImage = std::to_array<std::string_view>({
    "CONTROL_CUPButton", "CONTROL_UPButton", "CONTROL_OPENButton", "CONTROL_BACKUPButton",
});
constexpr std::array kUpdatePlain = std::to_array<std::string_view>({"CONTROL_UPStatic", "CONTROL_UPCombox"});

} // namespace

std::span<const std::string_view> MainImageKeys() { return kMainImage; }
std::span<const std::string_view> MainPlainKeys() { return kMainPlain; }
std::span<const std::string_view> MainMovedKeys() { return kMainMoved; }
std::span<const std::string_view> ProfileImageKeys() { return kProfileImage; }
std::span<const std::string_view> ProfilePlainKeys() { return kProfilePlain; }
std::span<const std::string_view> CompositeImageKeys() { return kCompositeImage; }
std::span<const std::string_view> CompositePlainKeys() { return kCompositePlain; }
std::span<const std::string_view> UpdateImageKeys() { return kUpdateImage; }
std::span<const std::string_view> UpdatePlainKeys() { return kUpdatePlain; }

std::string ArrowOriginKey(bool up, bool left, int variant)
{
    return std::string(up ? "UP_ARROW_" : "DOWN_ARROW_") + (left ? "LEFT" : "RIGHT") + std::to_string(variant);
}

} // namespace kovantis
