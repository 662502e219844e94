// Any lines on the virtual keyboard's control channel: every line gets one answer line, "ok"
// or "error", and nothing the line asks for (events, faults, dumps, lighting) misbehaves.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "vkbd/control_handler.h"

namespace {

using namespace kovantis::vkbd;

class NoLink final : public LinkControl {
public:
    bool Plug(std::string&) override { return plugged_ = true; }
    void Unplug() override { plugged_ = false; }
    bool Plugged() const override { return plugged_; }
    bool HostConnected() const override { return false; }
    bool SendEvent(uint16_t) override { return false; }
    std::span<const uint8_t> StatusBytes() const override { return {}; }
    bool SaveState(std::string&) override { return false; }
    void Quit() override {}

private:
    bool plugged_ = true;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    KeyboardModel model;
    FaultPlan faults;
    LinkLatency latency;
    NoLink link;
    ControlHandler handler(model, faults, latency, link);
    std::string_view text(reinterpret_cast<const char*>(data), size);
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        // Latency asks the link to wait; a fuzzer must not sleep.
        if (line.starts_with("latency"))
            continue;
        const std::string answer = handler.Execute(line);
        if (!answer.starts_with("ok") && !answer.starts_with("error"))
            std::abort();
        if (answer.find('\n') != std::string::npos && !line.starts_with("dump") && !line.starts_with("help") &&
            !line.starts_with("info"))
            std::abort();
    }
    return 0;
}
