#include "vkbd/socket_path.h"

#include "wire/virtual_link.h"

namespace kovantis::vkbd {
std::string DefaultSocketPath(const EnvironmentLookup& environment)
{
    return VirtualSocketPath(environment("DEVLINX_VIRTUAL_SOCKET"), environment("XDG_RUNTIME_DIR"));
}

std::string ControlPathFor(const std::string& socketPath) { return socketPath + ".ctl"; }

} // namespace kovantis::vkbd
