// Exchanges per second through the program's request channel over the virtual link (the real
// libdevlinx.so and kovantis-vkbd), against a raw SOCK_SEQPACKET ping-pong of 65-byte packets
// between two processes measured in the same run; then, with 1 ms of link latency per report
// each way, 590 exchanges against 590 times the link's own round trip.
//
// Run: KOVANTIS_BIN_DIR=build/bin build/bench/exchange_rate

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "device/device_link.h"
#include "device/report_frame.h"
#include "ports/clock.h"
#include "support/fake_ports.h"
#include "support/vkbd_process.h"

using namespace kovantis;
using Seconds = std::chrono::duration<double>;

namespace {

constexpr int kRawExchanges = 20000;
constexpr int kChannelExchanges = 20000;
constexpr int kLatencyExchanges = 590;

// Round trips per second of 65-byte packets between this process and an echoing child.
double RawPingPongRate()
{
    int fds[2];
    if (socketpair(AF_UNIX, SOCK_SEQPACKET, 0, fds) != 0)
        return 0;
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        unsigned char packet[65];
        ssize_t got;
        while ((got = recv(fds[1], packet, sizeof packet, 0)) > 0)
            send(fds[1], packet, static_cast<size_t>(got), 0);
        _exit(0);
    }
    close(fds[1]);
    unsigned char packet[65] = {0x01, 0x04};
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRawExchanges; ++i) {
        send(fds[0], packet, sizeof packet, 0);
        recv(fds[0], packet, sizeof packet, 0);
    }
    const Seconds elapsed = std::chrono::steady_clock::now() - start;
    close(fds[0]);
    waitpid(child, nullptr, 0);
    return kRawExchanges / elapsed.count();
}

// Seconds for `count` exchanges through the request channel; negative when one failed.
double TimeExchanges(RequestChannel& channel, int count)
{
    const ReportBuffer request = BuildRequest(0x03, 0x2C, 0);
    ReportBuffer reply{};
    int delivered = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
        if (channel.SendReport(request, reply, delivered) != kSendOk)
            return -1;
    }
    return Seconds(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main()
{
    testing::VkbdProcess keyboard;
    if (!keyboard.Running()) {
        std::fprintf(stderr, "exchange_rate: cannot start %s/kovantis-vkbd\n",
                     testing::BinDir().c_str());
        return 1;
    }
    setenv("DEVLINX_BACKEND", "virtual", 1);
    setenv("DEVLINX_VIRTUAL_SOCKET", keyboard.SocketPath().c_str(), 1);
    std::string error;
    const auto functions = DeviceLibrary::Load(testing::BinDir() + "/libdevlinx.so", &error);
    if (!functions) {
        std::fprintf(stderr, "exchange_rate: %s\n", error.c_str());
        return 1;
    }
    testing::FakeWindow window;
    testing::FakePrompter prompter;
    testing::FakeTexts texts;
    DeviceLink link(*functions, window, prompter, texts, SystemClock());
    link.State().SetWindowReady(true);
    if (link.Start() != 1 || !link.State().WaitUntilPresent(std::chrono::seconds(5))) {
        std::fprintf(stderr, "exchange_rate: the virtual keyboard is not on the link\n");
        return 1;
    }
    link.GetPresence().WaitIdle();

    TimeExchanges(link.Channel(), 1000);  // warm up
    const double raw = RawPingPongRate();
    const double channelSeconds = TimeExchanges(link.Channel(), kChannelExchanges);
    if (channelSeconds <= 0) {
        std::fprintf(stderr, "exchange_rate: an exchange failed\n");
        return 1;
    }
    const double channel = kChannelExchanges / channelSeconds;
    std::printf("raw seqpacket ping-pong: %.0f exchanges/s\n", raw);
    std::printf("request channel:         %.0f exchanges/s\n", channel);
    std::printf("ratio %.3f (channel / raw; goal >= 0.8)\n", channel / raw);

    keyboard.Control("latency 1");
    const double latencySeconds = TimeExchanges(link.Channel(), kLatencyExchanges);
    // The link's own round trip: 1 ms each way plus what the raw socket costs.
    const double floorSeconds = kLatencyExchanges * (0.002 + 1.0 / raw);
    std::printf("590 exchanges at 1 ms per report each way: %.1f ms (link floor %.1f ms)\n",
                latencySeconds * 1000, floorSeconds * 1000);
    std::printf("ratio %.3f (time / floor; goal <= 1.03)\n", latencySeconds / floorSeconds);
    link.Stop();
    return 0;
}
