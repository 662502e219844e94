#pragma once
// Where the virtual keyboard's sockets live.

#include <functional>
#include <string>

namespace kovantis::vkbd {

using EnvironmentLookup = std::function<const char*(const char*)>;

// $DEVLINX_VIRTUAL_SOCKET, else $XDG_RUNTIME_DIR/kovantis-vkbd.sock, else
// /tmp/kovantis-vkbd-<uid>.sock: the same place the device library looks.
std::string DefaultSocketPath(const EnvironmentLookup& environment);

// The control socket beside a link socket.
std::string ControlPathFor(const std::string& socketPath);

} // namespace kovantis::vkbd
