// The virtual link: the keyboard (kovantis-vkbd or any peer speaking the same packets) listens on
// a SOCK_SEQPACKET socket; we connect, one connection per process. Every packet is one collection
// byte and that collection's report:
//   0x00 hello, keyboard to host, first packet: vendor id, product id (u16 little-endian each)
//   0x01 command collection, both ways: one 64-byte report
//   0x02 consumer collection, keyboard to host: the 16-bit event code, little-endian
//   0x03 status output collection, host to keyboard: the status bytes
// A connection whose hello names our ids is one device on all three collections.
//
// One I/O thread waits in poll on the socket, an inotify watch of the socket's folder (the
// keyboard appearing and going away) and a stop eventfd. Reports are handed to the callers'
// callbacks straight from the receive buffer; writes go out from the caller's thread.

#include <poll.h>
#include <pthread.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <shared_mutex>
#include <thread>

#include "backend.h"
#include "fd.h"
#include "link_packet.h"
#include "log.h"
#include "wire/command_report.h"
#include "wire/virtual_link.h"

namespace devlinx {
namespace {

using kovantis::kLinkCommand;
using kovantis::kLinkStatus;
constexpr size_t kCommandReportSize = kovantis::kReportSize;

constexpr uint32_t kFolderEvents =
    IN_CREATE | IN_DELETE | IN_ATTRIB | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE_SELF |
    IN_MOVE_SELF | IN_ONLYDIR;
constexpr uint32_t kAppearEvents = IN_CREATE | IN_ATTRIB | IN_MOVED_TO;
constexpr uint32_t kVanishEvents = IN_DELETE | IN_MOVED_FROM;

// A socket that exists but refuses the connection may belong to a keyboard between bind() and
// listen(); it is tried again a few times with a growing pause, then left until the folder
// changes again. Only ever after an event: an idle link never wakes up.
constexpr int kConnectRetries = 10;
constexpr int kFirstRetryDelayMs = 1;
// How long Init waits for the hello of a keyboard that accepted the connection.
constexpr int kHelloWaitMs = 500;
// How long a write waits for room when the keyboard's queue is full.
constexpr int kFullQueueWaitMs = 1000;

class VirtualBackend final : public Backend {
public:
    VirtualBackend(DeviceIds ids, std::string path, BackendSink& sink)
        : ids_(ids), path_(std::move(path)), sink_(sink)
    {
        const auto slash = path_.rfind('/');
        folder_ = slash == std::string::npos ? "." : slash == 0 ? "/" : path_.substr(0, slash);
        name_ = slash == std::string::npos ? path_ : path_.substr(slash + 1);
    }
    ~VirtualBackend() override { Stop(); }

    bool Start() override;
    void Stop() override;
    int Count(Collection c) const override { return counts_.Get(c); }
    int Write(Collection c, const uint8_t* report, size_t length) override;

private:
    void Run();
    void ArmWatch();
    void HandleWatchEvents();
    void OnSocketAppeared();
    void TryConnect();
    void HandleSocket(short revents);
    void DrainSocket();
    void HandlePacket(const uint8_t* packet, size_t length);
    void Disconnect();
    void WaitForHello();

    const DeviceIds ids_;
    const std::string path_;
    std::string folder_;
    std::string name_;
    BackendSink& sink_;
    DeviceCounts counts_;
    std::thread thread_;
    UniqueFd stop_;

    // Owned by the I/O thread (and by Start before the thread runs).
    UniqueFd inotify_;
    int folder_watch_ = -1;
    int ancestor_watch_ = -1;
    UniqueFd socket_;
    bool hello_seen_ = false;
    int retries_left_ = 0;
    int retry_delay_ms_ = 0;
    uint8_t packet_[1 + kMaxReportSize];

