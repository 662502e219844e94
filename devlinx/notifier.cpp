#include "notifier.h"

#include <algorithm>

namespace devlinx {
namespace {

thread_local int callback_depth = 0;

} // namespace

int32_t Notifier::Add(std::optional<Collection> collection, DevlinxCallback callback,
                      uint32_t tag)
{
    const std::lock_guard lock(mutex_);
    const int32_t unit_id = ++last_unit_id_;
    if (collection) {
        auto list = std::make_shared<List>(*list_);
        list->push_back(Registration{unit_id, *collection, callback, tag});
        list_ = std::move(list);
    }
    return unit_id;
}

bool Notifier::Remove(int32_t unit_id)
{
    const std::lock_guard lock(mutex_);
    const auto matches = [unit_id](const Registration& r) { return r.unit_id == unit_id; };
    if (std::none_of(list_->begin(), list_->end(), matches))
        return false;
    auto list = std::make_shared<List>(*list_);
    std::erase_if(*list, matches);
    list_ = std::move(list);
    return true;
}

void Notifier::Clear()
{
    const std::lock_guard lock(mutex_);
    list_ = std::make_shared<const List>();
}

std::shared_ptr<const Notifier::List> Notifier::Snapshot() const
{
    const std::lock_guard lock(mutex_);
    return list_;
}

void Notifier::Deliver(Collection collection, DevlinxNotification& notification) const
{
    const auto list = Snapshot();
    ++callback_depth;
    for (const Registration& r : *list) {
        if (r.collection != collection)
            continue;
        notification.tag = r.tag;
        r.callback(&notification);
    }
    --callback_depth;
}

void Notifier::CountChanged(Collection collection, int count)
{
    DevlinxNotification n{};
    n.kind = DEVLINX_NOTIFY_COUNT;
    n.count = count;
    Deliver(collection, n);
}

void Notifier::ReportArrived(Collection collection, const uint8_t* report, size_t length,
                             uint16_t event_code)
{
    DevlinxNotification n{};
    n.kind = DEVLINX_NOTIFY_REPORT;
    n.report = report;
    n.length = static_cast<int32_t>(length);
    n.event_code = event_code;
    Deliver(collection, n);
}

bool Notifier::InCallback()
{
    return callback_depth > 0;
}

} // namespace devlinx
