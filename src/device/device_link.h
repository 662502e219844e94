#pragma once
// Everything the program needs to talk to the keyboard, put together in the order start-up
// needs it: the library's function table, the request channel, the command set, the shared
// device state and the presence logic. The desktop program and kovantis-cli both use it.

#include <chrono>

#include "device/command_set.h"
#include "device/device_ids.h"
#include "device/device_state.h"
#include "device/presence.h"
#include "device/request_channel.h"
#include "platform/device_library.h"

namespace kovantis {

class Clock;
class EditorRegistry;
class Prompter;
class TextSource;
class WindowPort;

class DeviceLink {
public:
    struct Options {
        DeviceIds ids = DeviceIdsFromEnvironment();
        std::chrono::milliseconds replyTimeout = RequestChannel::kReplyTimeout;
    };

    // What the link reaches outside itself; everything outlives the link.
    struct Ports {
        WindowPort& window;
        EditorRegistry& editors;
        Prompter& prompter;
        const TextSource& texts;
        Clock& clock;
    };

    // functions must be complete (DeviceFunctions::Complete) and outlive the link.
    DeviceLink(const DeviceFunctions& functions, const Ports& ports, const Options& options);
    // Without editors (kovantis-cli, tests).
    DeviceLink(const DeviceFunctions& functions, WindowPort& window, Prompter& prompter,
               const TextSource& texts, Clock& clock, const Options& options);
    DeviceLink(const DeviceFunctions& functions, WindowPort& window, Prompter& prompter,
               const TextSource& texts, Clock& clock);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Init(0), then the registrations and the first presence worker. Returns the result of
    // Init when it is 0 or less (the library is unusable: start-up ends silently), otherwise 1.
    int Start();
    // Stops the presence worker and removes the registrations (tests, kovantis-cli). The
    // desktop program keeps the link until the process ends.
    void Stop();

    // The device count the library gave at start-up.
    int InitialDeviceCount() const { return initialCount_; }

    CommandSet& Commands() { return commands_; }
    RequestChannel& Channel() { return channel_; }
    DeviceState& State() { return state_; }
    Presence& GetPresence() { return presence_; }
    const DeviceFunctions& Functions() const { return functions_; }

private:
    const DeviceFunctions& functions_;
    RequestChannel channel_;
    CommandSet commands_;
    DeviceState state_;
    Presence presence_;
    int initialCount_ = 0;
    bool started_ = false;
};

} // namespace kovantis
