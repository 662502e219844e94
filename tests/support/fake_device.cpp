#include "support/fake_device.h"

#include "wire/le_bytes.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace kovantis::testing {
namespace {

std::atomic<FakeDevice*> activeDevice{nullptr};

bool SameCollection(const DeviceSelector& a, const DeviceSelector& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

const DeviceSelector& FakeCommandSelector()
{
    static const DeviceSelector selector = CommandSelector(DeviceIds{});
    return selector;
}

} // namespace

FakeDevice::FakeDevice(const FakeDeviceOptions& options)
    : model_(options.keyboard), threaded_(options.threadedReplies), present_(options.present)
{
    FakeDevice* expected = nullptr;
    if (!activeDevice.compare_exchange_strong(expected, this))
        std::abort();  // one FakeDevice at a time

    functions_.Debug = [](int32_t) -> int32_t { return 0; };
    functions_.Init = &FakeInit;
    functions_.End = &FakeNone;
    functions_.RequestGetDeviceCount = &FakeGetDeviceCount;
    functions_.DeleteRequestFromUnitId = &FakeDeleteUnit;
    functions_.DeleteRequestFromHandle = [](int32_t) -> int32_t { return 0; };
    functions_.RequestWrite = [](const DeviceSelector*, int32_t, int32_t, const uint8_t*, int32_t,
                                 uint32_t, int32_t) -> int32_t { return 0; };
    functions_.RequestWriteOne = &FakeWriteOne;
    functions_.RequestStatusWrite = &FakeStatusWrite;
    functions_.RequestStatusGet = [](const DeviceSelector*, uint8_t*, int32_t,
                                     uint32_t) -> int32_t { return 0; };
    functions_.RequestAsyncRead = &FakeAsyncRead;
    functions_.RequestStatusSetFeature = [](const DeviceSelector*, const uint8_t*, int32_t,
                                            uint32_t) -> int32_t { return 0; };

    if (threaded_)
        replyThread_ = std::jthread([this](std::stop_token stop) { RunReplyThread(stop); });

    DeviceLink::Options linkOptions;
    linkOptions.ids = DeviceIds{};
    linkOptions.replyTimeout = options.replyTimeout.value_or(
        threaded_ ? RequestChannel::kReplyTimeout : std::chrono::milliseconds{0});
    link_ = std::make_unique<DeviceLink>(
        functions_, DeviceLink::Ports{window_, window_, prompter_, texts_, clock_}, linkOptions);
    link_->State().SetWindowReady(options.windowReady);
    if (options.start) {
        link_->Start();
        if (options.windowReady) {
            WaitIdle();
            ClearSent();
            clock_.ClearSleeps();
        }
    }
}

FakeDevice::~FakeDevice()
{
    link_->Stop();
    link_.reset();
    if (replyThread_.joinable()) {
        replyThread_.request_stop();
        replyThread_.join();
    }
    activeDevice.store(nullptr);
}

std::vector<Report> FakeDevice::Sent() const
{
    std::lock_guard lock(mutex_);
    return sent_;
}

void FakeDevice::ClearSent()
{
    std::lock_guard lock(mutex_);
    sent_.clear();
}

int FakeDevice::CheckFailures() const
{
    std::lock_guard lock(mutex_);
    return checkFailures_;
}

std::vector<Registration> FakeDevice::Registrations() const
{
    std::lock_guard lock(mutex_);
    std::vector<Registration> all;
    for (const auto& [unit, registration] : registrations_)
        all.push_back(registration);
    return all;
}

std::vector<std::vector<uint8_t>> FakeDevice::StatusWrites() const
{
    std::lock_guard lock(mutex_);
    return statusWrites_;
}

std::vector<int32_t> FakeDevice::DeletedUnits() const
{
    std::lock_guard lock(mutex_);
    return deletedUnits_;
}

void FakeDevice::InjectFault(Fault fault, int times)
{
    std::lock_guard lock(mutex_);
    for (int i = 0; i < times; ++i)
        faults_.push_back(fault);
}

void FakeDevice::Plug()
{
    SetPresent(true);
    for (const Registration& r : Registrations())
        Notify(DevlinxNotification{DEVLINX_NOTIFY_COUNT, r.tag, 1, nullptr, 0, 0, 0});
    WaitIdle();
}

void FakeDevice::Unplug()
{
    SetPresent(false);
    for (const Registration& r : Registrations())
        Notify(DevlinxNotification{DEVLINX_NOTIFY_COUNT, r.tag, 0, nullptr, 0, 0, 0});
    WaitIdle();
}

void FakeDevice::SetPresent(bool present)
{
    std::lock_guard lock(mutex_);
    present_ = present;
}

void FakeDevice::SendCount(int count, uint32_t tag)
{
    Notify(DevlinxNotification{DEVLINX_NOTIFY_COUNT, tag, count, nullptr, 0, 0, 0});
}

void FakeDevice::SendConsumerEvent(uint16_t code)
{
    uint8_t report[2];
    WriteU16(report, 0, code);
    Notify(DevlinxNotification{DEVLINX_NOTIFY_REPORT, DEVLINX_TAG_CONS, 0, report, 2, code, 0});
}

void FakeDevice::SendCommandReport(std::span<const uint8_t> report)
{
    DeliverToProgram(std::vector<uint8_t>(report.begin(), report.end()));
}

void FakeDevice::WaitIdle()
{
    {
        std::unique_lock lock(mutex_);
        repliesChanged_.wait(lock, [this] { return replies_.empty() && !delivering_; });
    }
    link_->GetPresence().WaitIdle();
}

FakeDevice* FakeDevice::Active()
{
    return activeDevice.load();
}

int32_t FakeDevice::FakeInit(int32_t)
{
    return 1;
}

int32_t FakeDevice::FakeNone()
{
    return 0;
}

int32_t FakeDevice::FakeGetDeviceCount(const DeviceSelector* selector, int32_t, int32_t,
                                       uint32_t check, int32_t)
{
    FakeDevice* self = Active();
    std::lock_guard lock(self->mutex_);
    if (selector == nullptr || check != devlinx_check_count(selector)) {
        ++self->checkFailures_;
        return 0;
    }
    return self->present_ && SameCollection(*selector, FakeCommandSelector()) ? 1 : 0;
}

int32_t FakeDevice::FakeDeleteUnit(int32_t unitId)
{
    FakeDevice* self = Active();
    std::lock_guard lock(self->mutex_);
    self->deletedUnits_.push_back(unitId);
    self->registrations_.erase(unitId);
    return 1;
}

int32_t FakeDevice::FakeWriteOne(const DeviceSelector* selector, int32_t, int32_t,
                                 const uint8_t* report, int32_t length, uint32_t check, int32_t)
{
    if (selector == nullptr || report == nullptr || length < 0)
        return 0;
    return Active()->WriteOne(*selector, {report, static_cast<size_t>(length)}, check);
}

int32_t FakeDevice::FakeStatusWrite(const DeviceSelector* selector, DevlinxCallback callback,
                                    uint32_t tag, const uint8_t* data, int32_t length,
                                    uint32_t check, int32_t* unitId)
{
    if (selector == nullptr || (data == nullptr && length != 0) || length < 0)
        return 0;
    return Active()->Register(*selector, callback, tag, {data, static_cast<size_t>(length)},
                              check, unitId);
}

int32_t FakeDevice::FakeAsyncRead(const DeviceSelector* selector, DevlinxCallback callback,
                                  uint32_t tag, uint32_t check, int32_t* unitId)
{
    if (selector == nullptr)
        return 0;
    return Active()->Register(*selector, callback, tag, {}, check, unitId);
}

int32_t FakeDevice::Register(const DeviceSelector& selector, DevlinxCallback callback,
                             uint32_t tag, std::span<const uint8_t> data, uint32_t check,
                             int32_t* unitId)
{
    std::lock_guard lock(mutex_);
    if (unitId == nullptr || callback == nullptr ||
        check != devlinx_check_register(&selector, callback, tag, data.data(), data.size())) {
        ++checkFailures_;
        return 0;
    }
    const int32_t unit = nextUnit_++;
    registrations_[unit] = Registration{unit, tag, selector, callback,
                                        std::vector<uint8_t>(data.begin(), data.end())};
    if (!data.empty())
        statusWrites_.emplace_back(data.begin(), data.end());
    *unitId = unit;
    return 1;
}

int32_t FakeDevice::WriteOne(const DeviceSelector& selector, std::span<const uint8_t> report,
                             uint32_t check)
{
    std::vector<uint8_t> reply;
    std::vector<uint8_t> late;
    bool leftTheLink = false;
    {
        std::lock_guard lock(mutex_);
        if (check != devlinx_check_write(&selector, report.data(), report.size())) {
            ++checkFailures_;
            return 0;
        }
        if (!present_ || !SameCollection(selector, FakeCommandSelector()))
            return 0;
        std::optional<Fault> fault;
        if (!faults_.empty()) {
            fault = faults_.front();
            faults_.pop_front();
        }
        if (fault == Fault::RefuseSend)
            return 0;
        Report request{};
        std::copy_n(report.begin(), std::min(report.size(), request.size()), request.begin());
        sent_.push_back(request);

        const std::optional<vkbd::Report> answer = model_.HandleCommand(request);
        if (model_.BootRequested()) {
            present_ = false;
            leftTheLink = true;
        }
        if (answer && fault != Fault::NoReply) {
            reply.assign(answer->begin(), answer->end());
            if (fault == Fault::StatusFF)
                reply[7] = 0xFF;
            else if (fault == Fault::StatusFE)
                reply[7] = 0xFE;
            else if (fault == Fault::WrongCommand)
                reply[3] ^= 0x40;
            else if (fault == Fault::ShortReply)
                reply.resize(5);
            else if (fault == Fault::LongReply)
                reply.resize(200, 0xAA);
        }
        if (!lateReply_.empty() && --lateAfter_ == 0) {
            late = std::move(lateReply_);
            lateReply_.clear();
        }
        if (fault == Fault::Late) {
            lateReply_ = std::move(reply);
            lateAfter_ = 2;
            reply.clear();
        }
    }
    if (!late.empty())
        DeliverToProgram(std::move(late));
    if (!reply.empty())
        DeliverToProgram(std::move(reply));
    if (leftTheLink)
        SendCount(0);
    return 1;
}

void FakeDevice::Notify(const DevlinxNotification& notification)
{
    std::vector<DevlinxCallback> callbacks;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [unit, r] : registrations_) {
            if (r.tag == notification.tag)
                callbacks.push_back(r.callback);
        }
    }
    for (DevlinxCallback callback : callbacks)
        callback(&notification);
}

void FakeDevice::DeliverToProgram(std::vector<uint8_t> reply)
{
    if (!threaded_) {
        Notify(DevlinxNotification{DEVLINX_NOTIFY_REPORT, DEVLINX_TAG_CTRL, 0, reply.data(),
                                   static_cast<int32_t>(reply.size()), 0, 0});
        return;
    }
    {
        std::lock_guard lock(mutex_);
        replies_.push_back(std::move(reply));
    }
    repliesChanged_.notify_all();
}

void FakeDevice::RunReplyThread(std::stop_token stop)
{
    std::unique_lock lock(mutex_);
    while (repliesChanged_.wait(lock, stop, [this] { return !replies_.empty(); })) {
        std::vector<uint8_t> reply = std::move(replies_.front());
        replies_.pop_front();
        delivering_ = true;
        lock.unlock();
        Notify(DevlinxNotification{DEVLINX_NOTIFY_REPORT, DEVLINX_TAG_CTRL, 0, reply.data(),
                                   static_cast<int32_t>(reply.size()), 0, 0});
        lock.lock();
        delivering_ = false;
        repliesChanged_.notify_all();
    }
}

} // namespace kovantis::testing
