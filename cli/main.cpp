// kovantis-cli: the main jobs of the Kovantis keyboard program from the command line.

#include <iostream>
#include <string_view>
#include <vector>

#include "cli/command_line.h"
#include "cli/session.h"

int main(int argc, char** argv)
{
    using namespace kovantis::cli;
    const std::vector<std::string_view> words(argv + 1, argv + argc);
    const ParsedLine line = ParseLine(words);
    switch (line.action) {
    case LineAction::Help:
        std::cout << GeneralHelp();
        return kExitOk;
    case LineAction::CommandHelp:
        std::cout << CommandHelp(*line.command);
        return kExitOk;
    case LineAction::Version:
        std::cout << VersionText();
        return kExitOk;
    case LineAction::Usage:
        std::cerr << "kovantis-cli: " << line.error << '\n';
        if (line.command != nullptr)
            std::cerr << "Try 'kovantis-cli help " << line.command->name << "'.\n";
        else
            std::cerr << "Try 'kovantis-cli --help'.\n";
        return kExitUsage;
    case LineAction::Run:
        break;
    }
    Session session(std::cout, std::cerr);
    return line.command->run(session, line.args);
}
