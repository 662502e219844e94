#include "integration/vkbd/seqpacket_client.h"

#include <algorithm>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kovantis::vkbd::testing {

bool SeqpacketClient::Connect(const std::string& path)
{
    Close();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    fd_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        Close();
        return false;
    }
    return true;
}

void SeqpacketClient::Close()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool SeqpacketClient::Send(std::span<const uint8_t> packet) const
{
    return ::send(fd_, packet.data(), packet.size(), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(packet.size());
}

std::optional<std::vector<uint8_t>> SeqpacketClient::Receive(int timeoutMs) const
{
    pollfd entry{fd_, POLLIN, 0};
    if (::poll(&entry, 1, timeoutMs) <= 0) {
        return std::nullopt;
    }
    std::vector<uint8_t> packet(256);
    const ssize_t n = ::recv(fd_, packet.data(), packet.size(), 0);
    packet.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return packet;
}

std::optional<std::array<uint8_t, 64>> SeqpacketClient::Exchange(
    const std::array<uint8_t, 64>& report, int timeoutMs) const
{
    std::vector<uint8_t> packet{0x01};
    packet.insert(packet.end(), report.begin(), report.end());
    if (!Send(packet)) {
        return std::nullopt;
    }
    for (;;) {
        const auto answer = Receive(timeoutMs);
        if (!answer || answer->empty()) {
            return std::nullopt;
        }
        if ((*answer)[0] == 0x01 && answer->size() == 65) {
            std::array<uint8_t, 64> reply{};
            std::copy(answer->begin() + 1, answer->end(), reply.begin());
            return reply;
        }
    }
}

} // namespace kovantis::vkbd::testing
