#pragma once
// What the program knows about the keyboard between exchanges, shared by the notification
// thread, the presence worker and the UI: the factory keymap copy, the macro area size, the
// last device count, the G-key bank with the status bytes that show it, and the two flags
// that decide whether the window opens by itself. Every member is safe to use from any thread.

#include <array>
#include <chrono>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <stop_token>

#include "wire/keyboard_memory.h"

namespace kovantis {

using FactoryKeymap = std::array<uint8_t, kKeymapSize>;
using LedStatus = std::array<uint8_t, 2>;

class DeviceState {
public:
    // Filled when the keyboard arrives; all zero until the first successful read.
    FactoryKeymap FactoryKeymapCopy() const;
    void SetFactoryKeymap(std::span<const uint8_t, kKeymapSize> keymap);

    // Macro area size in bytes (settings block byte 11 x 128): what a macro image must fit in.
    int MacroAreaSize() const { return macroAreaSize_.load(); }
    void SetMacroAreaSize(int bytes) { macroAreaSize_.store(bytes); }

    // The result of the reads on the keyboard's latest arrival: 1 when the factory keymap and
    // the settings block were read, else the first failing read's result (a keyboard that does
    // not answer is not asked a second time).
    int ArrivalReadResult() const { return arrivalReadResult_.load(); }
    void SetArrivalReadResult(int result) { arrivalReadResult_.store(result); }

    int LastDeviceCount() const;
    void SetLastDeviceCount(int count);
    bool Present() const { return LastDeviceCount() > 0; }
    // Waits until a keyboard's arrival has been handled (last device count above 0); false when
    // it was not within timeout.
    bool WaitUntilPresent(std::chrono::milliseconds timeout) const;

    // Set once the start-up arrival is handled (or skipped by "/Start", or no keyboard at
    // start-up); while clear, an arrival opens the window.
    bool FirstArrivalDone() const { return firstArrivalDone_.load(); }
    void SetFirstArrivalDone() { firstArrivalDone_.store(true); }

    // G-key bank: 0 = A, 1 = B. The status bytes are 0x05, 0x02 + bank.
    int Bank() const { return bank_.load(); }
    LedStatus LedStatusBytes() const;
    // Flips the bank and returns the new one.
    int FlipBank();
    void ResetBank() { bank_.store(0); }

    // Set by the main window once its notification-area icon exists.
    bool WindowReady() const;
    void SetWindowReady(bool ready);
    // Waits until the window is ready; false when stop was requested first.
    bool WaitUntilWindowReady(std::stop_token stop) const;

private:
    mutable std::mutex mutex_;  // guards the keymap, the count and window-ready
    mutable std::condition_variable_any changed_;
    FactoryKeymap factoryKeymap_{};
    int lastDeviceCount_ = 0;
    bool windowReady_ = false;

    std::atomic<int> macroAreaSize_{0};
    std::atomic<int> arrivalReadResult_{1};
    std::atomic<bool> firstArrivalDone_{false};
    std::atomic<int> bank_{0};
};

} // namespace kovantis
