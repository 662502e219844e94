#include "app/language_slots.h"

#include <array>

namespace kovantis {
namespace {

constexpr std::array<LanguageSlot, kLanguageSlotCount> kSlots{{
    {"MACRO_ACTION_RECORD_DELAY", u"RecordDelay", 107},
    {"MACRO_NEW_PREFIX", u"Macro", 107},
    {"MACRO_ERR_MAX", u"The maximum number of macro: %d   ", 107},
    {"MACRO_ERR_SAME", u"Same macro name!   ", 107},
    {"MACRO_ERR_NAME_SYSTEM", u"This macro is used in the system! ", 107},
    {"MACRO_DEFAULT_NAME", u"Empty Macro", 107},
    {"MACRO_ERR_RECORD", u"Please stop the macro record first! ", 107},
    {"MACRO_KEYS_TISHI", u"hello world", 107},
    {"MACRO_ACTION_TISHI", u"hello world", 107},
    {"MACRO_DELAY_MS", u"hello world", 107},
    {"MACRO_ACTION_CLEAR_CONFIRM", u"Really need to clear the macro action? ", 107},
    {"MACRO_ACTION_ERR_MODIFY", u"You can not edit, use the macro record button. ", 107},
    {"MACRO_ACTION_ERR_DELAY_MIN", u"Minimum delay time is: %d(ms) ", 107},
    {"MACRO_ACTION_ERR_DELAY_MAX", u"Maximum delay time is: %d(ms) ", 107},
    {"MACRO_ACTION_RECORD", u"Record", 107},
    {"MACRO_ACTION_STOP_RECORD", u"Stop Record", 107},
    {"EXTRA_MACRO_TOO_LONG", u"Macro space exceeds the hardware space.\r\n Please reduce the number of macros or macro action number，and then download.", 197},
    {"UNKNOWN_KEY", u"Unknown Key: %03x", 107},
    {"MEDIA_PALYER_1", u"Hello world", 107},
    {"MEDIA_PALY_PAUSE_2", u"Hello world", 107},
    {"MEDIA_STOP_PALY_3", u"Hello world", 107},
    {"MEDIA_PREV_TRACK_4", u"Hello world", 107},
    {"MEDIA_Next_TRACK_5", u"Hello world", 107},
    {"MEDIA_V_LOW_6", u"Hello world", 107},
    {"MEDIA_V_ADD_7", u"Hello world", 107},
    {"MEDIA_MUTE_8", u"Hello world", 107},
    {"MEDIA_WWW_HOME_9", u"Hello world", 107},
    {"MEDIA_WWW_REFRESH_10", u"Hello world", 107},
    {"MEDIA_WWW_STOP_11", u"Hello world", 107},
    {"MEDIA_WWW_BACK_12", u"Hello world", 107},
    {"MEDIA_WWW_FORWARD_13", u"Hello world", 107},
    {"MEDIA_WWW_FAVORITE_14", u"Hello world", 107},
    {"MEDIA_WWW_SEARCH_15", u"Hello world", 107},
    {"MEDIA_MY_PC_16", u"Hello world", 107},
    {"MEDIA_CALC_17", u"Hello world", 107},
    {"MEDIA_MAIL_18", u"Hello world", 107},
    {"FUNC_KEY_DESC1", u"Open", 107},
    {"FUNC_KEY_DESC2", u"New", 107},
    {"FUNC_KEY_DESC3", u"Undo", 107},
    {"FUNC_KEY_DESC4", u"Save", 107},
    {"FUNC_KEY_DESC5", u"Copy", 107},
    {"FUNC_KEY_DESC6", u"Cut", 107},
    {"FUNC_KEY_DESC7", u"Paste", 107},
    {"FUNC_KEY_DESC8", u"Find", 107},
    {"FUNC_KEY_DESC9", u"Select All", 107},
    {"FUNC_KEY_DESC10", u"Zoom-", 107},
    {"FUNC_KEY_DESC11", u"Zoom+", 107},
    {"APPLY_PROMPT", u"No Use!", 107},
    {"MACRO_DELETE_CONFIRM_OF_KEYS", u"Detect some key points to set this macro, \n  really need to remove this macro?  ", 107},
    {"KEY_PROMPT", u"No Use!", 107},
    {"KEY_PROMPT_SET", u"Keys, Set: ", 107},
    {"KEY_PROMPT_SINGLE", u"Key(", 107},
    {"KEY_PROMPT_MACRO", u"Macro(", 107},
    {"KEY_PROMPT_MEDIA", u"Media(", 107},
    {"KEY_PROMPT_FUNCTION", u"Function(", 107},
    {"DEFAULT_PROFILE_NAME", u"<Default Profile>", 107},
    {"PROFILE_SELECT_PROMPT", u"Whether to save the profile settings made?", 107},
    {"PROFILE_SEELCT_PROMPT2", u"When fast switch scene mode, you must first close the editor dialog box.", 107},
    {"PROFILE_SELECT_PROMPT3", u"Scene mode are editing, whether to give up the modification and change its mode?", 107},
    {"PROFILE_LOAD_PROMPT", u"Switch scene mode will automatically stop the macro play!", 107},
    {"PROFILE_CHECK_PROMPT", u"Scene mode file does not exist, load the default Settings!", 107},
    {"PROFILE_FORMAT_ERROR", u"wrong file format, revert to the default values: \n  %s", 107},
    {"PROFILE_NEW", u"\\The new contextual  mode", 107},
    {"PROFILE_TIP", u"The current contextual  mode: ", 107},
    {"PROFILE_EDITING", u"You are editing, set not applications, can't change its mode", 107},
    {"EXTRA_PROFILE_SPACE_TIGHT", u"shortage of hardware space, cancelled the macro name of storage.", 107},
    {"MAIN_UPDATE_ERROR_TEXT", u"请选择正确的更新文件! ", 12},
    {"MAIN_BOOT_ERROR_TEXT", u"无法进入Boot模式! ", 12},
    {"MAIN_SHELL_ERROR_TEXT", u"无法执行更新文件! ", 10},
    {"MAIN_UPDATE_BACKUP_OK", u"备份成功!", 5},
    {"MAIN_UPDATE_BACKUP_NG", u"备份失败,请重新备份!", 11},
    {"KEYBOARD_TRAY_DESC", u"Orbelle", 107},
    {"MAIN_CAPTION", u"Gaming Keyboard Settings", 107},
    {"MAIN_HELP_PROMPT", u"Help", 107},
    {"MAIN_MINIMIZE_PROMPT", u"Minimize", 107},
    {"MAIN_MENU_PROMPT", u"Menu", 107},
    {"MAIN_CLOSE_PROMPT", u"Close", 107},
    {"MAIN_BUTTON_ZAVRIK_VER", u"", 107},
    {"MAIN_PROMPT_DEFAULT", u"Do you want to restore the default settings?", 107},
    {"MAIN_PROMPT_INPORT", u"File format error, import failed! ", 107},
    {"MAIN_PROMPT_DRIVER_TEXT", u"Detects that the driver is not installed keyboard, \r\npress [OK] to start the driver installation!", 107},
    {"MAIN_PROMPT_DRIVER_TITLE", u"Orbelle", 107},
    {"MAIN_SWITCH_FUNCTION_TEXT", u"Switch to the color keys mode", 107},
    {"MAIN_SWITCH_COLOR_TEXT", u"Switch to the function keys mode", 107},
    {"MAIN_DEFAULT_MATRIX_PROMPT", u"Reads the default keyboard layout failure", 107},
    {"MAIN_NO_DEVICE_PROMPT", u"Device is not detected，the key settings can not be displayed! ", 107},
}};

} // namespace

std::span<const LanguageSlot, kLanguageSlotCount> LanguageSlots()
{
    return kSlots;
}

const LanguageSlot* FindLanguageSlot(std::string_view key)
{
    for (const LanguageSlot& slot : kSlots) {
        if (slot.key == key) {
            return &slot;
        }
    }
    return nullptr;
}

} // namespace kovantis
