#pragma once
// The program's command line. Only "/Start" and "/Kill" configure anything; they are compared
// without regard to letter case and looked at once each, in the order given. The GNU-style
// spellings --start and --kill mean the same; --help and --version are answered at once.

#include <string>
#include <vector>

namespace kovantis {

enum class CommandLineSwitch {
    Start,   // start hidden in the notification area
    Kill,    // quit the running instance
    Help,
    Version,
};

// The recognised switches in the order given; anything else is ignored.
std::vector<CommandLineSwitch> ParseCommandLine(const std::vector<std::string>& arguments);

// The arguments that are neither a switch above nor one of the toolkit's own options (such as
// "-platform offscreen" or the "-session" a session manager restarts the program with). The
// program refuses them rather than open a window the user did not ask for.
std::vector<std::string> UnknownArguments(const std::vector<std::string>& arguments);

// What this process does, given the switches and whether another instance is running:
// "/Kill" with a running instance ends this process there (later switches are never looked at);
// "/Kill" without one ends it too: a request to quit never starts the program.
struct StartupDecision {
    bool printHelp = false;
    bool printVersion = false;
    bool killRunning = false;   // send "KILL" to the running instance, then exit 0
    bool nothingToEnd = false;  // "/Kill" with no instance running: say so, exit 0
    bool startHidden = false;   // the first-arrival flag: don't open the window by itself
};
StartupDecision DecideStartup(const std::vector<CommandLineSwitch>& switches,
                              bool otherInstanceRunning);

// What "/Kill" says when nothing runs.
std::string NothingToEndText(const std::string& programName);

// The text printed by --help.
std::string CommandLineHelp(const std::string& programName);

} // namespace kovantis
