#pragma once
// What the library core asks of a way to reach the keyboard (hidraw, the virtual link), and what
// a backend tells the core in return.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "device_match.h"

namespace devlinx {

// The largest report a backend moves in one piece.
inline constexpr size_t kMaxReportSize = 4096;

// Told by a backend what happens on the link. Called on the backend's own threads, never while
// the backend holds a lock that one of its calls takes, so the core may run callers' callbacks
// directly from here.
class BackendSink {
public:
    virtual void CountChanged(Collection collection, int count) = 0;
    // `event_code` is the 16-bit code of a consumer report, 0 on the other collections.
    virtual void ReportArrived(Collection collection, const uint8_t* report, size_t length,
                               uint16_t event_code) = 0;

protected:
    ~BackendSink() = default;
};

class Backend {
public:
    virtual ~Backend() = default;
    // Finds the devices present now, before it returns, so that a count query right after Init
    // sees them; then starts the backend's threads. false when the backend cannot run at all.
    virtual bool Start() = 0;
    // Stops and joins every thread of the backend; the sink hears nothing after it returns.
    virtual void Stop() = 0;
    virtual int Count(Collection collection) const = 0;
    // 1 when the whole report went out to a matching device, 0 otherwise.
    virtual int Write(Collection collection, const uint8_t* report, size_t length) = 0;
    // Feature reports; a backend without them returns 0.
    virtual int GetFeature(Collection, uint8_t*, size_t) { return 0; }
    virtual int SetFeature(Collection, const uint8_t*, size_t) { return 0; }
};

// The device count of each collection as one backend sees it. Written by the backend's thread
// that tracks arrival and removal, read by any caller.
class DeviceCounts {
public:
    int Get(Collection c) const { return counts_[Index(c)].load(std::memory_order_acquire); }

    // Stores the counts of all collections first, then tells the sink of each one that changed,
    // so that a callback asking for any count already sees the new values.
    void Set(const int (&counts)[kCollectionCount], BackendSink& sink)
    {
        bool changed[kCollectionCount];
        for (int i = 0; i < kCollectionCount; ++i)
            changed[i] = counts_[i].exchange(counts[i], std::memory_order_acq_rel) != counts[i];
        for (int i = 0; i < kCollectionCount; ++i)
            if (changed[i])
                sink.CountChanged(static_cast<Collection>(i), counts[i]);
    }

    void SetAll(int count, BackendSink& sink)
    {
        const int counts[kCollectionCount] = {count, count, count};
        Set(counts, sink);
    }

private:
    std::atomic<int> counts_[kCollectionCount] = {};
};

std::unique_ptr<Backend> MakeHidrawBackend(DeviceIds ids, BackendSink& sink);
std::unique_ptr<Backend> MakeVirtualBackend(DeviceIds ids, std::string socket_path,
                                            BackendSink& sink);

// DEVLINX_VIRTUAL_SOCKET, else $XDG_RUNTIME_DIR/kovantis-vkbd.sock, else
// /tmp/kovantis-vkbd-<uid>.sock.
std::string VirtualSocketPath();

} // namespace devlinx
