#pragma once
// A host on the virtual link speaking the wire protocol directly, packet by packet.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kovantis::vkbd::testing {

class SeqpacketClient {
public:
    SeqpacketClient() = default;
    ~SeqpacketClient() { Close(); }
    SeqpacketClient(const SeqpacketClient&) = delete;
    SeqpacketClient& operator=(const SeqpacketClient&) = delete;

    bool Connect(const std::string& path);
    void Close();

    bool Send(std::span<const uint8_t> packet) const;
    // The next packet within timeoutMs; nullopt on timeout. An empty packet means the keyboard
    // closed the connection.
    std::optional<std::vector<uint8_t>> Receive(int timeoutMs = 5000) const;

    // Sends 0x01 + the 64-byte report and returns the 64-byte reply (without the collection
    // byte), skipping consumer events that arrive in between.
    std::optional<std::array<uint8_t, 64>> Exchange(const std::array<uint8_t, 64>& report,
                                                    int timeoutMs = 5000) const;

private:
    int fd_ = -1;
};

} // namespace kovantis::vkbd::testing
