#include "integration/vkbd/vkbd_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kovantis::vkbd::testing {
namespace {

int ConnectStream(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int ExitStatus(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

} // namespace

std::string BinDir()
{
    const char* dir = std::getenv("KOVANTIS_BIN_DIR");
    return dir ? dir : "bin";
}

std::string MakeTestFolder()
{
    std::string pattern = "/tmp/vkbd-it-XXXXXX";
    return ::mkdtemp(pattern.data()) ? pattern : std::string();
}

bool PathExists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool VkbdProcess::Start(const std::vector<std::string>& arguments)
{
    std::vector<std::string> argv{BinDir() + "/kovantis-vkbd", "--socket", SocketPath(),
                                  "--control", ControlPath()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> raw;
    for (auto& a : argv) {
        raw.push_back(a.data());
    }
    raw.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
        ::execv(raw[0], raw.data());
        ::_exit(127);
    }
    // The control socket listens before the link socket does, but its commands are served only
    // once start-up is complete: the first answer means the link socket is there too (unless
    // the keyboard was told to start unplugged).
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return false;
        }
        if (Control("info").rfind("ok", 0) == 0) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

int VkbdProcess::Stop()
{
    if (pid_ < 0) {
        return -1;
    }
    ::kill(pid_, SIGTERM);
    return Wait();
}

int VkbdProcess::Wait()
{
    int status = 0;
    const pid_t done = ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return done > 0 ? ExitStatus(status) : -1;
}

std::string VkbdProcess::Control(const std::string& command) const
{
    const int fd = ConnectStream(ControlPath());
    if (fd < 0) {
        return "no control channel";
    }
    const std::string line = command + "\n";
    ::send(fd, line.data(), line.size(), MSG_NOSIGNAL);
    std::string answer;
    char buffer[8192];
    ssize_t n;
    while (answer.find('\n') == std::string::npos && (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0) {
        answer.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return answer.substr(0, answer.find('\n'));
}

} // namespace kovantis::vkbd::testing
