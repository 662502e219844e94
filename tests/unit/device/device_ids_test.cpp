#include <gtest/gtest.h>

#include <cstdlib>

#include "device/device_ids.h"

namespace kovantis {
namespace {

TEST(DeviceIds, ParsedFromHexPairOrDefault)
{
    const auto ids = ParseDeviceIds("1a2B:00ff");
    ASSERT_TRUE(ids);
    EXPECT_EQ(ids->vendorId, 0x1A2B);
    EXPECT_EQ(ids->productId, 0x00FF);
    for (const char* bad : {"", "1234", "12345:1", "1:", ":1", "xyz:1", "1:2:3", "-1:2", "1 :2"})
        EXPECT_FALSE(ParseDeviceIds(bad)) << bad;

    setenv("KOVANTIS_USB_ID", "0001:0002", 1);
    EXPECT_EQ(DeviceIdsFromEnvironment().productId, 0x0002);
    setenv("KOVANTIS_USB_ID", "garbage", 1);
    EXPECT_EQ(DeviceIdsFromEnvironment().vendorId, DEVLINX_DEFAULT_VENDOR_ID);
    unsetenv("KOVANTIS_USB_ID");

    const DeviceSelector s = CommandSelector(DeviceIds{0x1111, 0x2222});
    EXPECT_EQ(s.match_mask, 15u);
    EXPECT_EQ(s.vendor_id, 0x1111);
    EXPECT_EQ(s.product_id, 0x2222);
    EXPECT_EQ(s.usage_page, 0xFF1C);
    EXPECT_EQ(s.usage, 0x0092);
    EXPECT_EQ(ConsumerSelector({}).usage_page, 0x000C);
    EXPECT_EQ(StatusSelector({}).usage, 0x0089);
}

} // namespace
} // namespace kovantis
