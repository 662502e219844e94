#pragma once
// The control channel's language: one command line in, one answer line out ("ok ..." or
// "error ..."), without the trailing newline.

#include "vkbd/fault_plan.h"
#include "vkbd/keyboard_model.h"
#include "vkbd/link_control.h"
#include "vkbd/link_latency.h"

#include <string>
#include <string_view>
#include <vector>

namespace kovantis::vkbd {

class ControlHandler {
public:
    ControlHandler(KeyboardModel& model, FaultPlan& faults, LinkLatency& latency,
                   LinkControl& link)
        : model_(model), faults_(faults), latency_(latency), link_(link) {}

    std::string Execute(std::string_view line);

private:
    using Words = std::vector<std::string_view>;
    std::string Plug(const Words& words);
    std::string Unplug(const Words& words);
    std::string Event(const Words& words);
    std::string Bank(const Words& words);
    std::string Lighting(const Words& words);
    std::string Dump(const Words& words);
    std::string Info(const Words& words);
    std::string Latency(const Words& words);
    std::string Drop(const Words& words);
    std::string Delay(const Words& words);
    std::string Refuse(const Words& words);
    std::string WrongCommand(const Words& words);
    std::string After(const Words& words);
    std::string Reset(const Words& words);
    std::string Save(const Words& words);
    std::string Quit(const Words& words);
    std::string Help(const Words& words);
    std::string SendEvent(uint16_t code);

    struct Verb {
        std::string_view name;
        std::string (ControlHandler::*run)(const Words&);
    };
    static const Verb kVerbs[];

    KeyboardModel& model_;
    FaultPlan& faults_;
    LinkLatency& latency_;
    LinkControl& link_;
};

} // namespace kovantis::vkbd
