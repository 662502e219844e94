#include "link_packet.h"

#include <span>

#include "wire/le_bytes.h"
#include "wire/virtual_link.h"

namespace devlinx {

LinkPacket ParseLinkPacket(const uint8_t* packet, size_t length)
{
    LinkPacket result;
    if (length == 0)
        return result;
    const std::span<const uint8_t> bytes(packet, length);
    switch (bytes[0]) {
    case kovantis::kLinkHello:
        result.kind = LinkPacket::Kind::hello;
        if (length >= kovantis::kLinkHelloSize)
            result.ids = DeviceIds{kovantis::ReadU16(bytes, 1), kovantis::ReadU16(bytes, 3)};
        break;
    case kovantis::kLinkCommand:
        result.kind = LinkPacket::Kind::report;
        result.collection = Collection::command;
        result.report = packet + 1;
        result.length = length - 1;
        break;
    case kovantis::kLinkConsumer:
        // The event code is all a consumer report carries; a shorter one says nothing.
        if (length < 3)
            break;
        result.kind = LinkPacket::Kind::report;
        result.collection = Collection::consumer;
        result.report = packet + 1;
        result.length = 2;
        result.event_code = kovantis::ReadU16(bytes, 1);
        break;
    default:
        break;
    }
    return result;
}

} // namespace devlinx