    // The connected socket once its hello matched; -1 otherwise. Writers share the lock, the I/O
    // thread takes it alone to retire the socket, so no write ever hits a closed or reused fd.
    std::shared_mutex send_mutex_;
    int send_fd_ = -1;
};

bool VirtualBackend::Start()
{
    sockaddr_un address{};
    if (path_.size() >= sizeof address.sun_path) {
        Log("virtual keyboard socket path is too long: %s", path_.c_str());
        return false;
    }
    stop_ = MakeWakeFd();
    inotify_ = UniqueFd(::inotify_init1(IN_CLOEXEC | IN_NONBLOCK));
    if (!stop_.Valid() || !inotify_.Valid()) {
        Log("cannot create the virtual link's event descriptors: %s", std::strerror(errno));
        return false;
    }
    ArmWatch();
    OnSocketAppeared();
    WaitForHello();
    thread_ = std::thread([this] { Run(); });
    return true;
}

void VirtualBackend::Stop()
{
    if (!thread_.joinable())
        return;
    Signal(stop_);
    thread_.join();
    {
        const std::unique_lock lock(send_mutex_);
        send_fd_ = -1;
    }
    socket_.Reset();
    inotify_.Reset();
}

int VirtualBackend::Write(Collection c, const uint8_t* report, size_t length)
{
    uint8_t type = 0;
    if (c == Collection::command && length == kCommandReportSize)
        type = kLinkCommand;
    else if (c == Collection::status)
        type = kLinkStatus;
    else
        return 0;
    iovec parts[2] = {{&type, 1}, {const_cast<uint8_t*>(report), length}};
    msghdr message{};
    message.msg_iov = parts;
    message.msg_iovlen = 2;
    const std::shared_lock lock(send_mutex_);
    if (send_fd_ < 0)
        return 0;
    // A keyboard that stopped reading must not hang its caller: wait a bounded time for room,
    // then give up (the socket's queue holds hundreds of reports, so a live keyboard never
    // gets here).
    bool waited = false;
    for (;;) {
        const ssize_t sent = ::sendmsg(send_fd_, &message, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent >= 0)
            return sent == static_cast<ssize_t>(length + 1) ? 1 : 0;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN || waited)
            return 0;
        pollfd room{send_fd_, POLLOUT, 0};
        if (::poll(&room, 1, kFullQueueWaitMs) <= 0 || (room.revents & POLLOUT) == 0)
            return 0;
        waited = true;
    }
}

void VirtualBackend::Run()
{
    pthread_setname_np(pthread_self(), "devlinx-io");
    for (;;) {
        pollfd fds[3] = {{stop_.Get(), POLLIN, 0}, {inotify_.Get(), POLLIN, 0},
                         {socket_.Get(), POLLIN, 0}};
        const int timeout = retries_left_ > 0 && !socket_.Valid() ? retry_delay_ms_ : -1;
        const int ready = ::poll(fds, 3, timeout);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            Log("virtual link poll failed: %s", std::strerror(errno));
            return;
        }
        if (fds[0].revents != 0)
            return;
        if (fds[2].revents != 0)
            HandleSocket(fds[2].revents);
        if (fds[1].revents != 0)
            HandleWatchEvents();
        if (ready == 0)
            TryConnect();
    }
}

void VirtualBackend::ArmWatch()
{
    folder_watch_ = ::inotify_add_watch(inotify_.Get(), folder_.c_str(), kFolderEvents);
    if (folder_watch_ >= 0) {
        if (ancestor_watch_ >= 0)
            ::inotify_rm_watch(inotify_.Get(), ancestor_watch_);
        ancestor_watch_ = -1;
        return;
    }
    // The folder does not exist yet (a runtime folder made later, a test's folder): watch the
    // nearest existing ancestor and arm again whenever something is created in it.
    std::string ancestor = folder_;
    int watch = -1;
    while (watch < 0 && ancestor != "/" && ancestor != ".") {
        const auto slash = ancestor.rfind('/');
        ancestor = slash == std::string::npos ? "." : slash == 0 ? "/" : ancestor.substr(0, slash);
        watch = ::inotify_add_watch(inotify_.Get(), ancestor.c_str(),
                                    IN_CREATE | IN_MOVED_TO | IN_ONLYDIR);
    }
    if (ancestor_watch_ >= 0 && ancestor_watch_ != watch)
        ::inotify_rm_watch(inotify_.Get(), ancestor_watch_);
    ancestor_watch_ = watch;
    Log("cannot watch %s for the virtual keyboard: %s", folder_.c_str(), std::strerror(errno));
}

void VirtualBackend::HandleWatchEvents()
{
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(inotify_.Get(), buffer, sizeof buffer);
        if (got <= 0)
            return;
        for (ssize_t at = 0; at < got;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            const char* name = buffer + at + sizeof event;
            at += static_cast<ssize_t>(sizeof event + event.len);
            if (event.mask & IN_Q_OVERFLOW) {
                OnSocketAppeared();
            } else if (event.wd == ancestor_watch_) {
                ArmWatch();
                if (folder_watch_ >= 0)
                    OnSocketAppeared();
            } else if (event.wd == folder_watch_) {
                if (event.mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) {
                    ::inotify_rm_watch(inotify_.Get(), folder_watch_);
                    folder_watch_ = -1;
                    Disconnect();
                    ArmWatch();
                } else if (event.len > 0 && name_ == name) {
                    // What the keyboard sent before the change comes first, its hang-up too.
                    DrainSocket();
                    if (event.mask & kVanishEvents)
                        Disconnect();
                    else if (event.mask & kAppearEvents)
                        OnSocketAppeared();
                }
            }
        }
    }
}

