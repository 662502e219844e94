#include "app/command_line.h"

#include <algorithm>
#include <cctype>

namespace kovantis {
namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

std::vector<CommandLineSwitch> ParseCommandLine(const std::vector<std::string>& arguments)
{
    std::vector<CommandLineSwitch> switches;
    for (const std::string& argument : arguments) {
        const std::string word = Lower(argument);
        if (word == "/start" || word == "--start")
            switches.push_back(CommandLineSwitch::Start);
        else if (word == "/kill" || word == "--kill")
            switches.push_back(CommandLineSwitch::Kill);
        else if (word == "--help" || word == "-h")
            switches.push_back(CommandLineSwitch::Help);
        else if (word == "--version")
            switches.push_back(CommandLineSwitch::Version);
    }
    return switches;
}

StartupDecision DecideStartup(const std::vector<CommandLineSwitch>& switches,
                              bool otherInstanceRunning)
{
    StartupDecision decision;
    for (CommandLineSwitch s : switches) {
        switch (s) {
        case CommandLineSwitch::Help:
            decision.printHelp = true;
            return decision;
        case CommandLineSwitch::Version:
            decision.printVersion = true;
            return decision;
        case CommandLineSwitch::Kill:
            if (otherInstanceRunning) {
                decision.killRunning = true;
                return decision;
            }
            break;
        case CommandLineSwitch::Start:
            decision.startHidden = true;
            break;
        }
    }
    return decision;
}

std::string CommandLineHelp(const std::string& programName)
{
    return "Usage: " + programName + " [/Start] [/Kill]\n"
           "Configure the Kovantis gaming keyboard: key assignments, macros, lighting and\n"
           "profiles. The program lives in the notification area; starting it again opens\n"
           "the window of the running instance.\n"
           "\n"
           "  /Start, --start   start hidden in the notification area\n"
           "  /Kill,  --kill    quit the running instance\n"
           "  --help            show this help\n"
           "  --version         show the version\n"
           "\n"
           "Environment:\n"
           "  DEVLINX_BACKEND=hidraw|virtual   how the keyboard is reached (default hidraw)\n"
           "  DEVLINX_VIRTUAL_SOCKET=PATH      socket of the virtual keyboard kovantis-vkbd\n"
           "  KOVANTIS_USB_ID=vvvv:pppp        USB vendor and product id of the keyboard\n";
}

} // namespace kovantis
