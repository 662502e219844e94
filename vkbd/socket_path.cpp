#include "vkbd/socket_path.h"

#include <unistd.h>

namespace kovantis::vkbd {
namespace {

std::string Variable(const EnvironmentLookup& environment, const char* name) {
    const char* value = environment(name);
    return value ? value : "";
}

} // namespace

std::string DefaultSocketPath(const EnvironmentLookup& environment) {
    if (auto path = Variable(environment, "DEVLINX_VIRTUAL_SOCKET"); !path.empty()) {
        return path;
    }
    if (auto runtime = Variable(environment, "XDG_RUNTIME_DIR"); !runtime.empty()) {
        return runtime + "/kovantis-vkbd.sock";
    }
    return "/tmp/kovantis-vkbd-" + std::to_string(::getuid()) + ".sock";
}

std::string ControlPathFor(const std::string& socketPath) { return socketPath + ".ctl"; }

} // namespace kovantis::vkbd
