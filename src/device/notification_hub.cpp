#include "device/notification_hub.h"

#include <condition_variable>
#include <mutex>

namespace kovantis::notification_hub {
namespace {

struct Hub {
    std::mutex mutex;
    std::condition_variable idle;
    NotificationReceiver* live = nullptr;
    int callsInFlight = 0;
};

Hub& TheHub()
{
    // Never destroyed: the library's thread may still deliver a notification while the process
    // runs its exit handlers, and must not meet a mutex or condition that is being torn down.
    static Hub* const hub = new Hub;
    return *hub;
}

} // namespace

int32_t Callback(const DevlinxNotification* notification)
{
    Hub& hub = TheHub();
    NotificationReceiver* receiver = nullptr;
    {
        std::lock_guard lock(hub.mutex);
        if (hub.live == nullptr || notification == nullptr)
            return 1;
        receiver = hub.live;
        ++hub.callsInFlight;
    }
    receiver->OnNotification(*notification);
    {
        std::lock_guard lock(hub.mutex);
        --hub.callsInFlight;
    }
    hub.idle.notify_all();
    return 1;
}

void Attach(NotificationReceiver& receiver)
{
    Hub& hub = TheHub();
    std::lock_guard lock(hub.mutex);
    hub.live = &receiver;
}

void Detach(NotificationReceiver& receiver)
{
    Hub& hub = TheHub();
    std::unique_lock lock(hub.mutex);
    if (hub.live != &receiver)
        return;
    hub.live = nullptr;
    hub.idle.wait(lock, [&] { return hub.callsInFlight == 0; });
}

} // namespace kovantis::notification_hub
