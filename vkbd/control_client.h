#pragma once
// `kovantis-vkbd ctl ...`: sends one control command to a running keyboard and prints the
// answer.

#include "vkbd/socket_path.h"

#include <span>
#include <string_view>

namespace kovantis::vkbd {

// Exit status: 0 for an "ok" answer, 1 for "error" or no connection, 2 for bad usage.
int RunControlClient(std::span<const std::string_view> args, const EnvironmentLookup& environment);

} // namespace kovantis::vkbd
