#include "platform/instance_channel.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace kovantis {
namespace {

bool AddressOf(const std::filesystem::path& path, sockaddr_un* address)
{
    *address = sockaddr_un{};
    address->sun_family = AF_UNIX;
    const std::string& text = path.native();
    if (text.empty() || text.size() >= sizeof address->sun_path)
        return false;
    std::memcpy(address->sun_path, text.c_str(), text.size() + 1);
    return true;
}

// Waits for `events` on fd until the deadline; false on time-out or error.
bool WaitFor(int fd, short events, std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd wanted{fd, events, 0};
        const int ready = ::poll(&wanted, 1, static_cast<int>(std::max<long long>(0, left.count())));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

} // namespace

int ListenOnInstanceSocket(const std::filesystem::path& path, std::string* error)
{
    const auto fail = [&](const std::string& cause) {
        if (error)
            *error = "cannot listen on " + path.string() + ": " + cause;
        return -1;
    };
    sockaddr_un address;
    if (!AddressOf(path, &address))
        return fail("the path is too long for a socket");
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return fail(std::strerror(errno));
    ::unlink(path.c_str());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(path.c_str(), 0600) != 0 || ::listen(fd, 8) != 0) {
        const int cause = errno;
        ::close(fd);
        return fail(std::strerror(cause));
    }
    return fd;
}

int AcceptInstanceClient(int listening)
{
    for (;;) {
        const int fd = ::accept4(listening, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd >= 0 || errno != EINTR)
            return fd;
    }
}

bool SendInstanceLine(const std::filesystem::path& path, std::string_view line, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    sockaddr_un address;
    if (!AddressOf(path, &address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    for (std::size_t sent = 0; ok && sent < line.size();) {
        const ssize_t n = ::send(fd, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
        ok = n > 0 || (n < 0 && errno == EINTR);
        sent += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    // The answer says the line was taken: after "ok" to KILL, the program is ending.
    std::string answer;
    while (ok && answer.size() < 16 && WaitFor(fd, POLLIN, deadline)) {
        char c = 0;
        const ssize_t got = ::recv(fd, &c, 1, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got != 1 || c == '\n')
            break;
        answer += c;
    }
    ::close(fd);
    return ok && answer == "ok";
}

void LineCollector::Add(std::string_view bytes)
{
    pending_.append(bytes);
}

bool LineCollector::Next(std::string* line)
{
    for (;;) {
        const std::size_t end = pending_.find('\n');
        if (end == std::string::npos) {
            if (pending_.size() > kMaxLine) {
                pending_.clear();
                skipping_ = true;
            }
            return false;
        }
        const bool dropped = skipping_ || end > kMaxLine;
        skipping_ = false;
        *line = pending_.substr(0, end);
        pending_.erase(0, end + 1);
        if (!dropped)
            return true;
    }
}

} // namespace kovantis
