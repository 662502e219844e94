// kovantis-vkbd as a host sees it: the raw wire protocol over its link socket, and its
// control channel.

#include "integration/vkbd/seqpacket_client.h"
#include "integration/vkbd/vkbd_process.h"
#include "keyboard/default_layout.h"
#include "unit/vkbd/model_requests.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace kovantis::vkbd {
namespace {

using testing::MakeRequest;
using testing::PathExists;
using testing::SeqpacketClient;
using testing::VkbdProcess;

class VkbdLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = testing::MakeTestFolder();
        ASSERT_FALSE(folder_.empty());
        vkbd_ = std::make_unique<VkbdProcess>(folder_);
    }
    void TearDown() override
    {
        vkbd_.reset();
        std::filesystem::remove_all(folder_);
    }

    // Starts the keyboard and connects a host, checking the hello.
    void StartAndConnect(const std::vector<std::string>& arguments = {})
    {
        ASSERT_TRUE(vkbd_->Start(arguments));
        Connect();
    }
    void Connect()
    {
        ASSERT_TRUE(host_.Connect(vkbd_->SocketPath()));
        const auto hello = host_.Receive();
        ASSERT_TRUE(hello);
        EXPECT_EQ(*hello, (std::vector<uint8_t>{0x00, 0x7C, 0x3A, 0xA1, 0x09}));
    }
    std::array<uint8_t, 64> Exchange(uint8_t command, size_t length, size_t address,
                                     std::vector<uint8_t> data = {})
    {
        const auto reply = host_.Exchange(MakeRequest(command, length, address, data));
        EXPECT_TRUE(reply) << "no reply to command " << int(command);
        return reply.value_or(std::array<uint8_t, 64>{});
    }
    // Expects the connection to have been closed by the keyboard.
    void ExpectClosed()
    {
        const auto packet = host_.Receive();
        ASSERT_TRUE(packet);
        EXPECT_TRUE(packet->empty());
    }

    std::string folder_;
    std::unique_ptr<VkbdProcess> vkbd_;
    SeqpacketClient host_;
};

TEST_F(VkbdLinkTest, CommandsRoundTripAndMalformedPacketsAreIgnored)
{
    StartAndConnect({"--macro-space", "2", "--effects", "1,5,20"});
    auto reply = Exchange(kCmdReadSettings, 44, 0);
    EXPECT_EQ(reply[kCommandOffset], kCmdReadSettings);
    EXPECT_EQ(reply[kStatusOffset], kStatusOk);
    EXPECT_EQ(reply[kDataOffset + kSettingsMacroSpace], 2);
    EXPECT_EQ(reply[kDataOffset + 12], 1);
    EXPECT_EQ(reply[kDataOffset + 13], 5);
    EXPECT_EQ(reply[kDataOffset + 14], 20);

    reply = Exchange(kCmdReadFactoryKeymap, 56, 0);
    EXPECT_TRUE(std::equal(reply.begin() + 8, reply.end(), kovantis::DefaultLayoutBytes().begin()));

    const std::vector<uint8_t> chunk(42, 0x5C);
    EXPECT_EQ(Exchange(kCmdWriteKeymap, 42, 2 * 378 + 336, chunk)[kStatusOffset], kStatusOk);
    reply = Exchange(kCmdReadKeymap, 42, 2 * 378 + 336);
    EXPECT_TRUE(std::equal(chunk.begin(), chunk.end(), reply.begin() + 8));
    EXPECT_EQ(Exchange(kCmdReadMacroArea, 1, 256)[kStatusOffset], kStatusRefused);
    EXPECT_EQ(Exchange(kCmdReadMacroArea, 1, 255)[kStatusOffset], kStatusOk);

    // Garbage on the link changes nothing and the next request is still answered.
    const auto good = MakeRequest(kCmdReadSettings, 44, 0);
    std::vector<uint8_t> shortCommand{0x01};
    shortCommand.insert(shortCommand.end(), good.begin(), good.begin() + 20);
    std::vector<uint8_t> longCommand{0x01};
    longCommand.insert(longCommand.end(), good.begin(), good.end());
    longCommand.resize(200, 0xAA);
    for (const auto& junk : std::vector<std::vector<uint8_t>>{
             {}, {0x01}, {0x07, 1, 2, 3}, {0x00, 1, 2, 3, 4}, {0x02, 0xFF, 0x02}, {0x03},
             shortCommand, longCommand}) {
        ASSERT_TRUE(host_.Send(junk));
    }
    EXPECT_EQ(Exchange(kCmdReadSettings, 44, 0)[kStatusOffset], kStatusOk);

    // The host's status output is kept (the bank LEDs).
    ASSERT_TRUE(host_.Send(std::vector<uint8_t>{0x03, 0x05, 0x03}));
    EXPECT_EQ(Exchange(kCmdBeginTransfer, 0, 0)[kStatusOffset], kStatusOk);
    EXPECT_EQ(vkbd_->Control("dump status"), "ok 05 03");
    EXPECT_EQ(vkbd_->Control("dump macro 0 2"), "ok 00 00");
    EXPECT_TRUE(vkbd_->Control("info").find("in-transfer=yes") != std::string::npos);
    EXPECT_EQ(vkbd_->Stop(), 0);
}

