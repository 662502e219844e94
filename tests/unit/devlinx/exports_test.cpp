// The exports' argument checks, without a keyboard: the virtual backend waits for a socket that
// never appears.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "devlinx.h"

namespace {

int32_t Ignore(const DevlinxNotification*)
{
    return 1;
}

DeviceSelector Selector(uint16_t page, uint16_t usage)
{
    DeviceSelector s{};
    s.match_mask = DEVLINX_MATCH_ALL;
    s.vendor_id = DEVLINX_DEFAULT_VENDOR_ID;
    s.product_id = DEVLINX_DEFAULT_PRODUCT_ID;
    s.usage_page = page;
    s.usage = usage;
    return s;
}

class Exports : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("DEVLINX_BACKEND", "virtual", 1);
        ::setenv("DEVLINX_VIRTUAL_SOCKET",
                 ("/tmp/devlinx-exports-" + std::to_string(::getpid()) + ".sock").c_str(), 1);
        ::unsetenv("KOVANTIS_USB_ID");
        ASSERT_EQ(Init(0), 1);
    }
    void TearDown() override { EXPECT_EQ(End(), 1); }

    const DeviceSelector command_ = Selector(DEVLINX_PAGE_COMMAND, DEVLINX_USAGE_COMMAND);
    const DeviceSelector status_ = Selector(DEVLINX_PAGE_STATUS, DEVLINX_USAGE_STATUS);
};

TEST_F(Exports, EveryCheckedCallRefusesAWrongCheckOrMalformedArguments)
{
    uint8_t report[64] = {0x04, 0x01, 0x00, 0x01};
    const uint32_t count_check = devlinx_check_count(&command_);
    const uint32_t write_check = devlinx_check_write(&command_, report, sizeof report);

    EXPECT_EQ(RequestGetDeviceCount(&command_, 0, 0, count_check, 0), 0);
    EXPECT_EQ(RequestGetDeviceCount(&command_, 0, 0, count_check + 1, 0), -1);
    EXPECT_EQ(RequestGetDeviceCount(&command_, 1, 0, count_check, 0), -1);
    EXPECT_EQ(RequestGetDeviceCount(nullptr, 0, 0, count_check, 0), -1);

    // Valid writes with no keyboard give 0; wrong ones are refused before that.
    EXPECT_EQ(RequestWriteOne(&command_, 0, 0, report, 64, write_check, 0), 0);
    EXPECT_EQ(RequestWrite(&command_, 0, 0, report, 64, write_check, 0), 0);
    EXPECT_EQ(RequestWriteOne(&command_, 0, 0, report, 64, write_check - 1, 0), -1);
    EXPECT_EQ(RequestWrite(&command_, 0, 0, report, 64, write_check ^ 0x100, 0), -1);
    EXPECT_EQ(RequestWriteOne(&command_, 0, 0, report, 64, write_check, 7), -1);
    EXPECT_EQ(RequestWriteOne(&command_, 0, 0, nullptr, 64, write_check, 0), -1);
    EXPECT_EQ(RequestWriteOne(&command_, 0, 0, report, -64, write_check, 0), -1);
    // The check covers the report: one changed byte is a wrong check.
    report[10] = 0x55;
    EXPECT_EQ(RequestWriteOne(&command_, 0, 0, report, 64, write_check, 0), -1);
    // A command report is the 64-byte frame.
    EXPECT_EQ(RequestWriteOne(&command_, 0, 0, report, 63,
                              devlinx_check_write(&command_, report, 63), 0),
              -1);

    uint8_t feature[8] = {0x05};
    EXPECT_EQ(RequestStatusGet(&status_, feature, 8, devlinx_check_status_get(&status_)), 0);
    EXPECT_EQ(RequestStatusGet(&status_, feature, 8, devlinx_check_status_get(&status_) + 3), -1);
    EXPECT_EQ(RequestStatusSetFeature(&status_, feature, 8,
                                      devlinx_check_set_feature(&status_, feature, 8)),
              0);
    EXPECT_EQ(RequestStatusSetFeature(&status_, feature, 8,
                                      devlinx_check_set_feature(&status_, feature, 7)),
              -1);
    EXPECT_EQ(DeleteRequestFromHandle(1), 0);
}

