#pragma once
// Starts a program with posix_spawn: no shell, its own session, not waited for.

#include "ports/process_starter.h"

namespace kovantis {

class PosixProcessStarter final : public ProcessStarter {
public:
    bool StartDetached(const std::string& program, const std::vector<std::string>& args,
                       const std::string& workingFolder = {}) override;
};

} // namespace kovantis
