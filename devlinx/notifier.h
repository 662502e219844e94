#pragma once
// The callers' registrations and the delivery of notifications to them.
//
// Delivery runs the callbacks on the thread that reports the event, with no lock held: a callback
// may register, delete registrations, write reports and ask for counts. A registration deleted
// on another thread while a notification for it is already being delivered still receives that
// one notification; none after.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "backend.h"

namespace devlinx {

class Notifier final : public BackendSink {
public:
    // A new unit id, positive and never given out before. A registration for no collection of
    // the keyboard (other ids, another usage) gets its id but hears nothing.
    int32_t Add(std::optional<Collection> collection, DevlinxCallback callback, uint32_t tag);
    // true when `unit_id` was a live registration.
    bool Remove(int32_t unit_id);
    // Drops every registration; unit ids keep counting on.
    void Clear();

    void CountChanged(Collection collection, int count) override;
    void ReportArrived(Collection collection, const uint8_t* report, size_t length,
                       uint16_t event_code) override;

    // true on a thread that is running a callback right now.
    static bool InCallback();

private:
    struct Registration {
        int32_t unit_id;
        Collection collection;
        DevlinxCallback callback;
        uint32_t tag;
    };
    using List = std::vector<Registration>;

    std::shared_ptr<const List> Snapshot() const;
    void Deliver(Collection collection, DevlinxNotification& notification) const;

    mutable std::mutex mutex_;
    // Replaced as a whole on every change, so delivery iterates a list nobody changes.
    std::shared_ptr<const List> list_ = std::make_shared<const List>();
    int32_t last_unit_id_ = 0;
};

} // namespace devlinx
