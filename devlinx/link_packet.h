#pragma once
// What one packet from the keyboard on the virtual link says. The packet is whatever the peer on
// the socket sent, so nothing in it is trusted: a packet of any length, down to none, gives a
// result whose report lies inside the packet.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "device_match.h"

namespace devlinx {

struct LinkPacket {
    enum class Kind : uint8_t { ignored, hello, report };
    Kind kind = Kind::ignored;
    // hello: the ids the keyboard names; nullopt when the hello is too short to hold them.
    std::optional<DeviceIds> ids;
    // report: the collection and its report inside the packet; `event_code` is the 16-bit code
    // of a consumer report, 0 on the command collection.
    Collection collection = Collection::command;
    const uint8_t* report = nullptr;
    size_t length = 0;
    uint16_t event_code = 0;
};

LinkPacket ParseLinkPacket(const uint8_t* packet, size_t length);

} // namespace devlinx
