// The twelve exports: argument and call-check verification, then the backend and the
// registrations do the work.

#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string_view>

#include "backend.h"
#include "devlinx.h"
#include "log.h"
#include "notifier.h"

namespace devlinx {
namespace {

constexpr int32_t kRefused = -1;
constexpr int32_t kNotDone = 0;
constexpr int32_t kDone = 1;

struct Library {
    // Init and End, one at a time.
    std::mutex lifecycle;
    // Calls share it while they use the backend; End takes it alone to retire the backend.
    std::shared_mutex backend_mutex;
    std::unique_ptr<Backend> backend;
    DeviceIds ids;
    Notifier notifier;
};

// Never destroyed: the backend's threads may still run while the process exits.
Library& TheLibrary()
{
    static Library* library = new Library;
    return *library;
}

bool ValidLength(int32_t length)
{
    return length >= 0 && static_cast<size_t>(length) <= kMaxReportSize;
}

std::unique_ptr<Backend> MakeBackend(DeviceIds ids, Notifier& notifier)
{
    const char* name = std::getenv("DEVLINX_BACKEND");
    const std::string_view backend = name == nullptr ? "" : name;
    if (backend.empty() || backend == "hidraw")
        return MakeHidrawBackend(ids, notifier);
    if (backend == "virtual")
        return MakeVirtualBackend(ids, VirtualSocketPath(), notifier);
    Log("DEVLINX_BACKEND=%s is neither hidraw nor virtual", name);
    return nullptr;
}

// The collection a selector names, with the backend that reaches it; the shared lock keeps the
// backend alive while the call uses it.
struct Target {
    std::shared_lock<std::shared_mutex> lock;
    Backend* backend = nullptr;
    std::optional<Collection> collection;
};

Target TargetOf(const DeviceSelector& selector)
{
    Library& library = TheLibrary();
    Target target{std::shared_lock(library.backend_mutex), library.backend.get(), std::nullopt};
    if (target.backend != nullptr)
        target.collection = CollectionOfSelector(selector, library.ids);
    return target;
}

int32_t WriteReport(const DeviceSelector* selector, int32_t zero1, int32_t zero2,
                    const uint8_t* report, int32_t length, uint32_t check, int32_t zero3)
{
    if (selector == nullptr || report == nullptr || length <= 0 || !ValidLength(length) ||
        zero1 != 0 || zero2 != 0 || zero3 != 0 ||
        check != devlinx_check_write(selector, report, static_cast<size_t>(length)))
        return kRefused;
    Target target = TargetOf(*selector);
    if (!target.collection)
        return kNotDone;
    // Command reports are the 64-byte frame, nothing else.
    if (*target.collection == Collection::command && length != 64)
        return kRefused;
    return target.backend->Write(*target.collection, report, static_cast<size_t>(length));
}

int32_t Register(const DeviceSelector* selector, DevlinxCallback callback, uint32_t tag,
                 const uint8_t* data, int32_t length, uint32_t check, int32_t* unit_id)
{
    if (selector == nullptr || callback == nullptr || unit_id == nullptr || !ValidLength(length) ||
        (length > 0 && data == nullptr) ||
        check != devlinx_check_register(selector, callback, tag, data, static_cast<size_t>(length)))
        return kRefused;
    Target target = TargetOf(*selector);
    if (target.backend == nullptr)
        return kNotDone;
    if (length > 0 && target.collection)
        target.backend->Write(*target.collection, data, static_cast<size_t>(length));
    *unit_id = TheLibrary().notifier.Add(target.collection, callback, tag);
    return kDone;
}

} // namespace
} // namespace devlinx

using namespace devlinx;

