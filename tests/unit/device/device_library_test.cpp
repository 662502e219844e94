#include <gtest/gtest.h>

#include "platform/device_library.h"

namespace kovantis {
namespace {

TEST(DeviceLibrary, FailureSaysWhy)
{
    std::string error;
    EXPECT_FALSE(DeviceLibrary::Load("libkovantis-no-such-library.so", &error));
    EXPECT_NE(error.find("libkovantis-no-such-library.so"), std::string::npos) << error;

    // A library that loads but is not ours lacks the exports.
    error.clear();
    EXPECT_FALSE(DeviceLibrary::Load("libm.so.6", &error));
    EXPECT_EQ(error, "missing export Debug");
    EXPECT_FALSE(DeviceFunctions{}.Complete());
}

} // namespace
} // namespace kovantis
