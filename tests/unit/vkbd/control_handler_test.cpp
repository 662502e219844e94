#include "unit/vkbd/model_requests.h"
#include "vkbd/control_handler.h"

#include <gtest/gtest.h>

namespace kovantis::vkbd {
namespace {

using testing::MakeRequest;

class FakeLink : public LinkControl {
public:
    bool Plug(std::string& error) override
    {
        if (failPlug) {
            error = "cannot bind";
            return false;
        }
        plugged = true;
        return true;
    }
    void Unplug() override { plugged = host = false; }
    bool Plugged() const override { return plugged; }
    bool HostConnected() const override { return host; }
    bool SendEvent(uint16_t code) override
    {
        if (!host) {
            return false;
        }
        events.push_back(code);
        return true;
    }
    std::span<const uint8_t> StatusBytes() const override { return status; }
    bool SaveState(std::string& error) override
    {
        error = "no state file";
        return saves++ > 0;
    }
    void Quit() override { quit = true; }

    bool plugged = true, host = true, failPlug = false, quit = false;
    int saves = 0;
    std::vector<uint16_t> events;
    std::vector<uint8_t> status{0x05, 0x03};
};

class ControlHandlerTest : public ::testing::Test {
protected:
    std::string Run(std::string_view line) { return handler.Execute(line); }

