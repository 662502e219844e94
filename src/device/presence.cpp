#include "device/presence.h"

#include <algorithm>

#include "device/command_result.h"
#include "device/command_set.h"
#include "device/device_state.h"
#include "device/request_channel.h"
#include "platform/device_library.h"
#include "ports/prompter.h"
#include "ports/text_source.h"

namespace kovantis {

Presence::Presence(const Links& links, const Ports& ports)
    : functions_(links.functions), ids_(links.ids), channel_(links.channel),
      commands_(links.commands), state_(links.state), window_(ports.window), editors_(ports.editors),
      prompter_(ports.prompter), texts_(ports.texts)
{
}

Presence::~Presence()
{
    Stop();
}

int Presence::Start()
{
    state_.ResetBank();
    notification_hub::Attach(*this);
    worker_ = std::jthread([this](std::stop_token stop) { RunWorker(stop); });

    Register(DEVLINX_TAG_CONS, ConsumerSelector(ids_), {}, consumerUnit_);
    channel_.Reset();
    Register(DEVLINX_TAG_CTRL, CommandSelector(ids_), {}, commandUnit_);

    const DeviceSelector command = CommandSelector(ids_);
    const int count = std::max(
        0, functions_.RequestGetDeviceCount(&command, 0, 0, devlinx_check_count(&command), 0));
    // Without a keyboard at start-up a later arrival must not open the window.
    if (count == 0)
        state_.SetFirstArrivalDone();
    Enqueue(count);
    return count;
}

void Presence::Stop()
{
    if (worker_.joinable()) {
        worker_.request_stop();
        worker_.join();
    }
    {
        std::lock_guard lock(registrationMutex_);
        for (int32_t* unit : {&consumerUnit_, &commandUnit_, &ledUnit_}) {
            if (*unit != 0)
                functions_.DeleteRequestFromUnitId(*unit);
            *unit = 0;
        }
    }
    notification_hub::Detach(*this);
}

void Presence::WaitIdle()
{
    std::unique_lock lock(queueMutex_);
    queueChanged_.wait(lock, [this] { return counts_.empty() && !handling_; });
}

void Presence::Register(uint32_t tag, const DeviceSelector& selector,
                        std::span<const uint8_t> data, int32_t& unitId)
{
    std::lock_guard lock(registrationMutex_);
    functions_.DeleteRequestFromUnitId(unitId);
    int32_t newUnit = 0;
    const DevlinxCallback callback = &notification_hub::Callback;
    const uint32_t check =
        devlinx_check_register(&selector, callback, tag, data.data(), data.size());
    if (data.empty())
        functions_.RequestAsyncRead(&selector, callback, tag, check, &newUnit);
    else
        functions_.RequestStatusWrite(&selector, callback, tag, data.data(),
                                      static_cast<int32_t>(data.size()), check, &newUnit);
    unitId = newUnit;
}

void Presence::OnNotification(const DevlinxNotification& n)
{
    if (n.kind == DEVLINX_NOTIFY_REPORT) {
        if (n.tag == DEVLINX_TAG_CONS)
            HandleConsumerEvent(n.event_code);
        else if (n.tag == DEVLINX_TAG_CTRL)
            channel_.DeliverReply(n.report, n.length);
    } else if (n.kind == DEVLINX_NOTIFY_COUNT && n.tag == DEVLINX_TAG_CTRL) {
        Enqueue(std::max(0, n.count));
    }
}

void Presence::HandleConsumerEvent(uint16_t code)
{
    switch (code) {
    case kEventBankSwitch: {
        const int bank = state_.FlipBank();
        const LedStatus status = state_.LedStatusBytes();
        Register(DEVLINX_TAG_LED, StatusSelector(ids_), status, ledUnit_);
        window_.RefreshBankKeys(bank);
        break;
    }
    case kEventSettingsChanged:
        window_.PostLightingReread();
        break;
    // The icon change is posted, so it never holds up this thread and needs no worker; posting
    // here also keeps "on" and "off" in the order the keyboard sent them.
    case kEventActivityOn:
        window_.PostTrayIcon(TrayIcon::Activity);
        break;
    case kEventActivityOff:
        window_.PostTrayIcon(normalIcon_.load());
        break;
    default:
        break;
    }
}

void Presence::Enqueue(int count)
{
    {
        std::lock_guard lock(queueMutex_);
        counts_.push_back(count);
    }
    queueChanged_.notify_all();
}

void Presence::RunWorker(std::stop_token stop)
{
    std::unique_lock lock(queueMutex_);
    while (queueChanged_.wait(lock, stop, [this] { return !counts_.empty(); })) {
        const int count = counts_.front();
        counts_.pop_front();
        handling_ = true;
        lock.unlock();
        HandleCount(count, stop);
        lock.lock();
        handling_ = false;
        queueChanged_.notify_all();
    }
}

void Presence::HandleCount(int count, std::stop_token stop)
{
    if (count == state_.LastDeviceCount())
        return;
    if (count == 0) {
        editors_.CloseAll();
        commands_.ForgetActiveProfile();
        window_.PostHide();
    } else {
        ReadKeyboardOnArrival();
        window_.ReloadActiveProfile();
    }
    if (!state_.WaitUntilWindowReady(stop))
        return;
    const TrayIcon icon = count > 0 ? TrayIcon::Present : TrayIcon::Normal;
    normalIcon_.store(icon);
    window_.PostTrayIcon(icon);
    state_.SetLastDeviceCount(count);
    if (!state_.FirstArrivalDone()) {
        if (count > 0)
            window_.PostOpen();
        state_.SetFirstArrivalDone();
    }
}

void Presence::ReadKeyboardOnArrival()
{
    FactoryKeymap keymap{};
    const int factory = commands_.ReadDefaultKeymap(keymap);
    if (factory == 1)
        state_.SetFactoryKeymap(keymap);
    else
        prompter_.ShowMessage(texts_.Text("MAIN_DEFAULT_MATRIX_PROMPT"));
    // A keyboard that did not answer, or is gone again, costs one exchange's retries, not two.
    if (KeyboardGoneOrSilent(factory)) {
        state_.SetArrivalReadResult(factory);
        return;
    }
    uint8_t settings[kSettingsBlockSize];
    const int read = commands_.ReadSettingsBlock(settings);
    if (read == 1)
        state_.SetMacroAreaSize(settings[kSettingsMacroSpace] * kMacroSpaceUnit);
    state_.SetArrivalReadResult(factory != 1 ? factory : read);
}

} // namespace kovantis
