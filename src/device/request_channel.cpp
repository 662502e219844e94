#include "device/request_channel.h"

#include <algorithm>
#include <cstring>

#include "device/report_frame.h"
#include "platform/device_library.h"
#include "ports/clock.h"

namespace kovantis {
namespace {

ReportBuffer PadToReport(std::span<const uint8_t> request)
{
    ReportBuffer frame{};
    std::copy_n(request.begin(), std::min(request.size(), frame.size()), frame.begin());
    return frame;
}

bool IsRefusal(int status)
{
    return status == kStatusRefusedFF || status == kStatusRefusedFE;
}

} // namespace

RequestChannel::RequestChannel(const DeviceFunctions& functions, const DeviceSelector& selector,
                               Clock& clock, std::chrono::milliseconds replyTimeout)
    : functions_(functions), selector_(selector), countCheck_(devlinx_check_count(&selector_)),
      clock_(clock), replyTimeout_(replyTimeout)
{
}

int RequestChannel::SendReport(std::span<const uint8_t> request, std::span<uint8_t> reply,
                               int& deliveredLength)
{
    deliveredLength = 0;
    std::lock_guard exchange(exchangeMutex_);
    if (functions_.RequestGetDeviceCount(&selector_, 0, 0, countCheck_, 0) <= 0)
        return kSendNoDevice;

    ReportBuffer frame = PadToReport(request);
    const uint32_t check = devlinx_check_write(&selector_, frame.data(), frame.size());
    const uint8_t command = frame[kCommandOffset];
    Header header{};
    std::copy_n(frame.begin() + kCommandOffset, header.size(), header.begin());

    for (int sends = 1;; ++sends) {
        Arm(reply, header);
        if (functions_.RequestWriteOne(&selector_, 0, 0, frame.data(),
                                       static_cast<int32_t>(frame.size()), check, 0) <= 0) {
            Disarm();
            return kSendRefused;
        }
        const Outcome outcome = AwaitReply();
        const bool matches = outcome.arrived && outcome.command == command;
        if (matches && (!IsRefusal(outcome.status) || sends == kMaxSends)) {
            deliveredLength = outcome.delivered;
            return kSendOk;
        }
        if (sends == kMaxSends)
            return kSendNoReply;
        clock_.SleepFor(kRetryPause);
    }
}

int RequestChannel::SendReportNoReply(std::span<const uint8_t> request)
{
    std::lock_guard exchange(exchangeMutex_);
    ReportBuffer frame = PadToReport(request);
    const uint32_t check = devlinx_check_write(&selector_, frame.data(), frame.size());
    return functions_.RequestWriteOne(&selector_, 0, 0, frame.data(),
                                      static_cast<int32_t>(frame.size()), check, 0);
}

void RequestChannel::DeliverReply(const uint8_t* report, int length)
{
    if (report == nullptr || length < 0)
        length = 0;
    bool senderSleeps = false;
    {
        std::lock_guard lock(slotMutex_);
        if (!pending_)
            return;
        // A matching reply already waiting for the sender is never replaced by a stray report.
        if (reply_.arrived && reply_.command == expectedCommand_)
            return;
        if (report != nullptr && length >= static_cast<int>(kCommandOffset + expectedHeader_.size())) {
            Header header{};
            std::copy_n(report + kCommandOffset, header.size(), header.begin());
            const auto earlierEnd = earlier_.begin() + static_cast<std::ptrdiff_t>(earlierCount_);
            if (header != expectedHeader_ && std::find(earlier_.begin(), earlierEnd, header) != earlierEnd)
                return;  // late: the sender keeps waiting for its own reply
        }
        const size_t n = std::min(static_cast<size_t>(length), destination_.size());
        if (n > 0)
            std::memcpy(destination_.data(), report, n);
        reply_.arrived = true;
        reply_.delivered = static_cast<int>(n);
        reply_.command = length > static_cast<int>(kCommandOffset) ? report[kCommandOffset] : -1;
        reply_.status = length > static_cast<int>(kStatusOffset) ? report[kStatusOffset] : -1;
        senderSleeps = replyArrived_.Raise();
    }
    if (senderSleeps)
        replyArrived_.Wake();
}

void RequestChannel::Reset()
{
    std::lock_guard lock(slotMutex_);
    pending_ = false;
    reply_ = {};
}

void RequestChannel::Arm(std::span<uint8_t> destination, const Header& header)
{
    std::lock_guard lock(slotMutex_);
    if (header != expectedHeader_ && pending_ == false && expectedCommand_ != 0) {
        // The previous exchange's request joins the earlier ones.
        earlier_[earlierNext_] = expectedHeader_;
        earlierNext_ = (earlierNext_ + 1) % earlier_.size();
        earlierCount_ = std::min(earlierCount_ + 1, earlier_.size());
    }
    destination_ = destination;
    expectedHeader_ = header;
    expectedCommand_ = header[0];
    reply_ = {};
    replyArrived_.Clear();
    pending_ = true;
}

RequestChannel::Outcome RequestChannel::AwaitReply()
{
    replyArrived_.Wait(replyTimeout_);
    // What the slot holds decides, also for a reply that came just as the wait ran out.
    std::lock_guard lock(slotMutex_);
    pending_ = false;
    destination_ = {};
    return reply_;
}

void RequestChannel::Disarm()
{
    std::lock_guard lock(slotMutex_);
    pending_ = false;
    destination_ = {};
}

} // namespace kovantis
