#pragma once
// The media functions a key can be given, in the order of the media list; a Media assignment
// stores the index.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "keyboard/key_code.h"
#include "keyboard/name_buffers.h"

namespace kovantis {

inline constexpr int kMediaFunctionCount = 18;

struct MediaFunction {
    std::string_view languageKey;  // of its display name
    KeyCode code;
    uint16_t consumerUsage;        // sent to the keyboard
};

// The language keys are spelled as the language files have always spelled them.
inline constexpr std::array<MediaFunction, kMediaFunctionCount> kMediaFunctions = {{
    {"MEDIA_PALYER_1", 0x16D, 0x183},
    {"MEDIA_PALY_PAUSE_2", 0x122, 0x0CD},
    {"MEDIA_STOP_PALY_3", 0x124, 0x0B7},
    {"MEDIA_PREV_TRACK_4", 0x110, 0x0B6},
    {"MEDIA_Next_TRACK_5", 0x119, 0x0B5},
    {"MEDIA_V_LOW_6", 0x12E, 0x0EA},
    {"MEDIA_V_ADD_7", 0x130, 0x0E9},
    {"MEDIA_MUTE_8", 0x120, 0x0E2},
    {"MEDIA_WWW_HOME_9", 0x132, 0x223},
    {"MEDIA_WWW_REFRESH_10", 0x167, 0x227},
    {"MEDIA_WWW_STOP_11", 0x168, 0x226},
    {"MEDIA_WWW_BACK_12", 0x16A, 0x224},
    {"MEDIA_WWW_FORWARD_13", 0x169, 0x225},
    {"MEDIA_WWW_FAVORITE_14", 0x166, 0x22A},
    {"MEDIA_WWW_SEARCH_15", 0x165, 0x221},
    {"MEDIA_MY_PC_16", 0x16B, 0x194},
    {"MEDIA_CALC_17", 0x121, 0x192},
    {"MEDIA_MAIL_18", 0x16C, 0x18A},
}};

// The media function whose key code is `code`, if any.
constexpr std::optional<int> MediaFunctionOfCode(KeyCode code)
{
    for (int i = 0; i < kMediaFunctionCount; ++i) {
        if (kMediaFunctions[i].code == code) return i;
    }
    return std::nullopt;
}

// The first media function that sends `usage`, if any.
constexpr std::optional<int> MediaFunctionOfUsage(uint16_t usage)
{
    for (int i = 0; i < kMediaFunctionCount; ++i) {
        if (kMediaFunctions[i].consumerUsage == usage) return i;
    }
    return std::nullopt;
}

// Display names, "Hello world" until the language table supplies them.
class MediaFunctionNames : public NameBuffers<kMediaFunctionCount> {
public:
    MediaFunctionNames();
};

} // namespace kovantis
