#include "device/device_link.h"

#include "ports/editor_registry.h"

namespace kovantis {
namespace {

NoEditors& NoEditorsOpen()
{
    static NoEditors none;
    return none;
}

} // namespace

DeviceLink::DeviceLink(const DeviceFunctions& functions, const Ports& ports, const Options& options)
    : functions_(functions),
      channel_(functions, CommandSelector(options.ids), ports.clock, options.replyTimeout),
      commands_(channel_),
      presence_(Presence::Links{functions, options.ids, channel_, commands_, state_},
                Presence::Ports{ports.window, ports.editors, ports.prompter, ports.texts})
{
}

DeviceLink::DeviceLink(const DeviceFunctions& functions, WindowPort& window, Prompter& prompter,
                       const TextSource& texts, Clock& clock, const Options& options)
    : DeviceLink(functions, Ports{window, NoEditorsOpen(), prompter, texts, clock}, options)
{
}

DeviceLink::DeviceLink(const DeviceFunctions& functions, WindowPort& window, Prompter& prompter,
                       const TextSource& texts, Clock& clock)
    : DeviceLink(functions, window, prompter, texts, clock, Options{})
{
}

DeviceLink::~DeviceLink()
{
    Stop();
}

int DeviceLink::Start()
{
    const int init = functions_.Init(0);
    if (init <= 0)
        return init;
    initialCount_ = presence_.Start();
    started_ = true;
    return 1;
}

void DeviceLink::Stop()
{
    if (started_)
        presence_.Stop();
    started_ = false;
}

} // namespace kovantis
