#include "vkbd/unix_socket.h"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace kovantis::vkbd {
namespace {

bool MakeAddress(const std::string& path, sockaddr_un& address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

// A socket file whose owner is gone refuses connections; remove it so the path can be bound.
bool ClearStaleSocket(const std::string& path, int type, std::string& error)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return true;
    }
    if (!S_ISSOCK(info.st_mode)) {
        error = path + " exists and is not a socket";
        return false;
    }
    if (info.st_uid != ::getuid()) {
        error = path + " belongs to another user; give another path with --socket or set XDG_RUNTIME_DIR";
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

int ConnectUnix(const std::string& path, int type)
{
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

int ListenUnix(const std::string& path, int type, std::string& error)
{
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

void EnableArrivalTimes(int fd)
{
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
}

ssize_t ReceivePacket(int fd, std::span<uint8_t> buffer,
                      std::chrono::steady_clock::time_point& sentAt)
{
    iovec part{buffer.data(), buffer.size()};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(timespec))];
    msghdr message{};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t n = ::recvmsg(fd, &message, MSG_DONTWAIT | MSG_TRUNC);
    sentAt = std::chrono::steady_clock::now();
    for (cmsghdr* c = CMSG_FIRSTHDR(&message); n >= 0 && c != nullptr;
         c = CMSG_NXTHDR(&message, c)) {
        if (c->cmsg_level != SOL_SOCKET || c->cmsg_type != SCM_TIMESTAMPNS) {
            continue;
        }
        // The note is on the wall clock; only its distance from now carries over, which a
        // clock step could make negative or huge.
        timespec stamp{};
        std::memcpy(&stamp, CMSG_DATA(c), sizeof stamp);
        const auto stamped =
            std::chrono::seconds(stamp.tv_sec) + std::chrono::nanoseconds(stamp.tv_nsec);
        const auto age = std::chrono::system_clock::now().time_since_epoch() - stamped;
        if (age > std::chrono::nanoseconds::zero() && age < std::chrono::seconds(1)) {
            sentAt -= std::chrono::duration_cast<std::chrono::steady_clock::duration>(age);
        }
    }
    return n;
}

SendResult SendPacket(int fd, std::span<const uint8_t> packet)
{
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

bool SendLine(int fd, std::string line)
{
    line += '\n';
    size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = ::send(fd, line.data() + done, line.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace kovantis::vkbd
