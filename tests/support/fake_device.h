#pragma once
// An in-process keyboard behind a fake device library table, with the program's whole device
// link on top of it. The keyboard is the same firmware model kovantis-vkbd serves; its replies
// reach the program through the registered "CTRL" callback exactly as the library delivers
// them, either inside the send (default: deterministic, no waiting) or from a small thread.
//
//   FakeDevice device;                       // plugged in, arrival handled, Sent() empty
//   device.Commands().BeginTransfer();
//   device.Commands().WriteProfileRecord(bytes, 42);
//   EXPECT_EQ(device.Sent()[1][3], 0x06);
//
// One FakeDevice at a time per process (the library's C callbacks carry no user data).

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <thread>
#include <vector>

#include "device/device_link.h"
#include "support/fake_clock.h"
#include "support/fake_ports.h"
#include "vkbd/keyboard_model.h"

namespace kovantis::testing {

using Report = std::array<uint8_t, 64>;

enum class Fault {
    None,          // answered normally (to let earlier reports through before a fault)
    NoReply,       // the report goes out, no reply comes back
    StatusFF,      // the reply carries status 0xFF
    StatusFE,      // the reply carries status 0xFE
    WrongCommand,  // the reply carries another command byte
    ShortReply,    // only the first 5 bytes of the reply arrive
    LongReply,     // 200 bytes arrive: the reply followed by 0xAA bytes
    RefuseSend,    // the library refuses the report (RequestWriteOne gives 0), nothing goes out
    Late,          // the reply is held back past the retry and arrives with the report after that
};

struct FakeDeviceOptions {
    bool present = true;
    // Replies from a small thread instead of inside the send; the channel then waits for real.
    bool threadedReplies = false;
    // Start the link (Init, registrations, the arrival) in the constructor.
    bool start = true;
    bool windowReady = true;
    vkbd::KeyboardOptions keyboard{};
    // How long one send waits for its reply; by default 0 for replies inside the send and the
    // real 1000 ms for threaded replies.
    std::optional<std::chrono::milliseconds> replyTimeout;
};

struct Registration {
    int32_t unitId;
    uint32_t tag;
    DeviceSelector selector;
    DevlinxCallback callback;
    std::vector<uint8_t> data;  // status bytes of a RequestStatusWrite
};

class FakeDevice {
public:
    explicit FakeDevice(const FakeDeviceOptions& options = {});
    ~FakeDevice();
    FakeDevice(const FakeDevice&) = delete;
    FakeDevice& operator=(const FakeDevice&) = delete;

    DeviceLink& Link() { return *link_; }
    CommandSet& Commands() { return link_->Commands(); }
    DeviceState& State() { return link_->State(); }
    RequestChannel& Channel() { return link_->Channel(); }
    Presence& GetPresence() { return link_->GetPresence(); }
    // Use only while no exchange runs.
    vkbd::KeyboardModel& Model() { return model_; }
    FakeClock& GetClock() { return clock_; }
    FakeWindow& Window() { return window_; }
    FakePrompter& GetPrompter() { return prompter_; }
    FakeTexts& Texts() { return texts_; }
    const DeviceFunctions& Functions() const { return functions_; }

    // Command reports that went out since the arrival at start-up was handled, or since
    // ClearSent(), in order.
    std::vector<Report> Sent() const;
    void ClearSent();
    // Calls whose check did not match (the real library refuses them too).
    int CheckFailures() const;
    std::vector<Registration> Registrations() const;
    // Status bytes of every RequestStatusWrite, in order.
    std::vector<std::vector<uint8_t>> StatusWrites() const;
    // Unit ids passed to DeleteRequestFromUnitId, in order.
    std::vector<int32_t> DeletedUnits() const;

    // The next `times` command reports meet this fault, after any faults already queued.
    void InjectFault(Fault fault, int times = 1);

    // Presence: the count changes and every registration hears of it (as the library tells
    // them all); then waits until the presence worker has handled it.
    void Plug();
    void Unplug();
    // Only the device count the library reports, nobody is told.
    void SetPresent(bool present);
    // Notifications as the library sends them; they return when the callback has returned.
    void SendCount(int count, uint32_t tag = DEVLINX_TAG_CTRL);
    void SendConsumerEvent(uint16_t code);
    void SendCommandReport(std::span<const uint8_t> report);
    // Waits until the presence worker and the reply thread are idle.
    void WaitIdle();

private:
    std::vector<uint8_t> lateReply_;  // guarded by mutex_
    int lateAfter_ = 0;               // reports still to go before it arrives
    static FakeDevice* Active();
    static int32_t FakeInit(int32_t);
    static int32_t FakeNone();
    static int32_t FakeGetDeviceCount(const DeviceSelector*, int32_t, int32_t, uint32_t, int32_t);
    static int32_t FakeDeleteUnit(int32_t unitId);
    static int32_t FakeWriteOne(const DeviceSelector*, int32_t, int32_t, const uint8_t*, int32_t,
                                uint32_t, int32_t);
    static int32_t FakeStatusWrite(const DeviceSelector*, DevlinxCallback, uint32_t,
                                   const uint8_t*, int32_t, uint32_t, int32_t*);
    static int32_t FakeAsyncRead(const DeviceSelector*, DevlinxCallback, uint32_t, uint32_t,
                                 int32_t*);

    int32_t Register(const DeviceSelector& selector, DevlinxCallback callback, uint32_t tag,
                     std::span<const uint8_t> data, uint32_t check, int32_t* unitId);
    int32_t WriteOne(const DeviceSelector& selector, std::span<const uint8_t> report,
                     uint32_t check);
    void Notify(const DevlinxNotification& notification);
    void DeliverToProgram(std::vector<uint8_t> reply);
    void RunReplyThread(std::stop_token stop);

    DeviceFunctions functions_{};
    FakeClock clock_;
    FakeWindow window_;
    FakePrompter prompter_;
    FakeTexts texts_;
    vkbd::KeyboardModel model_;
    bool threaded_;

    mutable std::mutex mutex_;  // guards everything below and the model
    bool present_;
    std::vector<Report> sent_;
    std::deque<Fault> faults_;
    std::map<int32_t, Registration> registrations_;
    std::vector<std::vector<uint8_t>> statusWrites_;
    std::vector<int32_t> deletedUnits_;
    int32_t nextUnit_ = 1;
    int checkFailures_ = 0;

    std::condition_variable_any repliesChanged_;
    std::deque<std::vector<uint8_t>> replies_;
    bool delivering_ = false;
    std::jthread replyThread_;

    std::unique_ptr<DeviceLink> link_;
};

} // namespace kovantis::testing
