#pragma once
// The commands of kovantis-cli. Each command group file registers its commands with a
// CommandRegistration at namespace scope; main() only looks them up.

#include <string_view>
#include <vector>

namespace kovantis::cli {

// Exit status of every command (documented in --help and the manual page).
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // the work was not done: file, keyboard or library
inline constexpr int kExitUsage = 2;   // the command line was wrong; nothing was touched

class Session;

// A command's operands once the options have been taken out of them.
struct Arguments {
    std::vector<std::string_view> operands;
    bool json = false;    // --json: one JSON document on standard output
    bool verify = false;  // --verify: read back what a download wrote and compare
};

struct Command {
    std::string_view name;     // the first word on the command line
    std::string_view usage;    // the operands, for the usage line ("N", "FILE", ...)
    std::string_view summary;  // one line for the command list
    std::string_view details;  // the rest of `help COMMAND`: what it does, examples
    int (*run)(Session& session, const Arguments& args);
    bool takesJson = false;    // accepts --json
    bool takesVerify = false;  // accepts --verify
};

struct CommandRegistration {
    explicit CommandRegistration(const Command& command);
};

// Every registered command, sorted by name.
std::vector<Command> AllCommands();
const Command* FindCommand(std::string_view name);

} // namespace kovantis::cli
