// kovantis-cli's help, version, messages and exit codes, as a user meets them.

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "support/cli_home.h"
#include "support/vkbd_process.h"

namespace kovantis::testing {
namespace {

constexpr unsigned kNobody = 65534;

class CliUserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home_.UseKeyboard(*keyboard_);
    }

    // Command reports the virtual keyboard has received so far.
    int CommandsSeen() const
    {
        const std::string info = keyboard_->Control("info");
        const auto at = info.find("commands=");
        return at == std::string::npos ? -1 : std::stoi(info.substr(at + 9));
    }

    std::unique_ptr<VkbdProcess> keyboard_ = std::make_unique<VkbdProcess>();
    CliHome home_;
};

// The command names of the general help, in its order.
std::vector<std::string> CommandNames(const std::string& help)
{
    std::vector<std::string> names;
    std::istringstream lines(help.substr(help.find("Commands:\n")));
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line) && !line.empty()) {
        if (line.starts_with("  ") && line[2] != ' ')
            names.push_back(line.substr(2, line.find(' ', 2) - 2));
    }
    return names;
}

TEST_F(CliUserTest, EveryProgramTellsItsVersionAndRefusesWhatItDoesNotKnow)
{
    for (const std::string program : {"kovantis-cli", "kovantis-vkbd", "kovantis"}) {
        if (program == "kovantis" && !std::filesystem::exists(BinDir() + "/kovantis"))
            continue;  // built without the desktop program
        const ProgramRun run = home_.Run({"--version"}, program);
        EXPECT_EQ(run.exitCode, 0) << program << run.err;
        EXPECT_EQ(run.out.rfind(program + " " KOVANTIS_TEST_VERSION "\n", 0), 0u) << program << ": " << run.out;
        EXPECT_EQ(run.err, "") << program;
        const ProgramRun unknown = home_.Run({"--frobnicate"}, program);
        EXPECT_EQ(unknown.exitCode, 2) << program;
        EXPECT_NE(unknown.err.find("--frobnicate"), std::string::npos) << program << ": " << unknown.err;
        EXPECT_EQ(unknown.out, "") << program;
    }
    if (!std::filesystem::exists(BinDir() + "/kovantis"))
        return;
    // Asked to end an instance when none runs, the desktop program says so and never starts.
    home_.environment["QT_QPA_PLATFORM"] = "offscreen";
    const ProgramRun kill = home_.Run({"/Kill"}, "kovantis");
    EXPECT_EQ(kill.exitCode, 0) << kill.err;
    EXPECT_EQ(kill.out, "kovantis: no running instance to end\n");
    EXPECT_EQ(home_.Run({"--KILL", "/Start"}, "kovantis").out, "kovantis: no running instance to end\n");
}

TEST_F(CliUserTest, HelpOfEveryCommandTouchesNeitherKeyboardNorFile)
{
    ASSERT_TRUE(keyboard_->Running());
    const ProgramRun general = home_.Run({"--help"});
    ASSERT_EQ(general.exitCode, 0);
    const std::vector<std::string> names = CommandNames(general.out);
    ASSERT_GE(names.size(), 12u) << general.out;
    const std::vector<std::string> before = home_.Tree();
    const std::string made = (home_.Root() / "made.kvp").string();

    for (const std::string& name : names) {
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{name, "--help"}, std::vector<std::string>{"help", name},
              std::vector<std::string>{name, made, "-h"}, std::vector<std::string>{name, "show", "--help"}}) {
            const ProgramRun run = home_.Run(args);
            EXPECT_EQ(run.exitCode, 0) << name << ' ' << args[1] << run.err;
            EXPECT_EQ(run.out.rfind("Usage: kovantis-cli " + name, 0), 0u) << run.out;
            EXPECT_EQ(run.err, "") << name;
        }
    }
    EXPECT_EQ(CommandsSeen(), 0) << "a help sent something to the keyboard";
    EXPECT_EQ(home_.Tree(), before) << "a help created a file";
    EXPECT_FALSE(std::filesystem::exists(made));

    // A file called --help is reached with --, and then it is a file like any other.
    const ProgramRun dashed = home_.Run({"import", "--", "--help"});
    EXPECT_EQ(dashed.exitCode, 1);
    EXPECT_EQ(dashed.err, "kovantis-cli: cannot import --help: No such file or directory\n");
}

