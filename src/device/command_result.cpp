#include "device/command_result.h"

#include "device/command_set.h"
#include "device/request_channel.h"
#include "ports/text_source.h"

namespace kovantis {
namespace {

struct Cause {
    const char* key;
    const char* english;
};

Cause CauseOf(int result)
{
    switch (result) {
    case kSendNoDevice:
        return {"DEVICE_RESULT_GONE", "the keyboard is not connected"};
    case kSendRefused:
        return {"DEVICE_RESULT_SEND_REFUSED", "the keyboard could not be reached (it may have been unplugged)"};
    case kSendNoReply:
        return {"DEVICE_RESULT_NO_ANSWER", "the keyboard did not answer"};
    case kResultRefusedFF:
        return {"DEVICE_RESULT_REFUSED_FF", "the keyboard refused it (status 0xFF)"};
    case kResultRefusedFE:
        return {"DEVICE_RESULT_REFUSED_FE", "the keyboard refused it (status 0xFE)"};
    case kResultBadArgument:
        return {"DEVICE_RESULT_BAD_ARGUMENT", "a profile or address outside the keyboard's range"};
    default:
        return {"", "it failed"};
    }
}

} // namespace

std::string DescribeCommandResult(int result)
{
    const Cause cause = CauseOf(result);
    std::string text = cause.english;
    if (cause.key[0] == '\0')
        text += " (result " + std::to_string(result) + ")";
    return text;
}

std::u16string DescribeCommandResult(int result, const TextSource& texts)
{
    const Cause cause = CauseOf(result);
    if (cause.key[0] != '\0') {
        std::u16string text = texts.Text(cause.key);
        if (!text.empty())
            return text;
    }
    const std::string english = DescribeCommandResult(result);
    return std::u16string(english.begin(), english.end());
}

bool KeyboardRefused(int result)
{
    return result == kResultRefusedFF || result == kResultRefusedFE;
}

bool KeyboardGoneOrSilent(int result)
{
    return result == kSendNoDevice || result == kSendRefused || result == kSendNoReply;
}

} // namespace kovantis
