#include "fake_keyboard.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace devlinx_test {
namespace {

bool WaitReadable(int fd, std::chrono::milliseconds patience)
{
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, static_cast<int>(patience.count())) > 0;
}

} // namespace

FakeKeyboard::~FakeKeyboard()
{
    Hangup();
    StopListening();
}

void FakeKeyboard::Listen()
{
    listener_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    ASSERT_GE(listener_, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path_.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, path_.c_str(), path_.size() + 1);
    ::unlink(path_.c_str());
    ASSERT_EQ(::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0)
        << std::strerror(errno);
    ASSERT_EQ(::listen(listener_, 4), 0);
}

void FakeKeyboard::StopListening()
{
    if (listener_ >= 0) {
        ::close(listener_);
        listener_ = -1;
        ::unlink(path_.c_str());
    }
}

void FakeKeyboard::Unlink()
{
    ::unlink(path_.c_str());
}

void FakeKeyboard::Touch()
{
    ::chmod(path_.c_str(), 0600);
}

bool FakeKeyboard::Accept(std::chrono::milliseconds patience)
{
    if (listener_ < 0 || !WaitReadable(listener_, patience))
        return false;
    Hangup();
    connection_ = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    return connection_ >= 0;
}

void FakeKeyboard::SendHello(uint16_t vendor, uint16_t product)
{
    Send({0x00, static_cast<uint8_t>(vendor), static_cast<uint8_t>(vendor >> 8),
          static_cast<uint8_t>(product), static_cast<uint8_t>(product >> 8)});
}

void FakeKeyboard::Send(const Packet& packet)
{
    ASSERT_GE(connection_, 0);
    ASSERT_EQ(::send(connection_, packet.data(), packet.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(packet.size()));
}

std::optional<Packet> FakeKeyboard::Receive(std::chrono::milliseconds patience)
{
    if (connection_ < 0 || !WaitReadable(connection_, patience))
        return std::nullopt;
    Packet packet(8192);
    const ssize_t got = ::recv(connection_, packet.data(), packet.size(), 0);
    if (got <= 0)
        return std::nullopt;
    packet.resize(static_cast<size_t>(got));
    return packet;
}

bool FakeKeyboard::WaitPeerClosed(std::chrono::milliseconds patience)
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (connection_ >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !WaitReadable(connection_, left))
            return false;
        uint8_t skip[8192];
        if (::recv(connection_, skip, sizeof skip, 0) <= 0)
            return true;
    }
    return false;
}

void FakeKeyboard::Hangup()
{
    if (connection_ >= 0) {
        ::close(connection_);
        connection_ = -1;
    }
}

Packet CommandReport(uint8_t command, uint8_t fill)
{
    Packet report(64, fill);
    report[0] = 0x04;
    report[3] = command;
    report[7] = 0;
    unsigned sum = 0;
    for (size_t i = 3; i < report.size(); ++i)
        sum += report[i];
    report[1] = static_cast<uint8_t>(sum);
    report[2] = static_cast<uint8_t>(sum >> 8);
    return report;
}

} // namespace devlinx_test
