#pragma once
// The command line of kovantis-vkbd: the server's options and the ctl client's.

#include "devlinx/devlinx_usb_id.h"
#include "vkbd/keyboard_model.h"
#include "vkbd/socket_path.h"

#include <chrono>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kovantis::vkbd {

// The ids the keyboard announces in its hello, read as the library and the program read them.
using devlinx::ParseUsbId;
using devlinx::UsbId;

struct ServerOptions {
    std::string socketPath;
    std::string controlPath;
    std::string statePath;  // empty: memory lasts as long as the process
    UsbId usbId;
    KeyboardOptions keyboard;
    std::chrono::microseconds latency{0};
    bool startUnplugged = false;
};

struct ClientOptions {
    std::string controlPath;
    std::string command;  // the words after the options, joined by spaces
};

enum class ParseOutcome { kRun, kHelp, kBadUsage };

ParseOutcome ParseServerOptions(std::span<const std::string_view> args,
                                const EnvironmentLookup& environment, ServerOptions& options,
                                std::string& error);

// Arguments after "ctl".
ParseOutcome ParseClientOptions(std::span<const std::string_view> args,
                                const EnvironmentLookup& environment, ClientOptions& options,
                                std::string& error);

std::string_view HelpText();

} // namespace kovantis::vkbd
