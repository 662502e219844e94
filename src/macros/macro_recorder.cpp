#include "macros/macro_recorder.h"

#include <algorithm>

#include "keyboard/media_function.h"

namespace kovantis {
namespace {

// Keys whose release the keyboard of some systems reports without a press; a press is put in
// front of such a lone release so the macro taps the key.
bool NeedsPressBeforeLoneRelease(KeyCode key)
{
    return key == keys::kSysReq || key == 0x071 || key == 0x072 || key == keys::kPrintScreen;
}

} // namespace

bool IsExcludedFromRecording(KeyCode key)
{
    return key == 0 || MediaFunctionOfCode(key).has_value();
}

void MacroRecorder::Start(uint32_t nowMs, int delayOption)
{
    recording_ = true;
    delayOption_ = delayOption;
    lastMs_ = nowMs;
    held_.fill(false);
}

void MacroRecorder::Stop()
{
    recording_ = false;
    held_.fill(false);
}

uint32_t MacroRecorder::PauseOf(uint32_t measured) const
{
    if (delayOption_ == kRecordRealPauses) {
        return measured;
    }
    return delayOption_ == 0 ? kFixedRecordedPauseMs : 0;
}

RecorderOutput MacroRecorder::Feed(const RecorderKeystroke& keystroke)
{
    RecorderOutput out;
    if (!recording_ || IsExcludedFromRecording(keystroke.key)) {
        return out;
    }
    out.verdict = RecorderVerdict::Swallow;
    const KeyCode key = keystroke.key;
    // A held key repeats: the window system flags the copies, and a second press without a
    // release in between is a copy too. Neither is a step.
    if (keystroke.autoRepeat || (!keystroke.release && Held(key))) {
        return out;
    }

    // The clock wraps round; a stamp older than the last one (events from two sources) is no
    // pause at all. A step never holds more than the longest pause a macro can have.
    uint32_t measured = keystroke.timestampMs - lastMs_;
    if (measured > 0x7FFFFFFFu) {
        measured = 0;
    }
    measured = std::min(measured, kMaxMacroDelayMs);
    lastMs_ = keystroke.timestampMs;

    const uint32_t pause = PauseOf(measured);
    if (keystroke.release && !Held(key) && NeedsPressBeforeLoneRelease(key)) {
        // The pause typed belongs before the tap, the short one between its press and release.
        const uint32_t tap = delayOption_ == kRecordRealPauses ? kInsertedPressPauseMs : PauseOf(0);
        out.steps[0] = {pause, key, kMacroPress};
        out.steps[1] = {tap, key, kMacroRelease};
        out.stepCount = 2;
    } else {
        out.steps[0] = {pause, key, keystroke.release ? kMacroRelease : kMacroPress};
        out.stepCount = 1;
    }
    held_[key & 0x1FF] = !keystroke.release;
    return out;
}

} // namespace kovantis