void VirtualBackend::OnSocketAppeared()
{
    if (socket_.Valid())
        return;
    retries_left_ = kConnectRetries;
    retry_delay_ms_ = kFirstRetryDelayMs;
    TryConnect();
}

void VirtualBackend::TryConnect()
{
    if (socket_.Valid())
        return;
    UniqueFd fd(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
    if (!fd.Valid()) {
        Log("cannot create a socket for the virtual link: %s", std::strerror(errno));
        return;
    }
    if (!kovantis::IsOwnSocket(path_)) {
        struct stat info {};
        if (::lstat(path_.c_str(), &info) == 0)
            Log("not connecting to %s: it is not a socket of this user's", path_.c_str());
        retries_left_ = 0;
        return;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path_.c_str(), path_.size() + 1);
    int result;
    do {
        result = ::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (result < 0 && errno == EINTR);
    if (result == 0) {
        Log("connected to the virtual keyboard at %s", path_.c_str());
        socket_ = std::move(fd);
        hello_seen_ = false;
        retries_left_ = 0;
        return;
    }
    if ((errno == ECONNREFUSED || errno == EAGAIN) && retries_left_ > 0) {
        --retries_left_;
        retry_delay_ms_ *= 2;
    } else {
        retries_left_ = 0;
    }
}

void VirtualBackend::WaitForHello()
{
    if (!socket_.Valid())
        return;
    pollfd fd{socket_.Get(), POLLIN, 0};
    while (socket_.Valid() && !hello_seen_ && ::poll(&fd, 1, kHelloWaitMs) > 0)
        HandleSocket(fd.revents);
}

void VirtualBackend::HandleSocket(short revents)
{
    if (revents & POLLIN) {
        const ssize_t got = ::recv(socket_.Get(), packet_, sizeof packet_, 0);
        if (got > 0) {
            HandlePacket(packet_, static_cast<size_t>(got));
            return;
        }
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            return;
        Disconnect();
    } else if (revents & (POLLHUP | POLLERR | POLLNVAL)) {
        Disconnect();
    }
}

void VirtualBackend::DrainSocket()
{
    while (socket_.Valid()) {
        const ssize_t got = ::recv(socket_.Get(), packet_, sizeof packet_, MSG_DONTWAIT);
        if (got > 0)
            HandlePacket(packet_, static_cast<size_t>(got));
        else if (got < 0 && errno == EINTR)
            continue;
        else if (got < 0 && errno == EAGAIN)
            return;
        else
            Disconnect();
    }
}

void VirtualBackend::HandlePacket(const uint8_t* packet, size_t length)
{
    const LinkPacket parsed = ParseLinkPacket(packet, length);
    if (parsed.kind == LinkPacket::Kind::hello) {
        if (hello_seen_)
            return;
        hello_seen_ = true;
        if (!parsed.ids || !(*parsed.ids == ids_)) {
            const DeviceIds peer = parsed.ids.value_or(DeviceIds{0, 0});
            Log("virtual keyboard says %04x:%04x, looking for %04x:%04x", peer.vendor,
                peer.product, ids_.vendor, ids_.product);
            return;
        }
        {
            const std::unique_lock lock(send_mutex_);
            send_fd_ = socket_.Get();
        }
        counts_.SetAll(1, sink_);
        return;
    }
    if (counts_.Get(Collection::command) == 0)
        return;
    if (parsed.kind == LinkPacket::Kind::report)
        sink_.ReportArrived(parsed.collection, parsed.report, parsed.length, parsed.event_code);
}

void VirtualBackend::Disconnect()
{
    if (!socket_.Valid())
        return;
    // Wakes a writer blocked on a full socket so that it lets go of the lock.
    ::shutdown(socket_.Get(), SHUT_RDWR);
    {
        const std::unique_lock lock(send_mutex_);
        send_fd_ = -1;
    }
    socket_.Reset();
    Log("virtual keyboard gone");
    counts_.SetAll(0, sink_);
}

} // namespace

std::string VirtualSocketPath()
{
    return kovantis::VirtualSocketPath(std::getenv("DEVLINX_VIRTUAL_SOCKET"), std::getenv("XDG_RUNTIME_DIR"));
}

std::unique_ptr<Backend> MakeVirtualBackend(DeviceIds ids, std::string socket_path,
                                            BackendSink& sink)
{
    return std::make_unique<VirtualBackend>(ids, std::move(socket_path), sink);
}

} // namespace devlinx
