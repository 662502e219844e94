#include "device/device_state.h"

#include <algorithm>

namespace kovantis {

FactoryKeymap DeviceState::FactoryKeymapCopy() const
{
    std::lock_guard lock(mutex_);
    return factoryKeymap_;
}

void DeviceState::SetFactoryKeymap(std::span<const uint8_t, kKeymapSize> keymap)
{
    std::lock_guard lock(mutex_);
    std::copy(keymap.begin(), keymap.end(), factoryKeymap_.begin());
}

int DeviceState::LastDeviceCount() const
{
    std::lock_guard lock(mutex_);
    return lastDeviceCount_;
}

void DeviceState::SetLastDeviceCount(int count)
{
    {
        std::lock_guard lock(mutex_);
        lastDeviceCount_ = count;
    }
    changed_.notify_all();
}

bool DeviceState::WaitUntilPresent(std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return lastDeviceCount_ > 0; });
}

LedStatus DeviceState::LedStatusBytes() const
{
    return {0x05, static_cast<uint8_t>(0x02 + bank_.load())};
}

int DeviceState::FlipBank()
{
    return bank_.fetch_xor(1) ^ 1;
}

bool DeviceState::WindowReady() const
{
    std::lock_guard lock(mutex_);
    return windowReady_;
}

void DeviceState::SetWindowReady(bool ready)
{
    {
        std::lock_guard lock(mutex_);
        windowReady_ = ready;
    }
    changed_.notify_all();
}

bool DeviceState::WaitUntilWindowReady(std::stop_token stop) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait(lock, stop, [this] { return windowReady_; });
}

} // namespace kovantis
