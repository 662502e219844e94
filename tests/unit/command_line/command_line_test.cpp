#include "app/command_line.h"

#include <gtest/gtest.h>

namespace kovantis {
namespace {

using S = CommandLineSwitch;

TEST(CommandLine, RecognisesSwitchesInAnyCaseAndOrder)
{
    EXPECT_EQ(ParseCommandLine({"/Start"}), std::vector<S>{S::Start});
    EXPECT_EQ(ParseCommandLine({"/START", "/kill"}), (std::vector<S>{S::Start, S::Kill}));
    EXPECT_EQ(ParseCommandLine({"--kill", "--START", "--help", "--version"}),
              (std::vector<S>{S::Kill, S::Start, S::Help, S::Version}));
    EXPECT_TRUE(ParseCommandLine({"/Stop", "Start", "-start", "", "/Start/Kill"}).empty());
}

TEST(CommandLine, KillEndsTheProcessOnlyWhenAnInstanceRuns)
{
    const StartupDecision killing = DecideStartup({S::Kill, S::Start}, true);
    EXPECT_TRUE(killing.killRunning);
    EXPECT_FALSE(killing.startHidden) << "/Start after /Kill is never looked at";

    // A request to quit never starts the program: with nothing running it ends here too.
    const StartupDecision alone = DecideStartup({S::Kill, S::Start}, false);
    EXPECT_FALSE(alone.killRunning);
    EXPECT_TRUE(alone.nothingToEnd);
    EXPECT_FALSE(alone.startHidden);
    EXPECT_FALSE(DecideStartup({S::Start, S::Kill}, true).nothingToEnd);

    const StartupDecision startFirst = DecideStartup({S::Start, S::Kill}, true);
    EXPECT_TRUE(startFirst.killRunning);

    const StartupDecision plain = DecideStartup({}, true);
    EXPECT_FALSE(plain.killRunning);
    EXPECT_FALSE(plain.startHidden);
}

TEST(CommandLine, UnknownArgumentsAreFoundButTheToolkitsOwnPassThrough)
{
    EXPECT_TRUE(UnknownArguments({"/start", "--KILL", "--help", "--version"}).empty());
    EXPECT_TRUE(UnknownArguments({"-platform", "offscreen", "-session", "1234_5", "-reverse"}).empty());
    EXPECT_TRUE(UnknownArguments({"--style=fusion", "-qwindowgeometry", "10x10", "/Start"}).empty());
    EXPECT_EQ(UnknownArguments({"--frobnicate", "/Start", "file.kvp", "-x"}),
              (std::vector<std::string>{"--frobnicate", "file.kvp", "-x"}));
    // A toolkit option's value is not looked at as an argument of its own.
    EXPECT_TRUE(UnknownArguments({"-style", "--weird"}).empty());
    EXPECT_EQ(NothingToEndText("kovantis"), "kovantis: no running instance to end\n");
}

TEST(CommandLine, HelpAndVersionAnswerAtOnce)
{
    EXPECT_TRUE(DecideStartup({S::Help, S::Kill}, true).printHelp);
    EXPECT_FALSE(DecideStartup({S::Help, S::Kill}, true).killRunning);
    EXPECT_TRUE(DecideStartup({S::Version}, false).printVersion);
    const std::string help = CommandLineHelp("kovantis");
    EXPECT_NE(help.find("/Start"), std::string::npos);
    EXPECT_NE(help.find("/Kill"), std::string::npos);
    EXPECT_EQ(help.rfind("Usage: kovantis", 0), 0u);
}

} // namespace
} // namespace kovantis
