#pragma once
// The keyboard's end of the virtual link, played by the test: a SOCK_SEQPACKET listener and one
// accepted connection, driven packet by packet.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace devlinx_test {

using Packet = std::vector<uint8_t>;
using namespace std::chrono_literals;

// Long enough never to fire on a working machine, short enough that a fault fails the test
// instead of hanging it.
inline constexpr std::chrono::milliseconds kPatience = 10s;

class FakeKeyboard {
public:
    explicit FakeKeyboard(std::string path) : path_(std::move(path)) {}
    ~FakeKeyboard();
    FakeKeyboard(const FakeKeyboard&) = delete;
    FakeKeyboard& operator=(const FakeKeyboard&) = delete;

    const std::string& Path() const { return path_; }

    // Creates the socket file and listens on it.
    void Listen();
    // Closes the listener and removes the socket file; the connection stays.
    void StopListening();
    // Removes the socket file only.
    void Unlink();
    // Changes the socket file's mode: the "plugged in again" signal for a listener that stayed.
    void Touch();

    // Takes the library's connection; false when none came within `patience`.
    bool Accept(std::chrono::milliseconds patience = kPatience);
    void SendHello(uint16_t vendor, uint16_t product);
    void Send(const Packet& packet);
    // The next packet from the library; nullopt on timeout or when the library hung up.
    std::optional<Packet> Receive(std::chrono::milliseconds patience = kPatience);
    // true once the library closed its end (pending packets are skipped).
    bool WaitPeerClosed(std::chrono::milliseconds patience = kPatience);
    void Hangup();

private:
    std::string path_;
    int listener_ = -1;
    int connection_ = -1;
};

// A 64-byte command report: report id 0x04, checksum, command, length, address, status, data.
Packet CommandReport(uint8_t command, uint8_t fill = 0);

} // namespace devlinx_test
