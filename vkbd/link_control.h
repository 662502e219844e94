#pragma once
// What the control commands ask of the link side of the virtual keyboard.

#include <cstdint>
#include <span>
#include <string>

namespace kovantis::vkbd {

class LinkControl {
public:
    virtual ~LinkControl() = default;
    // Creates the link socket; false with a reason when it cannot.
    virtual bool Plug(std::string& error) = 0;
    // Drops the host and removes the link socket.
    virtual void Unplug() = 0;
    virtual bool Plugged() const = 0;
    virtual bool HostConnected() const = 0;
    // Sends a consumer event to the host; false when no host is connected.
    virtual bool SendEvent(uint16_t code) = 0;
    // The status bytes the host wrote last.
    virtual std::span<const uint8_t> StatusBytes() const = 0;
    // Writes the state file now; false with a reason when it cannot.
    virtual bool SaveState(std::string& error) = 0;
    virtual void Quit() = 0;
};

} // namespace kovantis::vkbd
