#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <array>

namespace kovantis::cli {
namespace {

int Nothing(Session&, const Arguments&)
{
    return kExitOk;
}

const Command kPlain{"plain", "FILE", "a command with a file", "", &Nothing};
const Command kListing{"listing", "", "a command with JSON output", "Example:\n  kovantis-cli listing\n", &Nothing,
                       true};
const CommandRegistration registerPlain(kPlain);
const CommandRegistration registerListing(kListing);

ParsedLine Parse(std::initializer_list<std::string_view> words)
{
    const std::vector<std::string_view> list(words);
    return ParseLine(list);
}

TEST(CliCommandLine, HelpAndVersionAnswerWithoutRunningAnything)
{
    EXPECT_EQ(Parse({"--help"}).action, LineAction::Help);
    EXPECT_EQ(Parse({"-h"}).action, LineAction::Help);
    EXPECT_EQ(Parse({"help"}).action, LineAction::Help);
    EXPECT_EQ(Parse({"--version"}).action, LineAction::Version);

    // Wherever --help stands among the options, the command is not run; even after an operand
    // that would otherwise be a file to write.
    for (const auto& words : {std::vector<std::string_view>{"plain", "--help"},
                              std::vector<std::string_view>{"plain", "out.kvp", "-h"},
                              std::vector<std::string_view>{"plain", "--bogus", "--help"},
                              std::vector<std::string_view>{"help", "plain"}}) {
        const ParsedLine line = ParseLine(words);
        EXPECT_EQ(line.action, LineAction::CommandHelp) << words[1];
        EXPECT_EQ(line.command, FindCommand("plain"));
    }
    EXPECT_EQ(Parse({"help", "nonsense"}).action, LineAction::Usage);
    EXPECT_EQ(Parse({"help", "plain", "extra"}).action, LineAction::Usage);
}

TEST(CliCommandLine, OptionsEndAtTheDoubleDashAndUnknownOnesAreRefused)
{
    ParsedLine line = Parse({"plain", "--", "--help"});
    ASSERT_EQ(line.action, LineAction::Run);
    EXPECT_EQ(line.args.operands, std::vector<std::string_view>{"--help"});

    line = Parse({"plain", "--frobnicate", "x"});
    EXPECT_EQ(line.action, LineAction::Usage);
    EXPECT_NE(line.error.find("--frobnicate"), std::string::npos);
    EXPECT_EQ(line.command, FindCommand("plain")) << "the hint names the command's help";

    // "-" alone is an operand (a file people may mean as standard input).
    EXPECT_EQ(Parse({"plain", "-"}).action, LineAction::Run);
    EXPECT_EQ(Parse({"--bogus"}).action, LineAction::Usage);
    EXPECT_EQ(Parse({}).action, LineAction::Usage);
    EXPECT_EQ(Parse({"unknown-command"}).action, LineAction::Usage);
}

TEST(CliCommandLine, JsonOnlyWhereACommandOffersIt)
{
    ParsedLine line = Parse({"listing", "--json"});
    ASSERT_EQ(line.action, LineAction::Run);
    EXPECT_TRUE(line.args.json);
    EXPECT_TRUE(line.args.operands.empty());

    line = Parse({"plain", "--json", "file"});
    EXPECT_EQ(line.action, LineAction::Usage);
    EXPECT_NE(line.error.find("no --json"), std::string::npos);

    line = Parse({"listing", "--", "--json"});
    EXPECT_FALSE(line.args.json);
    EXPECT_EQ(line.args.operands, std::vector<std::string_view>{"--json"});
}

TEST(CliCommandLine, HelpTextsNameEveryCommandTheExitCodesAndTheVersion)
{
    const std::string help = GeneralHelp();
    EXPECT_EQ(help.rfind("Usage: kovantis-cli COMMAND", 0), 0u);
    EXPECT_NE(help.find("  plain FILE\n      a command with a file"), std::string::npos);
    EXPECT_NE(help.find("  listing\n"), std::string::npos);
    EXPECT_NE(help.find("Exit status: 0 done; 1 failed"), std::string::npos);
    EXPECT_NE(help.find("2 wrong usage"), std::string::npos);

    const std::string one = CommandHelp(kListing);
    EXPECT_EQ(one.rfind("Usage: kovantis-cli listing [--json]\n\nA command with JSON output.\n", 0), 0u) << one;
    EXPECT_NE(one.find("Example:"), std::string::npos);
    EXPECT_EQ(CommandHelp(kPlain).rfind("Usage: kovantis-cli plain FILE\n", 0), 0u);

    EXPECT_EQ(VersionText().rfind("kovantis-cli " KOVANTIS_TEST_VERSION "\n", 0), 0u);
    EXPECT_NE(VersionText().find("GPLv3+"), std::string::npos);
}

} // namespace
} // namespace kovantis::cli
