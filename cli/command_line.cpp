#include "cli/command_line.h"

#ifndef KOVANTIS_VERSION
#define KOVANTIS_VERSION "unknown"
#endif

namespace kovantis::cli {
namespace {

bool IsHelp(std::string_view word)
{
    return word == "--help" || word == "-h";
}

ParsedLine Usage(std::string error, const Command* command = nullptr)
{
    ParsedLine line;
    line.action = LineAction::Usage;
    line.command = command;
    line.error = std::move(error);
    return line;
}

} // namespace

ParsedLine ParseLine(std::span<const std::string_view> words)
{
    if (words.empty())
        return Usage("no command given");
    const std::string_view first = words[0];
    ParsedLine line;
    if (IsHelp(first)) {
        line.action = LineAction::Help;
        return line;
    }
    if (first == "--version") {
        line.action = LineAction::Version;
        return line;
    }
    if (first == "help") {
        if (words.size() == 1) {
            line.action = LineAction::Help;
            return line;
        }
        const Command* command = FindCommand(words[1]);
        if (command == nullptr)
            return Usage("no command '" + std::string(words[1]) + "'");
        if (words.size() > 2)
            return Usage("help takes one command name");
        line.action = LineAction::CommandHelp;
        line.command = command;
        return line;
    }
    if (first.starts_with("-"))
        return Usage("unrecognized option '" + std::string(first) + "'");
    const Command* command = FindCommand(first);
    if (command == nullptr)
        return Usage("unknown command '" + std::string(first) + "'");

    line.command = command;
    // Help first: `COMMAND --help` never runs the command, whatever else the line holds.
    for (size_t i = 1; i < words.size() && words[i] != "--"; ++i) {
        if (IsHelp(words[i])) {
            line.action = LineAction::CommandHelp;
            return line;
        }
    }
    bool optionsEnded = false;
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string_view word = words[i];
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && word == "--json") {
            if (!command->takesJson)
                return Usage(std::string(command->name) + " has no --json output", command);
            line.args.json = true;
        } else if (!optionsEnded && word == "--verify") {
            if (!command->takesVerify)
                return Usage(std::string(command->name) + " has no --verify", command);
            line.args.verify = true;
        } else if (!optionsEnded && word.size() > 1 && word.starts_with("-")) {
            return Usage("unrecognized option '" + std::string(word) + "'", command);
        } else {
            line.args.operands.push_back(word);
        }
    }
    line.action = LineAction::Run;
    return line;
}

std::string GeneralHelp()
{
    std::string text =
        "Usage: kovantis-cli COMMAND [OPTION]... [ARGUMENT]...\n"
        "       kovantis-cli help COMMAND\n"
        "\n"
        "Configures the Kovantis keyboard from the command line: profiles, key assignments and\n"
        "macros kept in profile files, lighting and the report rate. It reaches the keyboard as\n"
        "the desktop program does and refuses to run while the desktop program runs.\n"
        "Profiles are numbered 1 to 3.\n"
        "\n"
        "Commands:\n";
    for (const Command& command : AllCommands()) {
        std::string head = "  " + std::string(command.name);
        if (!command.usage.empty())
            head += " " + std::string(command.usage);
        text += head + "\n      " + std::string(command.summary) + '\n';
    }
    text +=
        "\n"
        "Options:\n"
        "  --json       one JSON document on standard output (status, show, lighting show, keys)\n"
        "  --verify     read back what a download wrote and compare it (import, apply)\n"
        "  --           end of options: what follows is an argument even when it starts with '-'\n"
        "  -h, --help   show this help, or a command's help after the command\n"
        "  --version    show the version\n"
        "\n"
        "Environment:\n"
        "  DEVLINX_BACKEND=hidraw|virtual   how the keyboard is reached (default hidraw)\n"
        "  DEVLINX_VIRTUAL_SOCKET=PATH      socket of the virtual keyboard kovantis-vkbd\n"
        "  KOVANTIS_USB_ID=vvvv:pppp        USB vendor and product id of the keyboard\n"
        "\n"
        "Exit status: 0 done; 1 failed (file, keyboard or device library; the reason is\n"
        "printed); 2 wrong usage (nothing was touched).\n"
        "\n"
        "'kovantis-cli help COMMAND' shows a command's arguments and examples;\n"
        "'man kovantis-cli' tells more.\n";
    return text;
}

std::string CommandHelp(const Command& command)
{
    std::string text = "Usage: kovantis-cli " + std::string(command.name);
    if (command.takesJson)
        text += " [--json]";
    if (!command.usage.empty())
        text += " " + std::string(command.usage);
    std::string summary(command.summary);
    if (!summary.empty() && summary[0] >= 'a' && summary[0] <= 'z')
        summary[0] = static_cast<char>(summary[0] - 'a' + 'A');
    text += "\n\n" + summary + ".\n";
    if (!command.details.empty())
        text += "\n" + std::string(command.details);
    if (!text.ends_with('\n'))
        text += '\n';
    return text;
}

std::string VersionText()
{
    return "kovantis-cli " KOVANTIS_VERSION "\n"
           "Copyright (C) 2026 the Kovantis authors.\n"
           "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

} // namespace kovantis::cli
