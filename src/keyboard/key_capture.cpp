#include "keyboard/key_capture.h"

#include "keyboard/key_message.h"
#include "keyboard/media_function.h"

namespace kovantis {

CaptureDecision DecideKeyCapture(const KeyEventFacts& event)
{
    const auto message = KeyMessageFromNativeScanCode(event.nativeScanCode, event.held, event.release);
    if (!message)
        return {CaptureAction::Pass, 0};
    const KeyCode code = KeyCodeFromMessage(message->vk, message->data);
    if (code == 0 || MediaFunctionOfCode(code))
        return {CaptureAction::Pass, code};
    const bool firstPress = !event.release && !event.autoRepeat;
    if (firstPress || code == keys::kPrintScreen)
        return {CaptureAction::SwallowAndCapture, code};
    return {CaptureAction::Swallow, code};
}

} // namespace kovantis
