#pragma once
// Turns the keystrokes typed while a macro is being recorded into macro steps. Each keystroke
// carries its own time stamp (the window system's, in milliseconds), so the pauses a user typed
// survive however late the event loop gets round to the event.

#include <array>
#include <cstdint>

#include "keyboard/key_code.h"
#include "macros/macro_record.h"

namespace kovantis {

// One key event as the key capture hands it over.
struct RecorderKeystroke {
    KeyCode key = 0;           // 0: the keystroke names no key the program knows
    bool release = false;
    bool autoRepeat = false;
    uint32_t timestampMs = 0;  // wraps round like the window system's clock
};

enum class RecorderVerdict {
    Pass,     // not the recorder's: let the keystroke act as usual (no key, media keys)
    Swallow,  // the recorder took it, whether or not it became a step
};

// The steps one keystroke gives. A step's delay here is the pause *before* it; the step list
// hands that pause to the row before the new one (a row's delay is the pause after its step).
struct RecorderOutput {
    RecorderVerdict verdict = RecorderVerdict::Pass;
    std::array<MacroAction, 2> steps{};
    int stepCount = 0;
};

// The record-delay option: 1 records the real pauses, 0 a fixed pause.
inline constexpr int kRecordRealPauses = 1;
inline constexpr uint32_t kFixedRecordedPauseMs = 50;
// Between the press put in front of a lone release and that release.
inline constexpr uint32_t kInsertedPressPauseMs = 2;

// Whether the recorder leaves this key alone: no key, or one of the media keys.
bool IsExcludedFromRecording(KeyCode key);

class MacroRecorder {
public:
    bool Recording() const { return recording_; }

    // `nowMs` is the time stamp of the gesture that started the recording, on the keystrokes'
    // clock; the pause until the first keystroke is measured from it.
    void Start(uint32_t nowMs, int delayOption);
    void Stop();

    RecorderOutput Feed(const RecorderKeystroke& keystroke);

private:
    uint32_t PauseOf(uint32_t measured) const;
    bool Held(KeyCode key) const { return held_[key & 0x1FF]; }

    bool recording_ = false;
    int delayOption_ = kRecordRealPauses;
    uint32_t lastMs_ = 0;
    std::array<bool, 0x200> held_{};
};

} // namespace kovantis
