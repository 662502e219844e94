#pragma once
// The library calls one plain C function for every registration and passes no user data, so
// the process has one live receiver of notifications. The hub owns that C entry point: it
// forwards each notification to the receiver attached at that moment, and Detach waits until
// no call into the old receiver is still running, so a receiver can be destroyed safely.

#include "devlinx.h"

namespace kovantis {

class NotificationReceiver {
public:
    virtual ~NotificationReceiver() = default;
    virtual void OnNotification(const DevlinxNotification& notification) = 0;
};

namespace notification_hub {

// The callback handed to every registration. Returns 1.
int32_t Callback(const DevlinxNotification* notification);
// Makes receiver the one live receiver (replacing any other).
void Attach(NotificationReceiver& receiver);
// Detaches receiver if it is the live one and waits for calls into it to end. Must not be
// called from inside a notification.
void Detach(NotificationReceiver& receiver);

} // namespace notification_hub
} // namespace kovantis
