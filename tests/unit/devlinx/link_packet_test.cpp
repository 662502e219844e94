#include "link_packet.h"

#include <gtest/gtest.h>

#include <vector>

namespace devlinx {
namespace {

LinkPacket Parse(const std::vector<uint8_t>& packet)
{
    return ParseLinkPacket(packet.data(), packet.size());
}

TEST(LinkPacket, AHelloNamesTheKeyboardsIdsOnlyWhenWhole)
{
    const LinkPacket hello = Parse({0x00, 0x7C, 0x3A, 0xA1, 0x09});
    EXPECT_EQ(hello.kind, LinkPacket::Kind::hello);
    EXPECT_EQ(hello.ids, (DeviceIds{0x3A7C, 0x09A1}));
    // A short hello is still the hello (the connection is judged by it) but names no keyboard.
    const LinkPacket short_hello = Parse({0x00, 0x7C, 0x3A, 0xA1});
    EXPECT_EQ(short_hello.kind, LinkPacket::Kind::hello);
    EXPECT_EQ(short_hello.ids, std::nullopt);
}

TEST(LinkPacket, ReportsPointIntoThePacketAndTooShortOrUnknownOnesAreIgnored)
{
    std::vector<uint8_t> command(65, 0);
    command[0] = 0x01;
    command[1] = 0x04;
    const LinkPacket reply = ParseLinkPacket(command.data(), command.size());
    EXPECT_EQ(reply.kind, LinkPacket::Kind::report);
    EXPECT_EQ(reply.collection, Collection::command);
    EXPECT_EQ(reply.report, command.data() + 1);
    EXPECT_EQ(reply.length, 64u);

    const std::vector<uint8_t> consumer{0x02, 0xE9, 0x00, 0x55};
    const LinkPacket volume = ParseLinkPacket(consumer.data(), consumer.size());
    EXPECT_EQ(volume.kind, LinkPacket::Kind::report);
    EXPECT_EQ(volume.collection, Collection::consumer);
    EXPECT_EQ(volume.length, 2u);
    EXPECT_EQ(volume.event_code, 0x00E9);

    EXPECT_EQ(Parse({0x02, 0xE9}).kind, LinkPacket::Kind::ignored);
    EXPECT_EQ(Parse({0x03, 0x01}).kind, LinkPacket::Kind::ignored);  // status goes host to keyboard
    EXPECT_EQ(Parse({0x7F}).kind, LinkPacket::Kind::ignored);
    EXPECT_EQ(ParseLinkPacket(nullptr, 0).kind, LinkPacket::Kind::ignored);
}

} // namespace
} // namespace devlinx