    KeyboardModel model;
    FaultPlan faults;
    LinkLatency latency;
    FakeLink link;
    ControlHandler handler{model, faults, latency, link};
};

TEST_F(ControlHandlerTest, PlugUnplugAndEvents)
{
    EXPECT_EQ(Run("unplug"), "ok unplugged");
    EXPECT_FALSE(link.plugged);
    EXPECT_EQ(Run("event 02ff"), "error no host is connected");
    EXPECT_EQ(Run("plug"), "ok plugged");
    link.host = true;
    EXPECT_EQ(Run("  event   0x1811 \r"), "ok event 1811");
    EXPECT_EQ(Run("event 1810"), "ok event 1810");
    EXPECT_EQ(Run("bank"), "ok event 02ff");
    EXPECT_EQ(link.events, (std::vector<uint16_t>{0x1811, 0x1810, 0x02FF}));
    EXPECT_TRUE(Run("event 10000").starts_with("error usage"));
    EXPECT_TRUE(Run("event").starts_with("error usage"));
    EXPECT_TRUE(Run("event zz").starts_with("error usage"));
    EXPECT_TRUE(Run("bank 1").starts_with("error usage"));
    link.failPlug = true;
    link.plugged = false;
    EXPECT_EQ(Run("plug"), "error cannot bind");
}

TEST_F(ControlHandlerTest, OnBoardLightingChangeTellsTheHost)
{
    EXPECT_EQ(Run("lighting 2 1 0x03"), "ok lighting changed, event 0401 sent");
    EXPECT_EQ(model.ProfileRecords()[85], 3);
    EXPECT_EQ(link.events, std::vector<uint16_t>{0x0401});
    link.host = false;
    EXPECT_EQ(Run("lighting 0 41 255"), "ok lighting changed, no host to tell");
    EXPECT_EQ(model.ProfileRecords()[41], 255);
    for (const auto* bad : {"lighting 3 0 0", "lighting 0 42 0", "lighting 0 0 256", "lighting 0 0"}) {
        EXPECT_TRUE(Run(bad).starts_with("error usage")) << bad;
    }
}

TEST_F(ControlHandlerTest, DumpsEveryArea)
{
    EXPECT_EQ(Run("dump settings").size(), 2 + 44 * 3 - 1 + 1);
    EXPECT_TRUE(Run("dump settings").starts_with("ok 00 00"));
    EXPECT_EQ(Run("dump profiles").size(), 3 + 126 * 3 - 1);
    EXPECT_TRUE(Run("dump colours 1").starts_with("ok ff 00 00 ff 00 00"));
    EXPECT_EQ(Run("dump colours 2").size(), 3 + 512 * 3 - 1);
    EXPECT_EQ(Run("dump keymap 0"), Run("dump factory"));
    EXPECT_EQ(Run("dump keymap 0").size(), 3 + 378 * 3 - 1);
    EXPECT_EQ(Run("dump status"), "ok 05 03");
    link.status.clear();
    EXPECT_EQ(Run("dump status"), "ok");

    ASSERT_TRUE(model.HandleCommand(MakeRequest(kCmdWriteMacroArea, 2, 0x1FFE,
                                                std::vector<uint8_t>{0xAA, 0x55})));
    EXPECT_EQ(Run("dump macro 0x1ffe 2"), "ok aa 55");
    EXPECT_EQ(Run("dump macro 8192 0"), "ok");
    EXPECT_EQ(Run("dump macro 8191 2"), "error the macro area holds 8192 bytes");
    for (const auto* bad : {"dump", "dump keymap 3", "dump colours", "dump macro 0", "dump nothing"}) {
        EXPECT_TRUE(Run(bad).starts_with("error usage")) << bad;
    }
}

TEST_F(ControlHandlerTest, FaultsAreArmedForTheNextReplies)
{
    EXPECT_EQ(Run("drop 2"), "ok dropping the next 2 replies");
    EXPECT_EQ(Run("delay 150"), "ok delaying the next 1 replies by 150 ms");
    EXPECT_EQ(Run("refuse fe 3"), "ok refusing the next 3 commands with fe");
    EXPECT_EQ(Run("wrong-command"), "ok answering the next 1 commands with another command byte");
    const auto request = MakeRequest(kCmdReadSettings, 44, 0);
    for (int i = 0; i < 3; ++i) {
        const auto refusal = faults.TakeRefusal(request);
        ASSERT_TRUE(refusal);
        EXPECT_EQ((*refusal)[kStatusOffset], 0xFE);
    }
    EXPECT_FALSE(faults.TakeRefusal(request));
    for (const auto* bad : {"drop", "drop -1", "delay", "delay x 2", "refuse", "refuse fd",
                            "refuse ff x", "wrong-command 1 2"}) {
        EXPECT_TRUE(Run(bad).starts_with("error usage")) << bad;
    }
    EXPECT_EQ(Run("reset"), "ok reset to the factory state");
    auto reply = *model.HandleCommand(request);
    const auto outcome = faults.Shape(reply);
    EXPECT_TRUE(outcome.send);
    EXPECT_EQ(outcome.delay.count(), 0);
    EXPECT_EQ(reply[kCommandOffset], kCmdReadSettings);
}

TEST_F(ControlHandlerTest, LatencyInfoSaveQuitAndUnknownCommands)
{
    EXPECT_EQ(Run("latency 1"), "ok latency 1 ms");
    EXPECT_EQ(latency.Get(), std::chrono::milliseconds(1));
    EXPECT_TRUE(Run("latency 10001").starts_with("error usage"));
    EXPECT_EQ(Run("info"), "ok plugged=yes host=yes active-profile=0 in-transfer=no "
                           "bad-checksums=0 commands=0 latency-ms=1");
    EXPECT_EQ(Run("save"), "error no state file");
    EXPECT_EQ(Run("save"), "ok saved");
    EXPECT_EQ(Run(""), "error empty command (try help)");
    EXPECT_EQ(Run("fly away"), "error unknown command 'fly' (try help)");
    EXPECT_TRUE(Run("help").starts_with("ok commands: plug unplug"));
    EXPECT_FALSE(link.quit);
    EXPECT_EQ(Run("quit"), "ok quitting");
    EXPECT_TRUE(link.quit);
}

TEST(FaultPlan, ShapesRepliesInOrderOfArming)
{
    KeyboardModel model;
    FaultPlan faults;
    const auto request = MakeRequest(kCmdReadKeymap, 56, 0);
    faults.WrongCommandNext(1);
    faults.DropNext(1);
    faults.DelayNext(std::chrono::milliseconds(20), 2);

    auto first = *model.HandleCommand(request);
    auto outcome = faults.Shape(first);
    EXPECT_FALSE(outcome.send);  // dropped (and would have carried another command byte)

    auto second = *model.HandleCommand(request);
    outcome = faults.Shape(second);
    EXPECT_TRUE(outcome.send);
    EXPECT_EQ(outcome.delay, std::chrono::milliseconds(20));
    EXPECT_EQ(second[kCommandOffset], kCmdReadKeymap);

    auto third = *model.HandleCommand(request);
    EXPECT_EQ(faults.Shape(third).delay, std::chrono::milliseconds(20));
    auto fourth = *model.HandleCommand(request);
    EXPECT_EQ(faults.Shape(fourth).delay, std::chrono::milliseconds(0));

    faults.WrongCommandNext(1);
    auto wrong = *model.HandleCommand(request);
    EXPECT_TRUE(faults.Shape(wrong).send);
    EXPECT_NE(wrong[kCommandOffset], kCmdReadKeymap);
    EXPECT_EQ(ReadU16(wrong, kChecksumOffset), ReportChecksum(wrong));
}

} // namespace
} // namespace kovantis::vkbd
