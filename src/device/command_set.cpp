#include "device/command_set.h"

#include <algorithm>

#include "device/report_frame.h"
#include "device/request_channel.h"
#include "ports/clock.h"

namespace kovantis {
namespace {

constexpr int kMaxAddress = 0xFFFF;
constexpr std::chrono::milliseconds kEndTransferPause{10};

bool ValidProfile(int profile)
{
    return profile >= 0 && profile < kProfileCount;
}

bool FitsOneReport(size_t length)
{
    return length <= static_cast<size_t>(kReportDataSize);
}

} // namespace

int CommandSet::Exchange(std::span<const uint8_t> request, std::span<uint8_t> reply)
{
    int delivered = 0;
    const int result = channel_.SendReport(request, reply, delivered);
    std::function<void()> observer;
    {
        const std::lock_guard lock(observerMutex_);
        observer = observer_;
    }
    if (observer)
        observer();
    int outcome = 1;
    if (result != kSendOk)
        outcome = result;
    // A reply too short to carry a status byte leaves the zeroed buffer's 0 there.
    else if (reply[kStatusOffset] == kStatusRefusedFF)
        outcome = kResultRefusedFF;
    else if (reply[kStatusOffset] == kStatusRefusedFE)
        outcome = kResultRefusedFE;
    if (outcome != 1)
        lastFailure_.store(outcome);
    return outcome;
}

void CommandSet::SetExchangeObserver(std::function<void()> observer)
{
    const std::lock_guard lock(observerMutex_);
    observer_ = std::move(observer);
}

int CommandSet::ReadChunked(uint8_t command, int base, std::span<uint8_t> out)
{
    if (base + out.size() > static_cast<size_t>(kMaxAddress) + 1)
        return kResultBadArgument;
    for (size_t offset = 0; offset < out.size(); offset += kReportDataSize) {
        const size_t chunk = std::min<size_t>(kReportDataSize, out.size() - offset);
        const ReportBuffer request = BuildRequest(command, static_cast<uint8_t>(chunk),
                                                  static_cast<uint16_t>(base + offset));
        ReportBuffer reply{};
        const int result = Exchange(request, reply);
        if (result != 1)
            return result;
        std::copy_n(reply.begin() + kDataOffset, chunk, out.begin() + offset);
    }
    return 1;
}

int CommandSet::WriteChunked(uint8_t command, int base, std::span<const uint8_t> data)
{
    if (base + data.size() > static_cast<size_t>(kMaxAddress) + 1)
        return kResultBadArgument;
    for (size_t offset = 0; offset < data.size(); offset += kReportDataSize) {
        const size_t chunk = std::min<size_t>(kReportDataSize, data.size() - offset);
        const ReportBuffer request =
            BuildRequest(command, static_cast<uint8_t>(chunk),
                         static_cast<uint16_t>(base + offset), data.subspan(offset, chunk));
        ReportBuffer reply{};
        const int result = Exchange(request, reply);
        if (result != 1)
            return result;
    }
    return 1;
}

int CommandSet::BeginTransfer()
{
    ReportBuffer reply{};
    return Exchange(BuildRequest(kCmdBeginTransfer, 0, 0), reply);
}

int CommandSet::EndTransfer()
{
    channel_.GetClock().SleepFor(kEndTransferPause);
    ReportBuffer reply{};
    return Exchange(BuildRequest(kCmdEndTransfer, 0, 0), reply);
}

int CommandSet::ReadSettingsBlock(std::span<uint8_t, kSettingsBlockSize> out)
{
    ReportBuffer reply{};
    const int result = Exchange(BuildRequest(kCmdReadSettings, kSettingsBlockSize, 0), reply);
    if (result == 1)
        std::copy_n(reply.begin() + kDataOffset, out.size(), out.begin());
    return result;
}

int CommandSet::WriteSettingsBlock(std::span<const uint8_t, kSettingsBlockSize> block)
{
    ReportBuffer reply{};
    return Exchange(BuildRequest(kCmdWriteSettings, kSettingsBlockSize, 0, block), reply);
}

int CommandSet::ReadProfileRecord(std::span<uint8_t, kReportDataSize> out, int length,
                                  int address)
{
    if (length < 0 || length > kReportDataSize || address < 0 || address > kMaxAddress)
        return kResultBadArgument;
    ReportBuffer reply{};
    const int result = Exchange(BuildRequest(kCmdReadProfileRecord, static_cast<uint8_t>(length),
                                             static_cast<uint16_t>(address)),
                                reply);
    if (result == 1)
        std::copy_n(reply.begin() + kDataOffset, out.size(), out.begin());
    return result;
}

int CommandSet::WriteProfileRecord(std::span<const uint8_t> data, int address)
{
    if (!FitsOneReport(data.size()) || address < 0 || address > kMaxAddress)
        return kResultBadArgument;
    ReportBuffer reply{};
    return Exchange(BuildRequest(kCmdWriteProfileRecord, static_cast<uint8_t>(data.size()),
                                 static_cast<uint16_t>(address), data),
                    reply);
}

int CommandSet::ReadKeymapBlock(std::span<uint8_t, kKeymapSize> out, int profile)
{
    if (!ValidProfile(profile))
        return kResultBadArgument;
    return ReadChunked(kCmdReadKeymap, profile * kKeymapSize, out);
}

int CommandSet::WriteKeymapBlock(std::span<const uint8_t, kKeymapSize> block, int profile)
{
    if (!ValidProfile(profile))
        return kResultBadArgument;
    return WriteChunked(kCmdWriteKeymap, profile * kKeymapSize, block);
}

int CommandSet::ReadMacroArea(std::span<uint8_t> out)
{
    return ReadChunked(kCmdReadMacroArea, 0, out);
}

int CommandSet::WriteMacroArea(std::span<const uint8_t> data)
{
    return WriteChunked(kCmdWriteMacroArea, 0, data);
}

int CommandSet::ReadDefaultKeymap(std::span<uint8_t, kKeymapSize> out)
{
    return ReadChunked(kCmdReadFactoryKeymap, 0, out);
}

int CommandSet::WriteKeyColours(std::span<const uint8_t> data, int keyIndex, int profile)
{
    if (!FitsOneReport(data.size()) || !ValidProfile(profile) || keyIndex < 0 ||
        keyIndex >= kKeymapPositions)
        return kResultBadArgument;
    const int address = keyIndex * 3 + profile * kKeyColourProfileStride;
    ReportBuffer reply{};
    return Exchange(BuildRequest(kCmdWriteKeyColours, static_cast<uint8_t>(data.size()),
                                 static_cast<uint16_t>(address), data),
                    reply);
}

int CommandSet::EnterBootMode()
{
    // The boot loader takes this report without a checksum.
    ReportBuffer request{};
    request[0] = kReportId;
    request[kCommandOffset] = kCmdBootLoader;
    request[kLengthOffset] = kCmdBootLoader;
    return channel_.SendReportNoReply(request);
}

int CommandSet::GetActiveProfile()
{
    const int cached = activeProfileCache_.load();
    if (cached != -1)
        return cached;
    uint8_t block[kSettingsBlockSize];
    if (ReadSettingsBlock(block) != 1)
        return -1;
    activeProfileCache_.store(block[kSettingsActiveProfile]);
    return block[kSettingsActiveProfile];
}

int CommandSet::SetActiveProfile(int profile)
{
    if (!ValidProfile(profile))
        return kResultBadArgument;
    uint8_t block[kSettingsBlockSize];
    const int read = ReadSettingsBlock(block);
    if (read != 1)
        return read;
    block[kSettingsActiveProfile] = static_cast<uint8_t>(profile);
    const int written = WriteSettingsBlock(block);
    activeProfileCache_.store(written == 1 ? profile : -1);
    return written;
}

void CommandSet::ForgetActiveProfile()
{
    activeProfileCache_.store(-1);
}

} // namespace kovantis
