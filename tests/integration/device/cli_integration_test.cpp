#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <unistd.h>

#include "support/cli_home.h"
#include "support/vkbd_process.h"

namespace kovantis::testing {
namespace {

// kovantis-cli against its own keyboard (the one host the keyboard serves at a time).
class CliTest : public ::testing::Test {
protected:
    void SetUp() override { home_.UseKeyboard(keyboard_); }

    // Its exit status; standard output, then standard error, in `out`.
    ProgramRun Cli(const std::string& arguments) const
    {
        std::vector<std::string> args;
        std::istringstream words(arguments);
        for (std::string word; words >> word;)
            args.push_back(word);
        ProgramRun run = home_.Run(args);
        run.out += run.err;
        return run;
    }
    std::filesystem::path Lock() const { return home_.Root() / "run" / "kovantis.lock"; }

    VkbdProcess keyboard_{{"--macro-space", "32", "--effects", "3,0,7,20"}};
    CliHome home_;
};

TEST_F(CliTest, StatusPrintsTheFourLines)
{
    ASSERT_TRUE(keyboard_.Running());
    ProgramRun run = Cli("status");
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(run.out, "device: present\n"
                       "active-profile: 1\n"
                       "macro-space: 4096\n"
                       "effects: 3,7,20\n");

    run = Cli("set-profile 3");  // profiles are 1 to 3 for people: the keyboard's third
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_NE(Cli("status").out.find("active-profile: 3\n"), std::string::npos);
    EXPECT_NE(keyboard_.Control("info").find("active-profile=2"), std::string::npos);

    run = Cli("read-block settings");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.substr(0, 54), "0000: 00 00 00 00 00 00 00 00 00 00 02 20 03 00 07 14\n");

    keyboard_.Control("refuse ff 9");  // the arrival's two reads, then the command's
    run = Cli("read-block factory");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("the keyboard refused the request (status FF)"), std::string::npos) << run.out;

    keyboard_.Control("unplug");
    run = Cli("status");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("device: absent\n"), std::string::npos) << run.out;
}

TEST_F(CliTest, BadUsageAndRunningDesktopProgram)
{
    EXPECT_EQ(Cli("").exitCode, 2);
    EXPECT_EQ(Cli("no-such-command").exitCode, 2);
    EXPECT_EQ(Cli("set-profile 4").exitCode, 2);
    EXPECT_EQ(Cli("set-profile 0").exitCode, 2);
    EXPECT_EQ(Cli("read-block keymap").exitCode, 2);
    EXPECT_EQ(Cli("read-block macro 65535 2").exitCode, 2);
    const ProgramRun help = Cli("--help");
    EXPECT_EQ(help.exitCode, 0);
    for (const char* name : {"status", "set-profile N", "read-block settings | profile N"})
        EXPECT_NE(help.out.find(name), std::string::npos) << name;

    // A live process holds the desktop program's lock: the keyboard is left alone.
    std::ofstream(Lock()) << getpid() << "\nkovantis\nhost\n";
    const ProgramRun refused = Cli("set-profile 2");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.out.find("desktop program is running"), std::string::npos) << refused.out;
    EXPECT_EQ(keyboard_.Control("info").find("active-profile=0") != std::string::npos, true);

    // A lock left behind by a process that has ended does not count.
    std::ofstream(Lock()) << "999999999\n";
    EXPECT_EQ(Cli("set-profile 2").exitCode, 0);
}

} // namespace
} // namespace kovantis::testing
