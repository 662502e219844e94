#pragma once
// The virtual link between the device library and the virtual keyboard: a SOCK_SEQPACKET Unix
// socket on which every packet is one collection byte followed by that collection's report.
// The keyboard listens; the library connects, one connection per process.

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kovantis {

enum VirtualLinkPacket : uint8_t {
    kLinkHello = 0x00,     // keyboard to host, first packet: vendor id, product id (u16 LE each)
    kLinkCommand = 0x01,   // both ways: one 64-byte command report
    kLinkConsumer = 0x02,  // keyboard to host: the 16-bit event code, little-endian
    kLinkStatus = 0x03,    // host to keyboard: the status bytes
};
inline constexpr size_t kLinkHelloSize = 5;

// The socket's path: `explicitPath` ($DEVLINX_VIRTUAL_SOCKET) when set, else
// `runtimeFolder`/kovantis-vkbd.sock ($XDG_RUNTIME_DIR), else /tmp/kovantis-vkbd-<uid>.sock.
// Null and empty mean unset.
inline std::string VirtualSocketPath(const char* explicitPath, const char* runtimeFolder)
{
    if (explicitPath != nullptr && *explicitPath != '\0')
        return explicitPath;
    if (runtimeFolder != nullptr && *runtimeFolder != '\0')
        return std::string(runtimeFolder) + "/kovantis-vkbd.sock";
    return "/tmp/kovantis-vkbd-" + std::to_string(::getuid()) + ".sock";
}

// Whether the socket at `path` can be the user's own keyboard: a socket, not a link to one,
// that belongs to this user. In the shared /tmp any local user could have made the path
// first and would then see every report the program sends.
inline bool IsOwnSocket(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode) && info.st_uid == ::getuid();
}

} // namespace kovantis
