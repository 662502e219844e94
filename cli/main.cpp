// kovantis-cli: the main jobs of the Kovantis keyboard program from the command line.

#include <iostream>
#include <string_view>
#include <vector>

#include "cli/command_registry.h"
#include "cli/session.h"

namespace {

using namespace kovantis::cli;

void PrintHelp(std::ostream& out)
{
    out << "Usage: kovantis-cli COMMAND [ARGUMENT]...\n"
           "\n"
           "Configures the Kovantis keyboard from the command line. It reaches the keyboard\n"
           "as the desktop program does (libdevlinx.so; DEVLINX_BACKEND, DEVLINX_VIRTUAL_SOCKET\n"
           "and KOVANTIS_USB_ID select it) and refuses to run while the desktop program does.\n"
           "\n"
           "Commands:\n";
    for (const Command& command : AllCommands()) {
        std::string head = "  " + std::string(command.name);
        if (!command.usage.empty())
            head += " " + std::string(command.usage);
        out << head << "\n      " << command.summary << '\n';
    }
    out << "\n"
           "Exit status: 0 success; 1 the keyboard refused, did not answer or is absent (the\n"
           "result code is printed); 2 bad usage.\n";
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintHelp(std::cerr);
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp(std::cout);
        return kExitOk;
    }
    const Command* command = FindCommand(args[0]);
    if (command == nullptr) {
        std::cerr << "kovantis-cli: unknown command '" << args[0]
                  << "' (kovantis-cli --help lists them)\n";
        return kExitUsage;
    }
    Session session(std::cout, std::cerr);
    return command->run(session, std::span(args).subspan(1));
}
