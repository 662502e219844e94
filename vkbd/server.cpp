#include "vkbd/server.h"

#include "wire/command_report.h"
#include "vkbd/unix_socket.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <poll.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kovantis::vkbd {
namespace {

constexpr size_t kMaxPacket = 1 + kReportSize;

void Complain(const std::string& message)
{
    std::fprintf(stderr, "kovantis-vkbd: %s\n", message.c_str());
}

bool FileExists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

int OpenSignalFd()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigprocmask(SIG_BLOCK, &set, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    return ::signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
}

} // namespace

Server::Server(const ServerOptions& options)
    : options_(options),
      model_(options.keyboard),
      handler_(model_, faults_, latency_, *this)
{
    latency_.Set(options.latency);
}

Server::~Server()
{
    Unplug();
    control_.Close();
    if (signals_ >= 0) {
        ::close(signals_);
    }
}

bool Server::Start()
{
    ::umask(077);  // sockets and the state file are the user's alone
    signals_ = OpenSignalFd();
    if (signals_ < 0) {
        Complain("cannot watch for signals");
        return false;
    }
    if (!LoadState()) {
        return false;
    }
    std::string error;
    if (!control_.Open(options_.controlPath, error) ||
        (!options_.startUnplugged && !Plug(error))) {
        Complain(error);
        return false;
    }
    return true;
}

// A state file that exists but cannot be read as one is never overwritten: the path may well
// name some other file by mistake.
bool Server::LoadState()
{
    if (!options_.statePath.empty() && FileExists(options_.statePath) &&
        !model_.Load(options_.statePath)) {
        Complain(options_.statePath + " is not a readable kovantis-vkbd state file");
        return false;
    }
    savedGeneration_ = model_.Generation();
    return true;
}

