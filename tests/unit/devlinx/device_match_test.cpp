#include "device_match.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace devlinx {
namespace {

TEST(DeviceMatch, UsbIdTextIsTwoHexNumbersOfUpToFourDigits)
{
    EXPECT_EQ(ParseUsbId("3a7c:09a1"), (DeviceIds{0x3A7C, 0x09A1}));
    EXPECT_EQ(ParseUsbId("3A7C:9A1"), (DeviceIds{0x3A7C, 0x09A1}));
    EXPECT_EQ(ParseUsbId("0:ffff"), (DeviceIds{0x0000, 0xFFFF}));
    for (const char* bad : {"", ":", "3a7c", "3a7c:", ":09a1", "13a7c:09a1", "3a7c:109a1",
                            "3a7c:09a1x", " 3a7c:09a1", "3a7c :09a1", "0x3a7c:09a1", "+3a7:1",
                            "-1:1", "3a7c:09a1:1", "g000:0001", "3a7c-09a1"})
        EXPECT_EQ(ParseUsbId(bad), std::nullopt) << bad;
}

TEST(DeviceMatch, EnvironmentOverridesTheDefaultIdsOnlyWhenWellFormed)
{
    ::unsetenv("KOVANTIS_USB_ID");
    EXPECT_EQ(UsbIdsFromEnvironment(), (DeviceIds{DEVLINX_DEFAULT_VENDOR_ID, DEVLINX_DEFAULT_PRODUCT_ID}));
    ::setenv("KOVANTIS_USB_ID", "1234:abcd", 1);
    EXPECT_EQ(UsbIdsFromEnvironment(), (DeviceIds{0x1234, 0xABCD}));
    ::setenv("KOVANTIS_USB_ID", "1234", 1);
    EXPECT_EQ(UsbIdsFromEnvironment(), DeviceIds{});
    ::setenv("KOVANTIS_USB_ID", "", 1);
    EXPECT_EQ(UsbIdsFromEnvironment(), DeviceIds{});
    ::unsetenv("KOVANTIS_USB_ID");
}

TEST(DeviceMatch, SelectorNamesACollectionOnlyWithTheKeyboardsIdsAndTheFullMask)
{
    const DeviceIds ids{0x3A7C, 0x09A1};
    const auto selector = [](uint32_t mask, uint16_t vendor, uint16_t product, uint16_t page,
                             uint16_t usage) {
        DeviceSelector s{};
        s.match_mask = mask;
        s.vendor_id = vendor;
        s.product_id = product;
        s.usage_page = page;
        s.usage = usage;
        return s;
    };
    EXPECT_EQ(CollectionOfSelector(selector(15, 0x3A7C, 0x09A1, 0xFF1C, 0x92), ids),
              Collection::command);
    EXPECT_EQ(CollectionOfSelector(selector(15, 0x3A7C, 0x09A1, 0x0C, 0x01), ids),
              Collection::consumer);
    EXPECT_EQ(CollectionOfSelector(selector(15, 0x3A7C, 0x09A1, 0x08, 0x89), ids),
              Collection::status);
    EXPECT_EQ(CollectionOfSelector(selector(15, 0x3A7D, 0x09A1, 0xFF1C, 0x92), ids), std::nullopt);
    EXPECT_EQ(CollectionOfSelector(selector(15, 0x3A7C, 0x09A2, 0xFF1C, 0x92), ids), std::nullopt);
    EXPECT_EQ(CollectionOfSelector(selector(7, 0x3A7C, 0x09A1, 0xFF1C, 0x92), ids), std::nullopt);
    // Page and usage of different collections do not mix.
    EXPECT_EQ(CollectionOfSelector(selector(15, 0x3A7C, 0x09A1, 0xFF1C, 0x01), ids), std::nullopt);
    EXPECT_EQ(CollectionOfSelector(selector(15, 0x3A7C, 0x09A1, 0x0C, 0x89), ids), std::nullopt);
}

} // namespace
} // namespace devlinx