extern "C" {

DEVLINX_EXPORT int32_t Debug(int32_t level)
{
    SetDebugLevel(level);
    return kDone;
}

DEVLINX_EXPORT int32_t Init(int32_t /*flags*/)
{
    // Callbacks run only while a backend runs; End may be waiting for this very thread.
    if (Notifier::InCallback())
        return kDone;
    Library& library = TheLibrary();
    const std::lock_guard lifecycle(library.lifecycle);
    if (library.backend != nullptr)
        return kDone;
    if (const char* level = std::getenv("DEVLINX_DEBUG"); level != nullptr && DebugLevel() == 0)
        SetDebugLevel(std::atoi(level));
    const DeviceIds ids = UsbIdsFromEnvironment();
    auto backend = MakeBackend(ids, library.notifier);
    if (backend == nullptr || !backend->Start())
        return kNotDone;
    const std::unique_lock lock(library.backend_mutex);
    library.ids = ids;
    library.backend = std::move(backend);
    return kDone;
}

DEVLINX_EXPORT int32_t End(void)
{
    // A callback runs on a thread that End would have to wait for.
    if (Notifier::InCallback())
        return kRefused;
    Library& library = TheLibrary();
    const std::lock_guard lifecycle(library.lifecycle);
    std::unique_ptr<Backend> backend;
    {
        const std::unique_lock lock(library.backend_mutex);
        backend = std::move(library.backend);
    }
    if (backend != nullptr)
        backend->Stop();
    library.notifier.Clear();
    return kDone;
}

DEVLINX_EXPORT int32_t RequestGetDeviceCount(const DeviceSelector* selector, int32_t zero1,
                                             int32_t zero2, uint32_t check, int32_t zero3)
{
    if (selector == nullptr || zero1 != 0 || zero2 != 0 || zero3 != 0 ||
        check != devlinx_check_count(selector))
        return kRefused;
    const Target target = TargetOf(*selector);
    return target.collection ? target.backend->Count(*target.collection) : 0;
}

DEVLINX_EXPORT int32_t DeleteRequestFromUnitId(int32_t unit_id)
{
    if (unit_id <= 0)
        return kNotDone;
    return TheLibrary().notifier.Remove(unit_id) ? kDone : kNotDone;
}

DEVLINX_EXPORT int32_t DeleteRequestFromHandle(int32_t /*handle*/)
{
    return kNotDone;
}

DEVLINX_EXPORT int32_t RequestWrite(const DeviceSelector* selector, int32_t zero1, int32_t zero2,
                                    const uint8_t* report, int32_t length, uint32_t check,
                                    int32_t zero3)
{
    return WriteReport(selector, zero1, zero2, report, length, check, zero3);
}

DEVLINX_EXPORT int32_t RequestWriteOne(const DeviceSelector* selector, int32_t zero1,
                                       int32_t zero2, const uint8_t* report, int32_t length,
                                       uint32_t check, int32_t zero3)
{
    return WriteReport(selector, zero1, zero2, report, length, check, zero3);
}

DEVLINX_EXPORT int32_t RequestStatusWrite(const DeviceSelector* selector, DevlinxCallback callback,
                                          uint32_t tag, const uint8_t* data, int32_t length,
                                          uint32_t check, int32_t* unit_id)
{
    return Register(selector, callback, tag, data, length, check, unit_id);
}

DEVLINX_EXPORT int32_t RequestAsyncRead(const DeviceSelector* selector, DevlinxCallback callback,
                                        uint32_t tag, uint32_t check, int32_t* unit_id)
{
    return Register(selector, callback, tag, nullptr, 0, check, unit_id);
}

DEVLINX_EXPORT int32_t RequestStatusGet(const DeviceSelector* selector, uint8_t* data,
                                        int32_t length, uint32_t check)
{
    if (selector == nullptr || data == nullptr || length <= 0 || !ValidLength(length) ||
        check != devlinx_check_status_get(selector))
        return kRefused;
    const Target target = TargetOf(*selector);
    if (!target.collection)
        return kNotDone;
    return target.backend->GetFeature(*target.collection, data, static_cast<size_t>(length));
}

DEVLINX_EXPORT int32_t RequestStatusSetFeature(const DeviceSelector* selector,
                                               const uint8_t* data, int32_t length,
                                               uint32_t check)
{
    if (selector == nullptr || data == nullptr || length <= 0 || !ValidLength(length) ||
        check != devlinx_check_set_feature(selector, data, static_cast<size_t>(length)))
        return kRefused;
    const Target target = TargetOf(*selector);
    if (!target.collection)
        return kNotDone;
    return target.backend->SetFeature(*target.collection, data, static_cast<size_t>(length));
}

} // extern "C"
