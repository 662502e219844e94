// Reports both ways over the virtual link, byte for byte, and calls the library refuses.
#include <algorithm>

#include "link_fixture.h"

namespace devlinx_test {
namespace {

Recorder& Record()
{
    return Recorder::Instance();
}

std::vector<Heard> ReportsWith(uint32_t tag)
{
    std::vector<Heard> reports;
    for (const auto& h : Record().With(tag))
        if (h.kind == DEVLINX_NOTIFY_REPORT)
            reports.push_back(h);
    return reports;
}

bool WaitForReports(uint32_t tag, size_t count)
{
    return Record().WaitFor([&](const std::vector<Heard>& heard) {
        return std::count_if(heard.begin(), heard.end(), [&](const Heard& h) {
                   return h.tag == tag && h.kind == DEVLINX_NOTIFY_REPORT;
               }) >= static_cast<long>(count);
    });
}

Packet WithType(uint8_t type, const Packet& report)
{
    Packet packet(1 + report.size(), type);
    std::copy(report.begin(), report.end(), packet.begin() + 1);
    return packet;
}

TEST_F(VirtualLinkTest, CommandReportsGoOutAsPackets1AndRepliesReachTheCommandListeners)
{
    StartLibrary();
    Listen(kCommand, DEVLINX_TAG_CTRL);
    Listen(kConsumer, DEVLINX_TAG_CONS);
    PlugIn();

    const Packet request = CommandReport(0x03, 0x5A);
    EXPECT_EQ(WriteOne(kCommand, request), 1);
    EXPECT_EQ(keyboard_->Receive(), WithType(0x01, request));
    Packet same_by_request_write = request;
    EXPECT_EQ(RequestWrite(&kCommand, 0, 0, same_by_request_write.data(), 64,
                           devlinx_check_write(&kCommand, request.data(), 64), 0),
              1);
    EXPECT_EQ(keyboard_->Receive(), WithType(0x01, request));

    Packet reply = CommandReport(0x03, 0xA5);
    reply[7] = 0xFF;
    keyboard_->Send(WithType(0x01, reply));
    ASSERT_TRUE(WaitForReports(DEVLINX_TAG_CTRL, 1));
    const auto heard = ReportsWith(DEVLINX_TAG_CTRL);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].report, reply) << "the 64 bytes as sent, report id first";
    EXPECT_EQ(heard[0].event_code, 0);

    // A reply of any length is delivered as it came; the caller decides what to keep.
    keyboard_->Send({0x01, 0x04, 0x00});
    keyboard_->Send(WithType(0x01, Packet(300, 0x11)));
    ASSERT_TRUE(WaitForReports(DEVLINX_TAG_CTRL, 3));
    EXPECT_EQ(ReportsWith(DEVLINX_TAG_CTRL)[1].report, (Packet{0x04, 0x00}));
    EXPECT_EQ(ReportsWith(DEVLINX_TAG_CTRL)[2].report, Packet(300, 0x11));
    EXPECT_TRUE(ReportsWith(DEVLINX_TAG_CONS).empty());
}

TEST_F(VirtualLinkTest, ConsumerEventsCarryTheirCodeAndReachOnlyConsumerListeners)
{
    StartLibrary();
    Listen(kCommand, DEVLINX_TAG_CTRL);
    Listen(kConsumer, DEVLINX_TAG_CONS);
    PlugIn();

    keyboard_->Send({0x02, 0xFF, 0x02});
    keyboard_->Send({0x02, 0x01});             // too short to hold a code
    keyboard_->Send({0x07, 0x01, 0x02, 0x03}); // no collection of ours
    keyboard_->Send({0x02, 0x01, 0x04});
    keyboard_->Send({0x02, 0x11, 0x18, 0x99}); // the code is the first two bytes
    ASSERT_TRUE(WaitForReports(DEVLINX_TAG_CONS, 3));
    const auto heard = ReportsWith(DEVLINX_TAG_CONS);
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_EQ(heard[0].event_code, 0x02FF);
    EXPECT_EQ(heard[0].report, (Packet{0xFF, 0x02}));
    EXPECT_EQ(heard[1].event_code, 0x0401);
    EXPECT_EQ(heard[2].event_code, 0x1811);
    EXPECT_EQ(heard[2].report, (Packet{0x11, 0x18}));
    EXPECT_TRUE(ReportsWith(DEVLINX_TAG_CTRL).empty());
}

TEST_F(VirtualLinkTest, StatusWriteSendsPacket3AndRegistersUntilDeleted)
{
    StartLibrary();
    // Without a keyboard the registration still stands; nothing is sent, now or later.
    const int32_t early = StatusWrite(kStatus, 0x4C454430, {0x05, 0x02});
    EXPECT_GT(early, 0);
    PlugIn();
    ASSERT_TRUE(Record().WaitForCount(0x4C454430, 1));

    const int32_t first = StatusWrite(kStatus, DEVLINX_TAG_LED, {0x05, 0x03});
    EXPECT_EQ(keyboard_->Receive(), (Packet{0x03, 0x05, 0x03}));
    EXPECT_GT(first, early);
    EXPECT_EQ(DeleteRequestFromUnitId(first), 1);
    const int32_t second = StatusWrite(kStatus, DEVLINX_TAG_LED, {0x05, 0x02});
    EXPECT_EQ(keyboard_->Receive(), (Packet{0x03, 0x05, 0x02}));
    EXPECT_GT(second, first);
    EXPECT_EQ(DeleteRequestFromUnitId(early), 1);

    // Only the live registration hears the removal.
    keyboard_->Hangup();
    ASSERT_TRUE(Record().WaitForCount(kPresenceTag, 0));
    ASSERT_TRUE(Record().WaitForCount(DEVLINX_TAG_LED, 0));
    EXPECT_EQ(Record().Counts(DEVLINX_TAG_LED), std::vector<int32_t>{0});
    EXPECT_EQ(Record().Counts(0x4C454430), std::vector<int32_t>{1})
        << "the early one heard the arrival only";
}

TEST_F(VirtualLinkTest, RefusedCallsSendNothing)
{
    StartLibrary();
    PlugIn();
    const Packet request = CommandReport(0x01);
    const uint32_t check = devlinx_check_write(&kCommand, request.data(), request.size());
    EXPECT_EQ(RequestWriteOne(&kCommand, 0, 0, request.data(), 64, check + 1, 0), -1);
    const Packet led = {0x05, 0x03};
    int32_t unit = 0;
    EXPECT_EQ(RequestStatusWrite(&kStatus, Recorder::Callback, DEVLINX_TAG_LED, led.data(), 2,
                                 devlinx_check_register(&kStatus, Recorder::Callback,
                                                        DEVLINX_TAG_CONS, led.data(), 2),
                                 &unit),
              -1);
    EXPECT_EQ(unit, 0);
    // Consumer reports go only from the keyboard to the host.
    EXPECT_EQ(WriteOne(kConsumer, {0xFF, 0x02}), 0);
    // The first packet the keyboard sees is the first call that was let through.
    const Packet sentinel = CommandReport(0x7E);
    EXPECT_EQ(WriteOne(kCommand, sentinel), 1);
    EXPECT_EQ(keyboard_->Receive(), WithType(0x01, sentinel));
    EXPECT_TRUE(ReportsWith(DEVLINX_TAG_LED).empty());
}

} // namespace
} // namespace devlinx_test
