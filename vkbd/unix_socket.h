#pragma once
// Unix domain sockets by path, as the virtual keyboard uses them.

#include <cstdint>
#include <span>
#include <string>

namespace kovantis::vkbd {

// A non-blocking listening socket of `type` (SOCK_SEQPACKET, SOCK_STREAM) at `path`. A socket
// file left behind by a dead process is replaced; one that a live process answers on is not.
// -1 with a reason on failure.
int ListenUnix(const std::string& path, int type, std::string& error);

// A connected socket of `type` to `path`, or -1 (errno tells why).
int ConnectUnix(const std::string& path, int type);

enum class SendResult { kSent, kFull, kGone };

// Sends one packet without blocking and without SIGPIPE.
SendResult SendPacket(int fd, std::span<const uint8_t> packet);

} // namespace kovantis::vkbd
