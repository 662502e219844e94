// Exchanges per second through the program's request channel over the virtual link (the real
// libdevlinx.so and kovantis-vkbd), against a raw SOCK_SEQPACKET ping-pong of 65-byte packets
// between two processes measured in the same run; then, with 1 ms of link latency per report
// each way, 590 exchanges against 590 times the link's own round trip.
//
// The machine may be busy with other work that comes and goes, so the two rates are measured
// in alternating rounds and the ratio is the median of the rounds' ratios.
//
// Run: KOVANTIS_BIN_DIR=build/bin build/bench/exchange_rate

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "device/report_frame.h"
#include "support/vkbd_link.h"

using namespace kovantis;
using Seconds = std::chrono::duration<double>;

namespace {

constexpr int kRounds = 11;
constexpr int kExchangesPerRound = 2000;
constexpr int kLatencyExchanges = 590;

// An echoing child process at the other end of a SOCK_SEQPACKET pair.
class RawEcho {
public:
    RawEcho()
    {
        int fds[2];
        if (socketpair(AF_UNIX, SOCK_SEQPACKET, 0, fds) != 0)
            return;
        child_ = fork();
        if (child_ == 0) {
            close(fds[0]);
            unsigned char packet[65];
            ssize_t got;
            while ((got = recv(fds[1], packet, sizeof packet, 0)) > 0)
                send(fds[1], packet, static_cast<size_t>(got), 0);
            _exit(0);
        }
        close(fds[1]);
        fd_ = fds[0];
    }
    ~RawEcho()
    {
        if (fd_ >= 0)
            close(fd_);
        if (child_ > 0)
            waitpid(child_, nullptr, 0);
    }
    RawEcho(const RawEcho&) = delete;
    RawEcho& operator=(const RawEcho&) = delete;

    // Round trips per second of 65-byte packets; 0 when the echo is not running.
    double Rate(int count) const
    {
        if (fd_ < 0 || child_ <= 0)
            return 0;
        unsigned char packet[65] = {0x01, 0x04};
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < count; ++i) {
            send(fd_, packet, sizeof packet, 0);
            recv(fd_, packet, sizeof packet, 0);
        }
        return count / Seconds(std::chrono::steady_clock::now() - start).count();
    }

private:
    int fd_ = -1;
    pid_t child_ = -1;
};

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

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main()
{
    testing::VkbdLink setup;
    if (!setup.Error().empty()) {
        std::fprintf(stderr, "exchange_rate: %s\n", setup.Error().c_str());
        return 1;
    }
    RequestChannel& channel = setup.Link().Channel();
    const RawEcho echo;

    TimeExchanges(channel, 1000);  // warm up
    std::vector<double> raw, ofChannel, ratios;
    for (int round = 0; round < kRounds; ++round) {
        raw.push_back(echo.Rate(kExchangesPerRound));
        const double seconds = TimeExchanges(channel, kExchangesPerRound);
        if (seconds <= 0 || raw.back() <= 0) {
            std::fprintf(stderr, "exchange_rate: an exchange failed\n");
            return 1;
        }
        ofChannel.push_back(kExchangesPerRound / seconds);
        ratios.push_back(ofChannel.back() / raw.back());
    }
    const double rawRate = Median(raw);
    std::printf("raw seqpacket ping-pong: %.0f exchanges/s (%.1f us each; median of %d rounds)\n",
                rawRate, 1e6 / rawRate, kRounds);
    std::printf("request channel:         %.0f exchanges/s (%.1f us each)\n", Median(ofChannel),
                1e6 / Median(ofChannel));
    std::printf("ratio %.3f (channel / raw, median of the rounds; goal >= 0.8)\n",
                Median(ratios));

    setup.Keyboard().Control("latency 1");
    const double latencySeconds = TimeExchanges(channel, kLatencyExchanges);
    // The link's own round trip: 1 ms each way plus what the raw socket costs.
    const double floorSeconds = kLatencyExchanges * (0.002 + 1.0 / rawRate);
    std::printf("590 exchanges at 1 ms per report each way: %.1f ms (link floor %.1f ms)\n",
                latencySeconds * 1000, floorSeconds * 1000);
    std::printf("ratio %.3f (time / floor; goal <= 1.03)\n", latencySeconds / floorSeconds);
    return 0;
}