int Server::Run()
{
    while (!quit_) {
        std::vector<pollfd>& entries = pollEntries_;
        entries.clear();
        entries.push_back({signals_, POLLIN, 0});
        if (host_ >= 0) {
            // While a reply is held back, the next request waits in the socket.
            entries.push_back({host_, static_cast<short>(delayedReply_ ? 0 : POLLIN), 0});
        } else {
            entries.push_back({listener_, POLLIN, 0});  // -1 when unplugged: not polled
        }
        control_.AddPollEntries(entries);

        if (::poll(entries.data(), entries.size(), PollTimeoutMs()) < 0 && errno != EINTR) {
            Complain("poll failed");
            break;
        }
        SendDelayedReplyWhenDue();
        if (entries[0].revents & POLLIN) {
            signalfd_siginfo info{};
            while (::read(signals_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
                quit_ = true;
            }
        }
        if (entries[1].revents != 0) {
            host_ >= 0 ? ServeHost(entries[1].revents) : AcceptHost();
        }
        control_.Serve(std::span(entries).subspan(2), [this](std::string_view line) {
            std::string answer = handler_.Execute(line);
            SaveIfChanged(false);
            return answer;
        });
    }
    Unplug();
    SaveIfChanged(true);
    control_.Close();
    return 0;
}

int Server::PollTimeoutMs() const
{
    if (!delayedReply_) {
        return -1;
    }
    const auto left = delayedUntil_ - LinkClock::now();
    return left.count() <= 0
               ? 0
               : static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

bool Server::Plug(std::string& error)
{
    if (listener_ >= 0) {
        return true;
    }
    listener_ = ListenUnix(options_.socketPath, SOCK_SEQPACKET, error);
    if (listener_ < 0) {
        return false;
    }
    model_.LeaveBootLoader();
    return true;
}

// The socket goes first, so that a host seeing its connection end finds no keyboard to
// reconnect to.
void Server::Unplug()
{
    if (listener_ >= 0) {
        ::close(listener_);
        ::unlink(options_.socketPath.c_str());
        listener_ = -1;
    }
    DropHost();
}

void Server::AcceptHost()
{
    const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
        return;
    }
    host_ = fd;
    EnableArrivalTimes(host_);
    std::array<uint8_t, kLinkHelloSize - 1> hello{};
    WriteU16(hello, 0, options_.usbId.vendor);
    WriteU16(hello, 2, options_.usbId.product);
    SendToHost(kLinkHello, hello, LinkClock::now());
}

void Server::DropHost()
{
    if (host_ < 0) {
        return;
    }
    ::close(host_);
    host_ = -1;
    delayedReply_.reset();
    SaveIfChanged(true);  // a host that left in the middle of a transfer will not end it
}

void Server::ServeHost(short events)
{
    std::array<uint8_t, kMaxPacket + 1> packet{};
    LinkClock::time_point sentAt;
    const ssize_t n = ReceivePacket(host_, packet, sentAt);
    if (n < 0) {
        if (errno != EAGAIN && errno != EINTR) {
            DropHost();
        }
        return;
    }
    if (n == 0) {
        // End of the connection, or an empty packet, which is ignored like any malformed one.
        if (events & (POLLHUP | POLLERR)) {
            DropHost();
        }
        return;
    }
    const auto length = static_cast<size_t>(n);
    if (packet[0] == kLinkCommand && length == kMaxPacket) {
        HandleCommandReport(std::span<const uint8_t, 64>(packet.data() + 1, kReportSize), sentAt);
    } else if (packet[0] == kLinkStatus && length > 1 && length <= kMaxPacket) {
        statusBytes_.assign(packet.begin() + 1, packet.begin() + n);
    }
}

void Server::HandleCommandReport(std::span<const uint8_t, 64> request,
                                 LinkClock::time_point sentAt)
{
    if (KeyboardModel::IsBootLoaderCommand(request)) {
        latency_.WaitFrom(sentAt);
        model_.HandleCommand(request);
        Unplug();  // the keyboard restarts into its boot loader and leaves the link
        return;
    }
    // The keyboard sees the request one latency after it was sent and answers when done; the
    // reply then spends one more latency on the way back. Handling the request at once and
    // waiting once for both looks the same to the host, and costs one timer wake-up, not two.
    const auto started = LinkClock::now();
    auto reply = faults_.TakeRefusal(request);
    if (!reply) {
        reply = model_.HandleCommand(request);
    }
    if (!reply) {
        return;
    }
    SaveIfChanged(false);  // before the reply: what the host was told is written, is
    const auto outcome = faults_.Shape(*reply);
    if (!outcome.send) {
        return;
    }
    const auto answeredAt = sentAt + latency_.Get() + (LinkClock::now() - started);
    if (outcome.delay.count() > 0) {
        delayedReply_ = *reply;
        delayedUntil_ = answeredAt + outcome.delay;
        return;
    }
    SendToHost(kLinkCommand, *reply, answeredAt);
}

void Server::SendDelayedReplyWhenDue()
{
    if (delayedReply_ && LinkClock::now() >= delayedUntil_) {
        const Report reply = *delayedReply_;
        delayedReply_.reset();
        SendToHost(kLinkCommand, reply, delayedUntil_);
    }
}

bool Server::SendEvent(uint16_t code)
{
    if (host_ < 0) {
        return false;
    }
    std::array<uint8_t, 2> event{};
    WriteU16(event, 0, code);
    return SendToHost(kLinkConsumer, event, LinkClock::now());
}

bool Server::SendToHost(uint8_t collection, std::span<const uint8_t> report,
                        LinkClock::time_point readyAt)
{
    if (collection != kLinkHello) {
        latency_.WaitFrom(readyAt);
    }
    std::array<uint8_t, kMaxPacket> packet{};
    packet[0] = collection;
    std::copy(report.begin(), report.end(), packet.begin() + 1);
    switch (SendPacket(host_, std::span(packet).first(1 + report.size()))) {
    case SendResult::kSent: return true;
    case SendResult::kFull: return false;  // a host that does not read loses reports
    case SendResult::kGone: break;
    }
    DropHost();
    return false;
}

void Server::SaveIfChanged(bool evenInTransfer)
{
    if (options_.statePath.empty() || model_.Generation() == savedGeneration_ ||
        (model_.InTransfer() && !evenInTransfer)) {
        return;
    }
    std::string error;
    if (!SaveState(error)) {
        Complain(error);
    }
}

bool Server::SaveState(std::string& error)
{
    if (options_.statePath.empty()) {
        error = "no state file (start with --state FILE)";
        return false;
    }
    if (!model_.Save(options_.statePath)) {
        error = "cannot write the state file " + options_.statePath;
        return false;
    }
    savedGeneration_ = model_.Generation();
    return true;
}

} // namespace kovantis::vkbd
