#include "vkbd/unix_socket.h"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace kovantis::vkbd {
namespace {

bool MakeAddress(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// A socket file whose owner is gone refuses connections; remove it so the path can be bound.
bool ClearStaleSocket(const std::string& path, int type, std::string& error) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return true;
    }
    if (!S_ISSOCK(info.st_mode)) {
        error = path + " exists and is not a socket";
        return false;
    }
    const int probe = ConnectUnix(path, type);
    if (probe >= 0) {
        ::close(probe);
        error = path + " is in use by another running keyboard";
        return false;
    }
    ::unlink(path.c_str());
    return true;
}

} // namespace

int ConnectUnix(const std::string& path, int type) {
    sockaddr_un address{};
    if (!MakeAddress(path, address)) {
        errno = ENAMETOOLONG;
        return -1;
    }
    const int fd = ::socket(AF_UNIX, type | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return -1;
    }
    return fd;
}

int ListenUnix(const std::string& path, int type, std::string& error) {
    sockaddr_un address{};
    if (!MakeAddress(path, address)) {
        error = "socket path is empty or too long: " + path;
        return -1;
    }
    if (!ClearStaleSocket(path, type, error)) {
        return -1;
    }
    const int fd = ::socket(AF_UNIX, type | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        error = std::string("socket: ") + std::strerror(errno);
        return -1;
    }
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 4) != 0) {
        error = path + ": " + std::strerror(errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

SendResult SendPacket(int fd, std::span<const uint8_t> packet) {
    for (;;) {
        const ssize_t n = ::send(fd, packet.data(), packet.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n >= 0) {
            return SendResult::kSent;
        }
        if (errno == EINTR) {
            continue;
        }
        return errno == EAGAIN || errno == EWOULDBLOCK ? SendResult::kFull : SendResult::kGone;
    }
}

} // namespace kovantis::vkbd
