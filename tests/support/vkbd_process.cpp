#include "support/vkbd_process.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <spawn.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace kovantis::testing {
namespace {

int ConnectStream(const std::string& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    if (fd >= 0 &&
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

} // namespace

std::string BinDir()
{
    const char* dir = std::getenv("KOVANTIS_BIN_DIR");
    return dir != nullptr ? dir : "bin";
}

VkbdProcess::VkbdProcess(const std::vector<std::string>& extraArgs)
{
    char pattern[] = "/tmp/kovantis-vkbd-test-XXXXXX";
    folder_ = ::mkdtemp(pattern);
    socket_ = folder_ + "/link.sock";
    control_ = folder_ + "/control.sock";
    state_ = folder_ + "/state";

    std::vector<std::string> args{BinDir() + "/kovantis-vkbd", "--socket", socket_, "--control",
                                  control_, "--state", state_};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (::posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        pid_ = -1;
        return;
    }
    // The control socket listens before the link socket does, but its commands are served only
    // once start-up is complete: the first answer means the link socket is there too (unless
    // the keyboard was told to start unplugged).
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return;
        }
        if (Control("info").rfind("ok", 0) == 0)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    // Never ready: not Running().
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

VkbdProcess::~VkbdProcess()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::string VkbdProcess::Control(const std::string& command) const
{
    const int fd = ConnectStream(control_);
    if (fd < 0)
        return "error no connection";
    const std::string line = command + "\n";
    std::string answer;
    if (::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size())) {
        char c = 0;
        while (::read(fd, &c, 1) == 1 && c != '\n')
            answer += c;
    }
    ::close(fd);
    return answer;
}

std::vector<uint8_t> VkbdProcess::Dump(const std::string& what) const
{
    std::istringstream words(Control("dump " + what));
    std::string word;
    std::vector<uint8_t> bytes;
    words >> word;  // "ok"
    while (words >> word)
        bytes.push_back(static_cast<uint8_t>(std::stoul(word, nullptr, 16)));
    return bytes;
}

} // namespace kovantis::testing
