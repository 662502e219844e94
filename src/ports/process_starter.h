#pragma once
// Starting another program (the firmware updater) that the program neither waits for nor
// controls. Never through a shell: the program and its arguments are passed as they are.

#include <string>
#include <vector>

namespace kovantis {

class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    // True when the program was started. workingFolder empty: the caller's current folder.
    virtual bool StartDetached(const std::string& program, const std::vector<std::string>& args,
                               const std::string& workingFolder = {}) = 0;
};

} // namespace kovantis
