#include "cli/command_registry.h"

#include <algorithm>

namespace kovantis::cli {
namespace {

std::vector<Command>& Registry()
{
    static std::vector<Command> commands;
    return commands;
}

} // namespace

CommandRegistration::CommandRegistration(const Command& command)
{
    Registry().push_back(command);
}

std::vector<Command> AllCommands()
{
    std::vector<Command> commands = Registry();
    std::sort(commands.begin(), commands.end(), [](const Command& a, const Command& b) { return a.name < b.name; });
    return commands;
}

const Command* FindCommand(std::string_view name)
{
    for (const Command& command : Registry()) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

} // namespace kovantis::cli