TEST_F(VkbdLinkTest, EventsPlugAndUnplug)
{
    StartAndConnect();
    EXPECT_EQ(vkbd_->Control("event 1811"), "ok event 1811");
    EXPECT_EQ(host_.Receive(), (std::vector<uint8_t>{0x02, 0x11, 0x18}));
    EXPECT_EQ(vkbd_->Control("bank"), "ok event 02ff");
    EXPECT_EQ(host_.Receive(), (std::vector<uint8_t>{0x02, 0xFF, 0x02}));
    EXPECT_EQ(vkbd_->Control("lighting 1 15 3"), "ok lighting changed, event 0401 sent");
    EXPECT_EQ(host_.Receive(), (std::vector<uint8_t>{0x02, 0x01, 0x04}));
    EXPECT_EQ(Exchange(kCmdReadProfileRecord, 56, 42)[kDataOffset + 15], 3);

    EXPECT_EQ(vkbd_->Control("unplug"), "ok unplugged");
    ExpectClosed();
    EXPECT_FALSE(PathExists(vkbd_->SocketPath()));
    EXPECT_EQ(vkbd_->Control("event 1810"), "error no host is connected");
    EXPECT_EQ(vkbd_->Control("plug"), "ok plugged");
    Connect();
    EXPECT_EQ(Exchange(kCmdReadProfileRecord, 56, 42)[kDataOffset + 15], 3);
}

TEST_F(VkbdLinkTest, StartsUnpluggedWhenAsked)
{
    ASSERT_TRUE(vkbd_->Start({"--unplugged"}));
    EXPECT_FALSE(PathExists(vkbd_->SocketPath()));
    EXPECT_TRUE(vkbd_->Control("info").starts_with("ok plugged=no host=no"));
    EXPECT_EQ(vkbd_->Control("plug"), "ok plugged");
    Connect();
    EXPECT_TRUE(vkbd_->Control("info").starts_with("ok plugged=yes host=yes"));
}

TEST_F(VkbdLinkTest, OneHostAtATime)
{
    StartAndConnect();
    SeqpacketClient second;
    ASSERT_TRUE(second.Connect(vkbd_->SocketPath()));
    EXPECT_EQ(Exchange(kCmdBeginTransfer, 0, 0)[kStatusOffset], kStatusOk);
    EXPECT_FALSE(second.Receive(50));  // waits while the first host is connected
    host_.Close();
    const auto hello = second.Receive();
    ASSERT_TRUE(hello);
    EXPECT_EQ((*hello)[0], 0x00);
}

TEST_F(VkbdLinkTest, InjectedFaults)
{
    StartAndConnect();
    const auto settings = MakeRequest(kCmdReadSettings, 44, 0);

    EXPECT_EQ(vkbd_->Control("drop 1"), "ok dropping the next 1 replies");
    EXPECT_FALSE(host_.Exchange(settings, 100));
    EXPECT_EQ(Exchange(kCmdReadSettings, 44, 0)[kStatusOffset], kStatusOk);

    // A refused write is not carried out.
    EXPECT_TRUE(vkbd_->Control("refuse ff").starts_with("ok"));
    auto reply = Exchange(kCmdWriteKeymap, 3, 0, {9, 9, 9});
    EXPECT_EQ(reply[kCommandOffset], kCmdWriteKeymap);
    EXPECT_EQ(reply[kStatusOffset], 0xFF);
    EXPECT_EQ(vkbd_->Control("dump keymap 0").substr(0, 11),
              vkbd_->Control("dump factory").substr(0, 11));
    EXPECT_TRUE(vkbd_->Control("refuse fe 2").starts_with("ok"));
    EXPECT_EQ(Exchange(kCmdBeginTransfer, 0, 0)[kStatusOffset], 0xFE);
    EXPECT_EQ(Exchange(kCmdEndTransfer, 0, 0)[kStatusOffset], 0xFE);
    EXPECT_EQ(Exchange(kCmdEndTransfer, 0, 0)[kStatusOffset], kStatusOk);

    EXPECT_TRUE(vkbd_->Control("wrong-command").starts_with("ok"));
    reply = Exchange(kCmdReadSettings, 44, 0);
    EXPECT_NE(reply[kCommandOffset], kCmdReadSettings);
    EXPECT_EQ(ReadU16(reply, kChecksumOffset), ReportChecksum(reply));

    EXPECT_TRUE(vkbd_->Control("delay 30 2").starts_with("ok"));
    EXPECT_EQ(Exchange(kCmdReadSettings, 44, 0)[kStatusOffset], kStatusOk);
    EXPECT_EQ(Exchange(kCmdReadSettings, 44, 0)[kStatusOffset], kStatusOk);

    EXPECT_EQ(vkbd_->Control("latency 1"), "ok latency 1 ms");
    EXPECT_TRUE(vkbd_->Control("info").ends_with("latency-ms=1"));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Exchange(kCmdReadKeymap, 56, 56 * i)[kStatusOffset], kStatusOk);
    }
    // Events keep flowing while replies are held back. The reply is held long enough that the
    // event cannot lose the race on a busy machine (the bank command needs one control round trip).
    EXPECT_TRUE(vkbd_->Control("delay 1000").starts_with("ok"));
    ASSERT_TRUE(host_.Send([&] {
        std::vector<uint8_t> p{0x01};
        p.insert(p.end(), settings.begin(), settings.end());
        return p;
    }()));
    EXPECT_EQ(vkbd_->Control("bank"), "ok event 02ff");
    EXPECT_EQ(host_.Receive(), (std::vector<uint8_t>{0x02, 0xFF, 0x02}));
    const auto late = host_.Receive();
    ASSERT_TRUE(late);
    EXPECT_EQ((*late)[0], 0x01);
}