TEST_F(CliUserTest, WrongUsageExitsTwoAndSaysWhatIsWrong)
{
    struct Case {
        std::vector<std::string> args;
        std::string says;
    };
    for (const Case& c : std::vector<Case>{
             {{}, "no command given"},
             {{"frobnicate"}, "unknown command 'frobnicate'"},
             {{"--frobnicate"}, "unrecognized option '--frobnicate'"},
             {{"status", "--verbose"}, "unrecognized option '--verbose'"},
             {{"export", "--json", "x.kvp"}, "export has no --json output"},
             {{"set-profile", "0"}, "1 to 3"},
             {{"set-profile", "4"}, "1 to 3"},
             {{"lighting", "brightness", "9"}, "lighting brightness takes one number from 0 (off) to 4"},
             {{"lighting", "report-rate", "2"}, "125, 250, 500 or 1000"},
             {{"lighting", "paint", "Nokey", "1,2,3"}, "no key is named 'Nokey' ('kovantis-cli keys' lists"},
             {{"lighting", "twinkle"}, "unknown lighting sub-command 'twinkle'"},
             {{"read-block", "keymap", "0"}, "keymap 1-3"},
         }) {
        const ProgramRun run = home_.Run(c.args);
        EXPECT_EQ(run.exitCode, 2) << c.says;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("Try 'kovantis-cli"), std::string::npos) << run.err;
    }
    EXPECT_EQ(CommandsSeen(), 0);
}

TEST_F(CliUserTest, FilesThatCannotBeReadAreNamedWithTheReason)
{
    const std::filesystem::path missing = home_.Root() / "missing.kvp";
    const std::filesystem::path folder = home_.Root() / "a-folder.kvp";
    std::filesystem::create_directories(folder);
    const std::filesystem::path junk = home_.Root() / "junk.kvp";
    std::ofstream(junk) << "not a profile at all";
    for (const std::string command : {"import", "show"}) {
        const std::string verb = command == "import" ? "import " : "read ";
        ProgramRun run = home_.Run({command, missing.string()});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, "kovantis-cli: cannot " + verb + missing.string() + ": No such file or directory\n");
        run = home_.Run({command, folder.string()});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, "kovantis-cli: cannot " + verb + folder.string() + ": Is a directory\n");
        run = home_.Run({command, junk.string()});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find("cannot " + verb + junk.string() + ": it is not a Kovantis profile file"),
                  std::string::npos)
            << run.err;
        EXPECT_EQ(run.err.find("default settings"), std::string::npos) << "nothing was replaced";
    }
    const ProgramRun written = home_.Run({"read-keyboard", folder.string()});
    EXPECT_EQ(written.exitCode, 1);
    EXPECT_EQ(written.err, "kovantis-cli: cannot write " + folder.string() + ": Is a directory\n");
    EXPECT_EQ(CommandsSeen(), 0) << "a bad file is refused before the keyboard is touched";
}

TEST_F(CliUserTest, UnreadableFileSaysPermissionDenied)
{
    // Root reads every file, so the program runs as nobody here when the tests run as root.
    const std::optional<unsigned> user = ::geteuid() == 0 ? std::optional<unsigned>(kNobody) : std::nullopt;
    const std::filesystem::path secret = home_.Root() / "secret.kvp";
    std::ofstream(secret) << "x";
    ::chmod(secret.c_str(), 0);
    const ProgramRun run = home_.Run({"show", secret.string()}, "kovantis-cli", user);
    if (run.exitCode == 126)
        GTEST_SKIP() << "cannot run the program under another user id here";
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "kovantis-cli: cannot read " + secret.string() + ": Permission denied\n");
}

TEST_F(CliUserTest, SilentAndMissingKeyboardsAreToldApart)
{
    // The arrival's two reads, three sends each, none answered: the command does not even start.
    keyboard_->Control("drop 100");
    ProgramRun run = home_.Run({"read-block", "settings"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("kovantis-cli: reading the keyboard failed: the keyboard did not answer (no reply after "
                           "three tries)\n"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.find("(result"), std::string::npos) << run.err;

    // A keyboard that answers but refuses: the arrival's reads and the command's.
    keyboard_->Control("reset");
    keyboard_->Control("refuse ff 100");
    run = home_.Run({"read-block", "factory"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("kovantis-cli: reading the keymap failed: the keyboard refused the request (status FF)\n"),
              std::string::npos)
        << run.err;

    keyboard_->Control("reset");
    keyboard_->Control("unplug");
    run = home_.Run({"status"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "device: absent\n");
    EXPECT_NE(run.err.find("kovantis-cli: no keyboard found\n"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("virtual keyboard on the socket " + keyboard_->SocketPath()), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("(result"), std::string::npos) << run.err;

    // The real keyboard's search says which USB id it looked for.
    home_.environment["DEVLINX_BACKEND"] = "hidraw";
    home_.environment["KOVANTIS_USB_ID"] = "1234:abcd";
    run = home_.Run({"set-profile", "2"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("USB id 1234:abcd through hidraw"), std::string::npos) << run.err;
}

} // namespace
} // namespace kovantis::testing
