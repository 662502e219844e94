#pragma once
// Unix domain sockets by path, as the virtual keyboard uses them.

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <sys/types.h>

namespace kovantis::vkbd {

// A non-blocking listening socket of `type` (SOCK_SEQPACKET, SOCK_STREAM) at `path`. A socket
// file left behind by a dead process is replaced; one that a live process answers on is not.
// -1 with a reason on failure.
int ListenUnix(const std::string& path, int type, std::string& error);

// A connected socket of `type` to `path`, or -1 (errno tells why).
int ConnectUnix(const std::string& path, int type);

enum class SendResult { kSent, kFull, kGone };

// Has the kernel note when each packet entered the socket, for ReceivePacket.
void EnableArrivalTimes(int fd);

// Receives one packet without blocking. Returns what recv(MSG_TRUNC) does: the packet's full
// length, 0, or -1 with errno. `sentAt` is when the packet entered the socket: the kernel's note
// when EnableArrivalTimes took, otherwise now.
ssize_t ReceivePacket(int fd, std::span<uint8_t> buffer,
                      std::chrono::steady_clock::time_point& sentAt);

// Sends one packet without blocking and without SIGPIPE.
SendResult SendPacket(int fd, std::span<const uint8_t> packet);

// Writes `line` and a newline completely on a stream socket, without SIGPIPE; false when the
// peer went away or the socket's send timeout ran out first.
bool SendLine(int fd, std::string line);

} // namespace kovantis::vkbd
