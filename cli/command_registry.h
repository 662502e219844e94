#pragma once
// The commands of kovantis-cli. Each command group file registers its commands with a
// CommandRegistration at namespace scope; main() only looks them up.

#include <span>
#include <string_view>
#include <vector>

namespace kovantis::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // the keyboard refused, did not answer or is absent
inline constexpr int kExitUsage = 2;

class Session;

struct Command {
    std::string_view name;     // the first word on the command line
    std::string_view usage;    // the arguments, for --help ("N", "FILE", ...)
    std::string_view summary;  // one line for --help
    int (*run)(Session& session, std::span<const std::string_view> args);
};

struct CommandRegistration {
    explicit CommandRegistration(const Command& command);
};

// Every registered command, sorted by name.
std::vector<Command> AllCommands();
const Command* FindCommand(std::string_view name);

} // namespace kovantis::cli
