#pragma once
// The keyboard is never polled: the program registers listeners with the device library and
// reacts to what they deliver. Command replies go to the request channel; consumer events
// switch the G-key bank, ask for a lighting re-read or show macro activity; device-count
// changes go, in arrival order, to one presence worker that reads the keyboard on arrival and
// closes editors and hides the window on removal.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <span>
#include <thread>

#include "device/device_ids.h"
#include "device/notification_hub.h"
#include "ports/editor_registry.h"
#include "ports/window_port.h"

namespace kovantis {

class CommandSet;
class DeviceState;
class Prompter;
class RequestChannel;
class TextSource;
struct DeviceFunctions;

// Consumer event codes the keyboard sends on its own.
inline constexpr uint16_t kEventBankSwitch = 0x02FF;
inline constexpr uint16_t kEventSettingsChanged = 0x0401;
inline constexpr uint16_t kEventActivityOn = 0x1811;
inline constexpr uint16_t kEventActivityOff = 0x1810;

class Presence final : public NotificationReceiver {
public:
    struct Links {
        const DeviceFunctions& functions;
        DeviceIds ids;
        RequestChannel& channel;
        CommandSet& commands;
        DeviceState& state;
    };
    struct Ports {
        WindowPort& window;
        EditorRegistry& editors;
        Prompter& prompter;
        const TextSource& texts;
    };

    Presence(const Links& links, const Ports& ports);
    ~Presence() override;
    Presence(const Presence&) = delete;
    Presence& operator=(const Presence&) = delete;

    // Registers "CONS" and "CTRL", asks for the device count and hands it to the worker.
    // Returns that count.
    int Start();
    // Ends the worker after its current step, removes the registrations and waits for running
    // notifications. Not from a notification or a window-port call.
    void Stop();
    // Waits until the worker has handled every count handed to it so far.
    void WaitIdle();

    void OnNotification(const DevlinxNotification& notification) override;

private:
    void HandleConsumerEvent(uint16_t code);
    void Register(uint32_t tag, const DeviceSelector& selector, std::span<const uint8_t> data,
                  int32_t& unitId);
    void Enqueue(int count);
    void RunWorker(std::stop_token stop);
    void HandleCount(int count, std::stop_token stop);
    void ReadKeyboardOnArrival();

    const DeviceFunctions& functions_;
    const DeviceIds ids_;
    RequestChannel& channel_;
    CommandSet& commands_;
    DeviceState& state_;
    WindowPort& window_;
    EditorRegistry& editors_;
    Prompter& prompter_;
    const TextSource& texts_;

    std::mutex registrationMutex_;
    int32_t consumerUnit_ = 0;
    int32_t commandUnit_ = 0;
    int32_t ledUnit_ = 0;
    std::atomic<TrayIcon> normalIcon_{TrayIcon::Normal};

    std::mutex queueMutex_;
    std::condition_variable_any queueChanged_;
    std::deque<int> counts_;
    bool handling_ = false;
    std::jthread worker_;
};

} // namespace kovantis
