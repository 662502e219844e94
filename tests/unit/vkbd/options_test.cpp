#include "vkbd/number_text.h"
#include "vkbd/options.h"

#include <gtest/gtest.h>

#include <map>
#include <unistd.h>

namespace kovantis::vkbd {
namespace {

class OptionsTest : public ::testing::Test {
protected:
    EnvironmentLookup Environment()
    {
        return [this](const char* name) -> const char* {
            const auto it = env.find(name);
            return it == env.end() ? nullptr : it->second.c_str();
        };
    }
    ParseOutcome Parse(std::vector<std::string_view> args)
    {
        options = {};
        error.clear();
        return ParseServerOptions(args, Environment(), options, error);
    }

    std::map<std::string, std::string> env;
    ServerOptions options;
    std::string error;
};

TEST_F(OptionsTest, SocketPathsFollowTheDeviceLibrary)
{
    ASSERT_EQ(Parse({}), ParseOutcome::kRun);
    EXPECT_EQ(options.socketPath, "/tmp/kovantis-vkbd-" + std::to_string(::getuid()) + ".sock");
    env["XDG_RUNTIME_DIR"] = "/run/user/7";
    ASSERT_EQ(Parse({}), ParseOutcome::kRun);
    EXPECT_EQ(options.socketPath, "/run/user/7/kovantis-vkbd.sock");
    EXPECT_EQ(options.controlPath, "/run/user/7/kovantis-vkbd.sock.ctl");
    env["DEVLINX_VIRTUAL_SOCKET"] = "/x/link";
    ASSERT_EQ(Parse({}), ParseOutcome::kRun);
    EXPECT_EQ(options.socketPath, "/x/link");
    ASSERT_EQ(Parse({"--socket", "/y/s", "--control", "/y/c"}), ParseOutcome::kRun);
    EXPECT_EQ(options.socketPath, "/y/s");
    EXPECT_EQ(options.controlPath, "/y/c");
}

TEST_F(OptionsTest, KeyboardOptions)
{
    ASSERT_EQ(Parse({"--macro-space", "0x10", "--effects", "1,5,20", "--latency-ms", "1",
                     "--unplugged", "--state", "/s"}),
              ParseOutcome::kRun);
    EXPECT_EQ(options.keyboard.macroSpaceUnits, 16);
    EXPECT_FALSE(options.keyboard.useDefaultEffects);
    EXPECT_EQ(options.keyboard.effects[0], 1);
    EXPECT_EQ(options.keyboard.effects[1], 5);
    EXPECT_EQ(options.keyboard.effects[2], 20);
    EXPECT_EQ(options.keyboard.effects[3], 0);
    EXPECT_EQ(options.latency, std::chrono::milliseconds(1));
    EXPECT_TRUE(options.startUnplugged);
    EXPECT_EQ(options.statePath, "/s");

    ASSERT_EQ(Parse({"--effects", ""}), ParseOutcome::kRun);
    EXPECT_FALSE(options.keyboard.useDefaultEffects);
    EXPECT_EQ(options.keyboard.effects, (std::array<uint8_t, 32>{}));

    std::string many;
    for (int i = 0; i < 33; ++i) {
        many += (i ? "," : "") + std::to_string(i);
    }
    for (const auto& bad : std::vector<std::vector<std::string_view>>{
             {"--macro-space", "256"}, {"--macro-space"}, {"--effects", "1,,2"},
             {"--effects", many}, {"--latency-ms", "-1"}, {"--frobnicate"}}) {
        EXPECT_EQ(Parse(bad), ParseOutcome::kBadUsage) << bad[0];
        EXPECT_FALSE(error.empty());
    }
    EXPECT_EQ(Parse({"--frobnicate"}), ParseOutcome::kBadUsage);
    EXPECT_EQ(error, "unknown option --frobnicate");
    EXPECT_EQ(Parse({"--help"}), ParseOutcome::kHelp);
}

TEST_F(OptionsTest, UsbIdFromEnvironmentAndCommandLine)
{
    ASSERT_EQ(Parse({}), ParseOutcome::kRun);
    EXPECT_EQ(options.usbId.vendor, 0x3A7C);
    EXPECT_EQ(options.usbId.product, 0x09A1);
    env["KOVANTIS_USB_ID"] = "1234:abcd";
    ASSERT_EQ(Parse({}), ParseOutcome::kRun);
    EXPECT_EQ(options.usbId.vendor, 0x1234);
    EXPECT_EQ(options.usbId.product, 0xABCD);
    ASSERT_EQ(Parse({"--usb-id", "1:2"}), ParseOutcome::kRun);
    EXPECT_EQ(options.usbId.vendor, 1);
    EXPECT_EQ(options.usbId.product, 2);
    for (const auto* bad : {"12345:1", "1:", ":1", "1234abcd", "12g4:0001"}) {
        EXPECT_FALSE(ParseUsbId(bad)) << bad;
    }
    env["KOVANTIS_USB_ID"] = "nonsense";
    EXPECT_EQ(Parse({}), ParseOutcome::kBadUsage);
}

TEST_F(OptionsTest, ControlClientArguments)
{
    ClientOptions client;
    std::vector<std::string_view> args{"--socket", "/z/s", "delay", "100", "2"};
    ASSERT_EQ(ParseClientOptions(args, Environment(), client, error), ParseOutcome::kRun);
    EXPECT_EQ(client.controlPath, "/z/s.ctl");
    EXPECT_EQ(client.command, "delay 100 2");
    client = {};
    args = {"--control", "/c", "unplug"};
    ASSERT_EQ(ParseClientOptions(args, Environment(), client, error), ParseOutcome::kRun);
    EXPECT_EQ(client.controlPath, "/c");
    client = {};
    args = {"--control", "/c"};
    EXPECT_EQ(ParseClientOptions(args, Environment(), client, error), ParseOutcome::kBadUsage);
    args = {"--bogus", "x", "plug"};
    EXPECT_EQ(ParseClientOptions(args, Environment(), client, error), ParseOutcome::kBadUsage);
}

TEST(NumberText, ParsesAndFormats)
{
    EXPECT_EQ(ParseNumber("42", 100), 42u);
    EXPECT_EQ(ParseNumber("0x2A", 100), 42u);
    EXPECT_FALSE(ParseNumber("101", 100));
    EXPECT_FALSE(ParseNumber("4 2", 100));
    EXPECT_FALSE(ParseNumber("", 100));
    EXPECT_FALSE(ParseNumber("0x", 100));
    EXPECT_EQ(ParseHex("02ff", 0xFFFF), 0x02FFu);
    EXPECT_EQ(ParseHex("0x02FF", 0xFFFF), 0x02FFu);
    EXPECT_EQ(HexBytes(std::vector<uint8_t>{0x00, 0xAB, 0x7F}), "00 ab 7f");
    EXPECT_EQ(HexBytes({}), "");
}

} // namespace
} // namespace kovantis::vkbd
