// Any bytes as one packet from the peer on the virtual link (anyone who can create the socket
// can send them): parsing never reads past the packet, a report it hands on lies inside the
// packet, and a consumer report always carries its event code.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "link_packet.h"
#include "fuzz/fuzz_check.h"

using kovantis::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace devlinx;
    // A copy of exactly the packet's length, so that ASan sees any read past its end.
    const std::vector<uint8_t> packet(data, data + size);
    const LinkPacket parsed = ParseLinkPacket(packet.data(), packet.size());
    switch (parsed.kind) {
    case LinkPacket::Kind::ignored:
        Check(parsed.report == nullptr && parsed.length == 0 && !parsed.ids);
        break;
    case LinkPacket::Kind::hello:
        Check(size >= 1 && parsed.report == nullptr);
        Check(parsed.ids.has_value() == (size >= 5));
        break;
    case LinkPacket::Kind::report:
        Check(size >= 1 && parsed.report == packet.data() + 1);
        Check(parsed.length == size - 1 || parsed.length == 2);
        Check(parsed.report + parsed.length <= packet.data() + packet.size());
        if (parsed.collection == Collection::consumer)
            Check(parsed.length == 2 && parsed.event_code == (parsed.report[0] | parsed.report[1] << 8));
        else
            Check(parsed.collection == Collection::command && parsed.event_code == 0);
        break;
    }
    return 0;
}
