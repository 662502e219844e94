#pragma once
// A kovantis-vkbd process on sockets in a private temporary folder, with its control channel.

#include <string>
#include <sys/types.h>
#include <vector>

namespace kovantis::vkbd::testing {

class VkbdProcess {
public:
    explicit VkbdProcess(const std::string& folder) : folder_(folder) {}
    ~VkbdProcess() { Stop(); }

    std::string SocketPath() const { return folder_ + "/link.sock"; }
    std::string ControlPath() const { return folder_ + "/link.sock.ctl"; }
    std::string StatePath() const { return folder_ + "/keyboard.state"; }

    // Starts the program with these extra arguments and waits until its control channel
    // answers. False when it exited or never answered.
    bool Start(const std::vector<std::string>& arguments);
    // SIGTERM, then the exit status (-1 if it did not exit normally).
    int Stop();
    // Waits for the program to exit on its own; its exit status or -1.
    int Wait();

    // One control command; the answer line.
    std::string Control(const std::string& command) const;

private:
    std::string folder_;
    pid_t pid_ = -1;
};

// The folder of the programs under test.
std::string BinDir();
// A fresh empty folder for one test.
std::string MakeTestFolder();
bool PathExists(const std::string& path);

} // namespace kovantis::vkbd::testing
