// kovantis-vkbd: the virtual keyboard, or with "ctl" a client of its control channel.

#include "vkbd/control_client.h"
#include "vkbd/options.h"
#include "vkbd/server.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#ifndef KOVANTIS_VERSION
#define KOVANTIS_VERSION "unknown"
#endif

int main(int argc, char** argv)
{
    using namespace kovantis::vkbd;
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const EnvironmentLookup environment = [](const char* name) { return std::getenv(name); };
    const bool client = !args.empty() && args[0] == "ctl";
    if (!client && std::find(args.begin(), args.end(), "--version") != args.end()) {
        std::fputs("kovantis-vkbd " KOVANTIS_VERSION "\n", stdout);
        return 0;
    }
    if (!args.empty() && args[0] == "ctl") {
        return RunControlClient(std::span(args).subspan(1), environment);
    }
    ServerOptions options;
    std::string error;
    switch (ParseServerOptions(args, environment, options, error)) {
    case ParseOutcome::kHelp: std::fputs(HelpText().data(), stdout); return 0;
    case ParseOutcome::kBadUsage:
        std::fprintf(stderr, "kovantis-vkbd: %s\nTry 'kovantis-vkbd --help'.\n", error.c_str());
        return 2;
    case ParseOutcome::kRun: break;
    }
    Server server(options);
    if (!server.Start()) {
        return 1;
    }
    return server.Run();
}
