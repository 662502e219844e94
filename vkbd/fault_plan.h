#pragma once
// Faults armed from the control channel, each for the next N replies: a lost reply, a late one,
// a refusal, or a reply that carries another command byte.

#include "vkbd/keyboard_model.h"

#include <chrono>
#include <cstdint>
#include <optional>

namespace kovantis::vkbd {

class FaultPlan {
public:
    void DropNext(int count) { drop_ = count; }
    void DelayNext(std::chrono::milliseconds delay, int count)
    {
        delay_ = delay;
        delayCount_ = count;
    }
    void RefuseNext(uint8_t status, int count)
    {
        refuseStatus_ = status;
        refuseCount_ = count;
    }
    void WrongCommandNext(int count) { wrongCommand_ = count; }
    // The next `count` commands are answered normally; the faults armed take effect after them
    // (to reach the middle of a transfer that starts with reads).
    void AfterNext(int count) { holdOff_ = count; }
    void Clear() { *this = FaultPlan{}; }

    // A refusal armed for the next reply: the keyboard does not carry the command out.
    std::optional<Report> TakeRefusal(std::span<const uint8_t, 64> request);

    struct Outcome {
        bool send = true;
        std::chrono::milliseconds delay{0};
    };
    // Applies the armed faults to one reply (which may be changed in place).
    Outcome Shape(Report& reply);

private:
    int holdOff_ = 0;
    bool holding_ = false;  // the command being answered is one of those held off
    int drop_ = 0;
    std::chrono::milliseconds delay_{0};
    int delayCount_ = 0;
    uint8_t refuseStatus_ = 0;
    int refuseCount_ = 0;
    int wrongCommand_ = 0;
};

} // namespace kovantis::vkbd
