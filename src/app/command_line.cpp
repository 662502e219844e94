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

std::vector<std::string> UnknownArguments(const std::vector<std::string>& arguments)
{
    // Qt's own options, which QApplication takes out of the command line itself; the first
    // group is followed by a value.
    static const std::vector<std::string> withValue = {
        "-platform", "-platformpluginpath", "-platformtheme", "-plugin", "-qwindowgeometry", "-qwindowtitle",
        "-qwindowicon", "-session", "-style", "-stylesheet", "-display", "-geometry", "-name", "-title",
        "-visual", "-im", "-inputstyle", "-font", "-bg", "-background", "-fg", "-foreground", "-btn", "-button"};
    static const std::vector<std::string> alone = {"-reverse", "-widgetcount", "-sync", "-nograb", "-dograb",
                                                   "-qmljsdebugger", "-cmap", "-im", "-inputstyle"};
    const auto has = [](const std::vector<std::string>& list, const std::string& word) {
        return std::find(list.begin(), list.end(), word) != list.end();
    };
    std::vector<std::string> unknown;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!ParseCommandLine({argument}).empty())
            continue;
        // Qt also takes its options with two dashes.
        const std::string single = argument.starts_with("--") ? argument.substr(1) : argument;
        const std::string name = single.substr(0, single.find('='));
        if (has(withValue, name)) {
            if (name == single)
                ++i;  // the value follows as the next argument
            continue;
        }
        if (has(alone, name))
            continue;
        unknown.push_back(argument);
    }
    return unknown;
}

std::string NothingToEndText(const std::string& programName)
{
    return programName + ": no running instance to end\n";
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
            decision.killRunning = otherInstanceRunning;
            decision.nothingToEnd = !otherInstanceRunning;
            decision.startHidden = false;
            return decision;
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
           "  /Kill,  --kill    quit the running instance (with none running, say so and\n"
           "                    exit)\n"
           "  --help            show this help\n"
           "  --version         show the version\n"
           "\n"
           "Environment:\n"
           "  DEVLINX_BACKEND=hidraw|virtual   how the keyboard is reached (default hidraw)\n"
           "  DEVLINX_VIRTUAL_SOCKET=PATH      socket of the virtual keyboard kovantis-vkbd\n"
           "  KOVANTIS_USB_ID=vvvv:pppp        USB vendor and product id of the keyboard\n";
}

} // namespace kovantis