TEST_F(Exports, RegistrationsGetUniquePositiveUnitIdsOnlyWithTheRightCheck)
{
    const uint8_t led[2] = {0x05, 0x02};
    int32_t unit = -5;
    EXPECT_EQ(RequestAsyncRead(&command_, Ignore, DEVLINX_TAG_CTRL,
                               devlinx_check_register(&command_, Ignore, DEVLINX_TAG_CONS, nullptr, 0),
                               &unit),
              -1);
    EXPECT_EQ(RequestStatusWrite(&status_, Ignore, DEVLINX_TAG_LED, led, 2,
                                 devlinx_check_register(&status_, Ignore, DEVLINX_TAG_LED, led, 1),
                                 &unit),
              -1);
    EXPECT_EQ(RequestAsyncRead(&command_, nullptr, DEVLINX_TAG_CTRL,
                               devlinx_check_register(&command_, nullptr, DEVLINX_TAG_CTRL, nullptr, 0),
                               &unit),
              -1);
    EXPECT_EQ(RequestAsyncRead(&command_, Ignore, DEVLINX_TAG_CTRL,
                               devlinx_check_register(&command_, Ignore, DEVLINX_TAG_CTRL, nullptr, 0),
                               nullptr),
              -1);
    EXPECT_EQ(unit, -5) << "a refused registration leaves the unit id alone";

    int32_t ctrl = 0, cons = 0, led_unit = 0, stranger = 0;
    EXPECT_EQ(RequestAsyncRead(&command_, Ignore, DEVLINX_TAG_CTRL,
                               devlinx_check_register(&command_, Ignore, DEVLINX_TAG_CTRL, nullptr, 0),
                               &ctrl),
              1);
    const DeviceSelector consumer = Selector(DEVLINX_PAGE_CONSUMER, DEVLINX_USAGE_CONSUMER);
    EXPECT_EQ(RequestAsyncRead(&consumer, Ignore, DEVLINX_TAG_CONS,
                               devlinx_check_register(&consumer, Ignore, DEVLINX_TAG_CONS, nullptr, 0),
                               &cons),
              1);
    EXPECT_EQ(RequestStatusWrite(&status_, Ignore, DEVLINX_TAG_LED, led, 2,
                                 devlinx_check_register(&status_, Ignore, DEVLINX_TAG_LED, led, 2),
                                 &led_unit),
              1);
    // Another keyboard's selector registers too; it simply never hears anything.
    DeviceSelector other = command_;
    other.product_id = 0x0001;
    EXPECT_EQ(RequestAsyncRead(&other, Ignore, DEVLINX_TAG_CTRL,
                               devlinx_check_register(&other, Ignore, DEVLINX_TAG_CTRL, nullptr, 0),
                               &stranger),
              1);
    for (int32_t id : {ctrl, cons, led_unit, stranger})
        EXPECT_GT(id, 0);
    EXPECT_NE(ctrl, cons);
    EXPECT_NE(cons, led_unit);
    EXPECT_NE(led_unit, stranger);
    EXPECT_NE(ctrl, stranger);

    EXPECT_EQ(DeleteRequestFromUnitId(0), 0);
    EXPECT_EQ(DeleteRequestFromUnitId(-3), 0);
    EXPECT_EQ(DeleteRequestFromUnitId(led_unit), 1);
    EXPECT_EQ(DeleteRequestFromUnitId(led_unit), 0);

    // Ids are never given out twice, not even after End and Init.
    ASSERT_EQ(End(), 1);
    ASSERT_EQ(Init(0), 1);
    int32_t again = 0;
    EXPECT_EQ(RequestAsyncRead(&command_, Ignore, DEVLINX_TAG_CTRL,
                               devlinx_check_register(&command_, Ignore, DEVLINX_TAG_CTRL, nullptr, 0),
                               &again),
              1);
    EXPECT_GT(again, stranger);
    EXPECT_EQ(DeleteRequestFromUnitId(ctrl), 0) << "End dropped the earlier registrations";
}

TEST(ExportsLifecycle, InitIsIdempotentAndRefusesAnUnknownBackend)
{
    ::setenv("DEVLINX_BACKEND", "serial", 1);
    EXPECT_EQ(Init(0), 0);
    const DeviceSelector command = Selector(DEVLINX_PAGE_COMMAND, DEVLINX_USAGE_COMMAND);
    EXPECT_EQ(RequestGetDeviceCount(&command, 0, 0, devlinx_check_count(&command), 0), 0);
    ::setenv("DEVLINX_BACKEND", "virtual", 1);
    ::setenv("DEVLINX_VIRTUAL_SOCKET", "/nonexistent-folder/deeper/kbd.sock", 1);
    EXPECT_EQ(Init(0), 1);
    EXPECT_EQ(Init(0), 1);
    EXPECT_EQ(End(), 1);
    EXPECT_EQ(End(), 1);
    // The real keyboard's backend runs without one: nothing is found, nothing fails.
    ::setenv("DEVLINX_BACKEND", "hidraw", 1);
    EXPECT_EQ(Init(0), 1);
    EXPECT_EQ(RequestGetDeviceCount(&command, 0, 0, devlinx_check_count(&command), 0), 0);
    const uint8_t report[64] = {0x04};
    EXPECT_EQ(RequestWriteOne(&command, 0, 0, report, 64,
                              devlinx_check_write(&command, report, 64), 0),
              0);
    EXPECT_EQ(End(), 1);
    EXPECT_EQ(Debug(0), 1);
}

} // namespace
