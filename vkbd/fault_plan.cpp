#include "vkbd/fault_plan.h"

#include "wire/command_report.h"

namespace kovantis::vkbd {
namespace {

// Takes one use of a fault armed for `count` replies.
bool TakeOne(int& count)
{
    if (count <= 0) {
        return false;
    }
    --count;
    return true;
}

} // namespace

std::optional<Report> FaultPlan::TakeRefusal(std::span<const uint8_t, 64> request)
{
    holding_ = TakeOne(holdOff_);
    if (holding_ || !TakeOne(refuseCount_)) {
        return std::nullopt;
    }
    Report reply = ReplyFrameFor(request);
    reply[kStatusOffset] = refuseStatus_;
    SealReport(reply);
    return reply;
}

FaultPlan::Outcome FaultPlan::Shape(Report& reply)
{
    if (holding_) {
        holding_ = false;
        return {};
    }
    if (TakeOne(wrongCommand_)) {
        // Flipping the top bit always gives another byte, and none the host itself sends.
        reply[kCommandOffset] ^= 0x80;
        SealReport(reply);
    }
    Outcome outcome;
    if (TakeOne(drop_)) {
        outcome.send = false;
        return outcome;
    }
    if (TakeOne(delayCount_)) {
        outcome.delay = delay_;
    }
    return outcome;
}

} // namespace kovantis::vkbd
