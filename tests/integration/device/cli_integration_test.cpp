#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

#include "support/vkbd_process.h"

namespace kovantis::testing {
namespace {

struct CliRun {
    int exitCode = -1;
    std::string out;  // standard output and standard error, in that order per stream
};

// kovantis-cli against its own keyboard (the one host the keyboard serves at a time).
class CliTest : public ::testing::Test {
protected:
    CliRun Cli(const std::string& arguments) const
    {
        const std::string command = "env DEVLINX_BACKEND=virtual DEVLINX_VIRTUAL_SOCKET=" +
                                    keyboard_.SocketPath() + " XDG_RUNTIME_DIR=" +
                                    keyboard_.Folder() + " " + BinDir() + "/kovantis-cli " +
                                    arguments + " 2>" + keyboard_.Folder() + "/err";
        CliRun run;
        FILE* pipe = popen(command.c_str(), "r");
        char buffer[256];
        while (pipe != nullptr && fgets(buffer, sizeof buffer, pipe) != nullptr)
            run.out += buffer;
        const int status = pipe != nullptr ? pclose(pipe) : -1;
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream err(keyboard_.Folder() + "/err");
        run.out += std::string(std::istreambuf_iterator<char>(err), {});
        return run;
    }

    VkbdProcess keyboard_{{"--macro-space", "32", "--effects", "3,0,7,20"}};
};

TEST_F(CliTest, StatusPrintsTheFourLines)
{
    ASSERT_TRUE(keyboard_.Running());
    CliRun run = Cli("status");
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
    const CliRun help = Cli("--help");
    EXPECT_EQ(help.exitCode, 0);
    for (const char* name : {"status", "set-profile N", "read-block settings | profile N"})
        EXPECT_NE(help.out.find(name), std::string::npos) << name;

    // A live process holds the desktop program's lock: the keyboard is left alone.
    std::ofstream(keyboard_.Folder() + "/kovantis.lock") << getpid() << "\nkovantis\nhost\n";
    const CliRun refused = Cli("set-profile 2");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.out.find("desktop program is running"), std::string::npos) << refused.out;
    EXPECT_EQ(keyboard_.Control("info").find("active-profile=0") != std::string::npos, true);

    // A lock left behind by a process that has ended does not count.
    std::ofstream(keyboard_.Folder() + "/kovantis.lock") << "999999999\n";
    EXPECT_EQ(Cli("set-profile 2").exitCode, 0);
}

} // namespace
} // namespace kovantis::testing