TEST_F(VkbdLinkTest, BootLoaderCommandTakesTheKeyboardOffTheLink)
{
    StartAndConnect();
    std::vector<uint8_t> boot(65, 0);
    boot[0] = 0x01;
    boot[1] = kReportId;
    boot[1 + kCommandOffset] = 0xEE;
    boot[1 + kLengthOffset] = 0xEE;
    ASSERT_TRUE(host_.Send(boot));
    ExpectClosed();
    EXPECT_FALSE(PathExists(vkbd_->SocketPath()));
    EXPECT_EQ(vkbd_->Control("plug"), "ok plugged");
    Connect();
    EXPECT_EQ(Exchange(kCmdReadSettings, 44, 0)[kStatusOffset], kStatusOk);
}

TEST_F(VkbdLinkTest, MemoryPersistsAcrossRestarts)
{
    const std::string state = vkbd_->StatePath();
    StartAndConnect({"--state", state});
    std::vector<uint8_t> settings(44, 0);
    std::copy_n(Exchange(kCmdReadSettings, 44, 0).begin() + 8, 44, settings.begin());
    settings[kSettingsActiveProfile] = 2;
    EXPECT_EQ(Exchange(kCmdWriteSettings, 44, 0, settings)[kStatusOffset], kStatusOk);
    EXPECT_TRUE(PathExists(state));  // written before the reply

    // Inside a transfer the file waits for its end; a host that leaves ends it too.
    EXPECT_EQ(Exchange(kCmdBeginTransfer, 0, 0)[kStatusOffset], kStatusOk);
    EXPECT_EQ(Exchange(kCmdWriteMacroArea, 2, 0, {0xAA, 0x55})[kStatusOffset], kStatusOk);
    EXPECT_EQ(Exchange(kCmdEndTransfer, 0, 0)[kStatusOffset], kStatusOk);
    EXPECT_EQ(Exchange(kCmdBeginTransfer, 0, 0)[kStatusOffset], kStatusOk);
    EXPECT_EQ(Exchange(kCmdWriteKeymap, 1, 378, {0x77})[kStatusOffset], kStatusOk);
    EXPECT_EQ(vkbd_->Control("lighting 0 0 9"), "ok lighting changed, event 0401 sent");
    EXPECT_EQ(vkbd_->Stop(), 0);

    ASSERT_TRUE(vkbd_->Start({"--state", state}));
    EXPECT_TRUE(vkbd_->Control("info").find("active-profile=2") != std::string::npos);
    EXPECT_EQ(vkbd_->Control("dump macro 0 2"), "ok aa 55");
    EXPECT_TRUE(vkbd_->Control("dump keymap 1").starts_with("ok 77 "));
    EXPECT_TRUE(vkbd_->Control("dump profiles").starts_with("ok 09 "));
    EXPECT_EQ(vkbd_->Control("quit"), "ok quitting");
    EXPECT_EQ(vkbd_->Wait(), 0);

    // A file that is not a state file is neither used nor overwritten.
    { std::ofstream(state, std::ios::trunc) << "my notes"; }
    EXPECT_FALSE(vkbd_->Start({"--state", state}));
    std::ifstream in(state);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "my notes");
}

TEST_F(VkbdLinkTest, ControlClientMode)
{
    ASSERT_TRUE(vkbd_->Start({}));
    const auto run = [&](const std::string& arguments, std::string& output) {
        const std::string command = testing::BinDir() + "/kovantis-vkbd ctl " + arguments;
        FILE* pipe = ::popen(command.c_str(), "r");
        char buffer[512] = {};
        output = std::fgets(buffer, sizeof buffer, pipe) ? buffer : "";
        const int status = ::pclose(pipe);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    std::string output;
    EXPECT_EQ(run("--control " + vkbd_->ControlPath() + " unplug", output), 0);
    EXPECT_EQ(output, "ok unplugged\n");
    EXPECT_EQ(run("--socket " + vkbd_->SocketPath() + " event 02ff", output), 1);
    EXPECT_EQ(output, "error no host is connected\n");
    EXPECT_EQ(run("--control " + vkbd_->ControlPath() + " 2>/dev/null", output), 2);
    EXPECT_EQ(run("--control " + folder_ + "/nowhere info 2>/dev/null", output), 1);
}

} // namespace
} // namespace kovantis::vkbd
