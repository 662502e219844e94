#include "vkbd/unix_socket.h"

#include <gtest/gtest.h>

#include "wire/virtual_link.h"

#include <array>
#include <filesystem>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace kovantis::vkbd {
namespace {

// Link latency is counted from when the host sent a report, not from when the keyboard got
// round to reading it.
TEST(UnixSocket, ReceivedPacketsCarryTheTimeTheyWereSent)
{
    int fds[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET, 0, fds), 0);
    EnableArrivalTimes(fds[1]);
    const std::array<uint8_t, 70> sent{0x01, 0x04};
    ASSERT_EQ(::send(fds[0], sent.data(), sent.size(), 0), static_cast<ssize_t>(sent.size()));
    std::this_thread::sleep_for(20ms);

    std::array<uint8_t, 66> buffer{};
    std::chrono::steady_clock::time_point sentAt;
    // Longer than the buffer: the length says so, as recv(MSG_TRUNC) does.
    EXPECT_EQ(ReceivePacket(fds[1], buffer, sentAt), 70);
    EXPECT_EQ(buffer[1], 0x04);
    EXPECT_GE(std::chrono::steady_clock::now() - sentAt, 20ms);

    // Nothing waiting: no blocking.
    EXPECT_EQ(ReceivePacket(fds[1], buffer, sentAt), -1);
    EXPECT_EQ(errno, EAGAIN);
    ::close(fds[0]);
    EXPECT_EQ(ReceivePacket(fds[1], buffer, sentAt), 0);
    ::close(fds[1]);
}

// In the shared /tmp another user may have made the keyboard's path first: the keyboard does
// not take it over and the program does not talk to it.
TEST(UnixSocket, ASocketOfAnotherUserIsNeitherReplacedNorTrusted)
{
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("kovantis-vkbd-owner-" + std::to_string(::getpid()) + ".sock")).string();
    std::string error;
    const int listening = ListenUnix(path, SOCK_SEQPACKET, error);
    ASSERT_GE(listening, 0) << error;
    ::close(listening);
    EXPECT_TRUE(IsOwnSocket(path));
    EXPECT_FALSE(IsOwnSocket(path + ".missing"));
    if (::geteuid() != 0 || ::lchown(path.c_str(), 65534, 65534) != 0) {
        ::unlink(path.c_str());
        GTEST_SKIP() << "giving the socket to another user needs root";
    }
    EXPECT_FALSE(IsOwnSocket(path));
    EXPECT_LT(ListenUnix(path, SOCK_SEQPACKET, error), 0);
    EXPECT_NE(error.find("belongs to another user"), std::string::npos) << error;
    EXPECT_TRUE(std::filesystem::exists(path));
    ::unlink(path.c_str());
}

} // namespace
} // namespace kovantis::vkbd
