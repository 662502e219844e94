#pragma once
// Send-and-wait exchanges with the keyboard over the command collection: one 64-byte request,
// one 64-byte reply handed in by the notification handler through DeliverReply, matched to the
// request by its command byte, up to three sends.
//
// Exchanges are mutually exclusive: a second caller (the UI and the presence worker talk to the
// keyboard at the same time) waits until the first exchange has returned, so no reply is ever
// handed to the wrong sender. The slot that receives a reply is guarded as well, because
// DeliverReply runs on the library's notification thread.

#include <array>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <span>

#include "device/reply_signal.h"
#include "devlinx.h"

namespace kovantis {

class Clock;
struct DeviceFunctions;

// Results of SendReport.
inline constexpr int kSendOk = 1;
inline constexpr int kSendNoDevice = 0;   // no keyboard present: nothing was sent
inline constexpr int kSendRefused = -1;   // the library refused the report
inline constexpr int kSendNoReply = -2;   // no matching reply after three sends

class RequestChannel {
public:
    static constexpr std::chrono::milliseconds kReplyTimeout{1000};
    static constexpr std::chrono::milliseconds kRetryPause{10};
    static constexpr int kMaxSends = 3;

    // selector names the command collection. Pauses between sends go through clock; replyTimeout
    // is how long one send waits for its reply (tests whose replies arrive synchronously pass 0).
    RequestChannel(const DeviceFunctions& functions, const DeviceSelector& selector, Clock& clock,
                   std::chrono::milliseconds replyTimeout = kReplyTimeout);
    RequestChannel(const RequestChannel&) = delete;
    RequestChannel& operator=(const RequestChannel&) = delete;

    // One exchange. The request goes out as 64 bytes (cut or zero-filled); up to reply.size()
    // bytes of the reply land in reply, and deliveredLength says how many arrived. A reply with
    // status 0xFF or 0xFE is sent again, and the third such reply is returned with kSendOk.
    int SendReport(std::span<const uint8_t> request, std::span<uint8_t> reply,
                   int& deliveredLength);
    // The request padded to 64 bytes, handed to the library once; its result unchanged. Asks
    // for no device count and expects no reply (the boot-loader command).
    int SendReportNoReply(std::span<const uint8_t> request);
    // A report that arrived on the command collection (library thread). Dropped unless an
    // exchange is waiting; any length and any content is safe.
    void DeliverReply(const uint8_t* report, int length);
    // Clears the slot: nothing pending. Done once before the command listener is registered.
    void Reset();

    Clock& GetClock() { return clock_; }

private:
    struct Outcome {
        bool arrived = false;
        int command = -1;  // byte 3 of the reply, -1 when it was shorter
        int status = -1;   // byte 7 of the reply, -1 when it was shorter
        int delivered = 0;
    };

    // Command, length and address: bytes 3 to 6 of a request, which the keyboard's reply repeats.
    using Header = std::array<uint8_t, 4>;

    void Arm(std::span<uint8_t> destination, const Header& header);
    Outcome AwaitReply();
    void Disarm();

    const DeviceFunctions& functions_;
    const DeviceSelector selector_;
    const uint32_t countCheck_;
    Clock& clock_;
    const std::chrono::milliseconds replyTimeout_;

    std::mutex exchangeMutex_;  // held for a whole exchange

    std::mutex slotMutex_;      // guards everything below but the signal
    bool pending_ = false;
    uint8_t expectedCommand_ = 0;
    Header expectedHeader_{};
    // The requests of the last exchanges. A reply that repeats one of them, and not the request
    // now waiting, is a late answer to an earlier exchange (one that timed out and was sent
    // again): it never stands in for the reply to this one.
    std::array<Header, 8> earlier_{};
    size_t earlierCount_ = 0;
    size_t earlierNext_ = 0;
    std::span<uint8_t> destination_;
    Outcome reply_;
    ReplySignal replyArrived_;  // raised with reply_ under the lock, waited for without it
};

} // namespace kovantis
