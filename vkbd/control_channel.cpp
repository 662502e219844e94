#include "vkbd/control_channel.h"

#include "vkbd/unix_socket.h"

#include <cerrno>
#include <span>
#include <sys/socket.h>
#include <unistd.h>

namespace kovantis::vkbd {
namespace {

constexpr size_t kMaxLine = 4096;

} // namespace

ControlChannel::~ControlChannel() { Close(); }

bool ControlChannel::Open(const std::string& path, std::string& error)
{
    listener_ = ListenUnix(path, SOCK_STREAM, error);
    if (listener_ < 0) {
        return false;
    }
    path_ = path;
    return true;
}

void ControlChannel::Close()
{
    for (const auto& client : clients_) {
        ::close(client.fd);
    }
    clients_.clear();
    if (listener_ >= 0) {
        ::close(listener_);
        ::unlink(path_.c_str());
        listener_ = -1;
    }
}

void ControlChannel::AddPollEntries(std::vector<pollfd>& entries) const
{
    entries.push_back({listener_, POLLIN, 0});
    for (const auto& client : clients_) {
        entries.push_back({client.fd, POLLIN, 0});
    }
}

void ControlChannel::Serve(std::span<const pollfd> entries, const LineHandler& handler)
{
    // Entries are the listener, then the clients in order, as AddPollEntries made them.
    std::vector<Client> kept;
    for (size_t i = 0; i < clients_.size(); ++i) {
        const short events = i + 1 < entries.size() ? entries[i + 1].revents : 0;
        if (events == 0 || ServeClient(clients_[i], handler)) {
            kept.push_back(std::move(clients_[i]));
        } else {
            ::close(clients_[i].fd);
        }
    }
    clients_ = std::move(kept);
    if (!entries.empty() && (entries[0].revents & POLLIN)) {
        Accept();
    }
}

void ControlChannel::Accept()
{
    const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
        return;
    }
    // Answers can be long (a whole macro area as hex) and are written out completely; a client
    // that stops reading is given up after this.
    const timeval timeout{2, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    clients_.push_back({fd, {}});
}

bool ControlChannel::ServeClient(Client& client, const LineHandler& handler)
{
    char buffer[1024];
    const ssize_t n = ::recv(client.fd, buffer, sizeof buffer, MSG_DONTWAIT);
    if (n < 0) {
        return errno == EINTR || errno == EAGAIN;
    }
    if (n == 0) {
        // A last command without its newline still counts.
        if (!client.pending.empty()) {
            SendLine(client.fd, handler(client.pending));
        }
        return false;
    }
    client.pending.append(buffer, static_cast<size_t>(n));
    size_t newline;
    while ((newline = client.pending.find('\n')) != std::string::npos) {
        const std::string line = client.pending.substr(0, newline);
        client.pending.erase(0, newline + 1);
        if (!SendLine(client.fd, handler(line))) {
            return false;
        }
    }
    if (client.pending.size() > kMaxLine) {
        SendLine(client.fd, "error line too long");
        return false;
    }
    return true;
}

} // namespace kovantis::vkbd
