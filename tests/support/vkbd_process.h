#pragma once
// A kovantis-vkbd child process on sockets in a fresh temporary folder, for integration tests
// and benchmarks, with its control interface one call away.

#include <string>
#include <sys/types.h>
#include <vector>

namespace kovantis::testing {

// The build's bin/ folder (KOVANTIS_BIN_DIR), where the programs and libdevlinx.so are.
std::string BinDir();

class VkbdProcess {
public:
    // Starts kovantis-vkbd --socket S --control C --state F plus extraArgs, and waits until its
    // control socket answers.
    explicit VkbdProcess(const std::vector<std::string>& extraArgs = {});
    ~VkbdProcess();
    VkbdProcess(const VkbdProcess&) = delete;
    VkbdProcess& operator=(const VkbdProcess&) = delete;

    bool Running() const { return pid_ > 0; }
    const std::string& Folder() const { return folder_; }
    const std::string& SocketPath() const { return socket_; }
    const std::string& StatePath() const { return state_; }

    // One control command; the answer line without its newline ("ok ...", "error ...").
    std::string Control(const std::string& command) const;
    // The bytes of a "dump ..." answer.
    std::vector<uint8_t> Dump(const std::string& what) const;

private:
    std::string folder_;
    std::string socket_;
    std::string control_;
    std::string state_;
    pid_t pid_ = -1;
};

} // namespace kovantis::testing
