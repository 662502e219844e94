#pragma once
// The command line of kovantis-cli, read the GNU way: `--help`/`-h` and `--version` answer at
// once; `help COMMAND` and `COMMAND --help` show one command's help and touch nothing; `--json`
// where a command offers it; `--` ends the options, so `import -- --help` imports a file of
// that name; any other word starting with '-' is an unknown option.

#include <span>
#include <string>
#include <string_view>

#include "cli/command_registry.h"

namespace kovantis::cli {

enum class LineAction {
    Run,          // run `command` with `args`
    Help,         // the general help on standard output, exit 0
    CommandHelp,  // `command`'s help on standard output, exit 0
    Version,      // the version on standard output, exit 0
    Usage,        // `error` (and a hint) on standard error, exit 2
};

struct ParsedLine {
    LineAction action = LineAction::Usage;
    const Command* command = nullptr;
    Arguments args;
    std::string error;
};

ParsedLine ParseLine(std::span<const std::string_view> words);

// The texts of --help, `help COMMAND` and --version.
std::string GeneralHelp();
std::string CommandHelp(const Command& command);
std::string VersionText();

} // namespace kovantis::cli
