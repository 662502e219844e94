// The real keyboard through hidraw: device nodes read and written directly, found through libudev
// and kept up to date by a udev monitor on the hidraw subsystem. A node belongs to the keyboard
// when its USB device has our vendor and product id and its report descriptor declares one of
// the keyboard's collections. Each open node has its own reader thread that keeps draining the
// kernel's queue and hands every report to the callers' callbacks; writes go out from the
// caller's thread. Reports keep their report id as the first byte, both ways.

#include <fcntl.h>
#include <libudev.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <pthread.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "backend.h"
#include "fd.h"
#include "log.h"
#include "report_descriptor.h"

namespace devlinx {
namespace {

// The kernel's limit on a report descriptor (HID_MAX_DESCRIPTOR_SIZE).
constexpr size_t kMaxDescriptorSize = 4096;

std::vector<uint8_t> ReadFile(const std::string& path, size_t limit)
{
    std::vector<uint8_t> bytes(limit);
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    size_t used = 0;
    while (fd.Valid() && used < limit) {
        const ssize_t got = ::read(fd.Get(), bytes.data() + used, limit - used);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        used += static_cast<size_t>(got);
    }
    bytes.resize(used);
    return bytes;
}

std::optional<uint16_t> HexAttribute(udev_device* device, const char* name)
{
    const char* value = udev_device_get_sysattr_value(device, name);
    return value == nullptr ? std::nullopt : ParseHex16(value);
}

struct Node {
    Node(std::string path, UniqueFd node_fd, const ReportDescriptor& descriptor)
        : syspath(std::move(path)), fd(std::move(node_fd)), routing(descriptor)
    {
    }

    const std::string syspath;
    const UniqueFd fd;
    const ReportRouting routing;
    const UniqueFd stop = MakeWakeFd();
    std::thread reader;
    // Set by the reader when the node failed; the monitor thread then retires it.
    std::atomic<bool> gone{false};
    uint8_t buffer[kMaxReportSize];
};

class HidrawBackend final : public Backend {
public:
    HidrawBackend(DeviceIds ids, BackendSink& sink) : ids_(ids), sink_(sink) {}
    ~HidrawBackend() override
    {
        Stop();
        if (monitor_ != nullptr)
            udev_monitor_unref(monitor_);
        if (udev_ != nullptr)
            udev_unref(udev_);
    }

    bool Start() override;
    void Stop() override;
    int Count(Collection c) const override { return counts_.Get(c); }
    int Write(Collection c, const uint8_t* report, size_t length) override;
    int GetFeature(Collection c, uint8_t* data, size_t length) override;
    int SetFeature(Collection c, const uint8_t* data, size_t length) override;

private:
    void Monitor();
    void Read(Node& node);
    void Add(udev_device* device);
    void Remove(const char* syspath);
    void RetireGoneNodes();
    void Recount();
    std::shared_ptr<Node> FirstServing(Collection c) const;
    static void StopNode(Node& node);

    const DeviceIds ids_;
    BackendSink& sink_;
    DeviceCounts counts_;
    // Used by Start, then by the monitor thread only.
    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    UniqueFd stop_;
    UniqueFd node_gone_;
    std::thread thread_;

    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<Node>> nodes_;
};

bool HidrawBackend::Start()
{
    udev_ = udev_new();
    stop_ = MakeWakeFd();
    node_gone_ = MakeWakeFd();
    if (udev_ == nullptr || !stop_.Valid() || !node_gone_.Valid()) {
        Log("cannot start the hidraw backend: %s", std::strerror(errno));
        return false;
    }
    // Without a udev daemon (a container) the kernel's own events are the only ones there are.
    const char* source = ::access("/run/udev/control", F_OK) == 0 ? "udev" : "kernel";
    monitor_ = udev_monitor_new_from_netlink(udev_, source);
    if (monitor_ == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor_) < 0) {
        Log("cannot watch for hidraw devices; only keyboards present now are seen");
        if (monitor_ != nullptr)
            udev_monitor_unref(monitor_);
        monitor_ = nullptr;
    }
    // The monitor is listening before the scan, so no arrival falls between the two.
    udev_enumerate* scan = udev_enumerate_new(udev_);
    if (scan != nullptr && udev_enumerate_add_match_subsystem(scan, "hidraw") >= 0 &&
        udev_enumerate_scan_devices(scan) >= 0) {
        udev_list_entry* entry;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(scan))
        {
            udev_device* device =
                udev_device_new_from_syspath(udev_, udev_list_entry_get_name(entry));
            if (device != nullptr) {
                Add(device);
                udev_device_unref(device);
            }
        }
    }
    if (scan != nullptr)
        udev_enumerate_unref(scan);
    Recount();
    thread_ = std::thread([this] { Monitor(); });
    return true;
}

void HidrawBackend::Stop()
{
    if (thread_.joinable()) {
        Signal(stop_);
        thread_.join();
    }
    std::vector<std::shared_ptr<Node>> nodes;
    {
        const std::lock_guard lock(mutex_);
        nodes.swap(nodes_);
    }
    for (const auto& node : nodes)
        StopNode(*node);
}

void HidrawBackend::Monitor()
{
    pthread_setname_np(pthread_self(), "devlinx-udev");
    const int monitor_fd = monitor_ != nullptr ? udev_monitor_get_fd(monitor_) : -1;
    for (;;) {
        pollfd fds[3] = {
            {stop_.Get(), POLLIN, 0}, {monitor_fd, POLLIN, 0}, {node_gone_.Get(), POLLIN, 0}};
        if (::poll(fds, 3, -1) < 0) {
            if (errno == EINTR)
                continue;
            Log("hidraw monitor poll failed: %s", std::strerror(errno));
            return;
        }
        if (fds[0].revents != 0)
            return;
        if (fds[1].revents != 0) {
            if (udev_device* device = udev_monitor_receive_device(monitor_)) {
                const char* action = udev_device_get_action(device);
                if (action != nullptr && std::strcmp(action, "add") == 0)
                    Add(device);
                else if (action != nullptr && std::strcmp(action, "remove") == 0)
                    Remove(udev_device_get_syspath(device));
                udev_device_unref(device);
            }
        }
        if (fds[2].revents != 0) {
            Drain(node_gone_);
            RetireGoneNodes();
        }
        Recount();
    }
}

void HidrawBackend::Add(udev_device* device)
{
    const char* devnode = udev_device_get_devnode(device);
    const char* syspath = udev_device_get_syspath(device);
    if (devnode == nullptr || syspath == nullptr)
        return;
    {
        const std::lock_guard lock(mutex_);
        if (std::any_of(nodes_.begin(), nodes_.end(),
                        [syspath](const auto& node) { return node->syspath == syspath; }))
            return;
    }
    udev_device* usb = udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_device");
    udev_device* hid = udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr);
    if (usb == nullptr || hid == nullptr)
        return;
    if (HexAttribute(usb, "idVendor") != ids_.vendor ||
        HexAttribute(usb, "idProduct") != ids_.product)
        return;
    const auto bytes =
        ReadFile(std::string(udev_device_get_syspath(hid)) + "/report_descriptor",
                 kMaxDescriptorSize);
    const ReportDescriptor descriptor = ParseReportDescriptor(bytes.data(), bytes.size());
    if (!ReportRouting(descriptor).ServesAny())
        return;
    UniqueFd fd(::open(devnode, O_RDWR | O_CLOEXEC));
    if (!fd.Valid()) {
        // Most often a missing udev rule: the node belongs to root.
        Log("cannot open %s: %s", devnode, std::strerror(errno));
        return;
    }
    Log("keyboard collection at %s", devnode);
    auto node = std::make_shared<Node>(syspath, std::move(fd), descriptor);
    node->reader = std::thread([this, raw = node.get()] { Read(*raw); });
    const std::lock_guard lock(mutex_);
    nodes_.push_back(std::move(node));
}

void HidrawBackend::Remove(const char* syspath)
{
    if (syspath == nullptr)
        return;
    std::shared_ptr<Node> node;
    {
        const std::lock_guard lock(mutex_);
        const auto it = std::find_if(nodes_.begin(), nodes_.end(),
                                     [syspath](const auto& n) { return n->syspath == syspath; });
        if (it == nodes_.end())
            return;
        node = std::move(*it);
        nodes_.erase(it);
    }
    Log("keyboard collection at %s gone", syspath);
    StopNode(*node);
}

void HidrawBackend::RetireGoneNodes()
{
    std::vector<std::shared_ptr<Node>> gone;
    {
        const std::lock_guard lock(mutex_);
        for (auto it = nodes_.begin(); it != nodes_.end();) {
            if ((*it)->gone.load()) {
                gone.push_back(std::move(*it));
                it = nodes_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (const auto& node : gone)
        StopNode(*node);
}

// The node is out of the table already, so no new writer finds it; writers still holding it
// keep its descriptor open until they let go.
void HidrawBackend::StopNode(Node& node)
{
    Signal(node.stop);
    if (node.reader.joinable())
        node.reader.join();
}

void HidrawBackend::Recount()
{
    int counts[kCollectionCount] = {};
    {
        const std::lock_guard lock(mutex_);
        for (const auto& node : nodes_)
            for (Collection c : {Collection::command, Collection::consumer, Collection::status})
                counts[Index(c)] += node->routing.Serves(c) ? 1 : 0;
    }
    counts_.Set(counts, sink_);
}

void HidrawBackend::Read(Node& node)
{
    pthread_setname_np(pthread_self(), "devlinx-hidraw");
    for (;;) {
        pollfd fds[2] = {{node.stop.Get(), POLLIN, 0}, {node.fd.Get(), POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[0].revents != 0)
            return;
        if (fds[1].revents & POLLIN) {
            const ssize_t got = ::read(node.fd.Get(), node.buffer, sizeof node.buffer);
            if (got > 0) {
                const auto length = static_cast<size_t>(got);
                const auto collection = node.routing.Route(node.buffer, length);
                if (!collection)
                    continue;
                const uint16_t code = *collection == Collection::consumer
                                          ? node.routing.ConsumerCode(node.buffer, length)
                                          : uint16_t{0};
                sink_.ReportArrived(*collection, node.buffer, length, code);
                continue;
            }
            if (got < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            break;
        }
        if (fds[1].revents & (POLLERR | POLLHUP | POLLNVAL))
            break;
    }
    // Unplugged (ENODEV) or broken: let the monitor thread retire the node even when no udev
    // event comes.
    node.gone.store(true);
    Signal(node_gone_);
}

std::shared_ptr<Node> HidrawBackend::FirstServing(Collection c) const
{
    const std::lock_guard lock(mutex_);
    for (const auto& node : nodes_)
        if (node->routing.Serves(c) && !node->gone.load())
            return node;
    return nullptr;
}

int HidrawBackend::Write(Collection c, const uint8_t* report, size_t length)
{
    const auto node = FirstServing(c);
    if (node == nullptr)
        return 0;
    ssize_t sent;
    do {
        sent = ::write(node->fd.Get(), report, length);
    } while (sent < 0 && errno == EINTR);
    return sent == static_cast<ssize_t>(length) ? 1 : 0;
}

int HidrawBackend::GetFeature(Collection c, uint8_t* data, size_t length)
{
    const auto node = FirstServing(c);
    if (node == nullptr)
        return 0;
    const int got = ::ioctl(node->fd.Get(), HIDIOCGFEATURE(length), data);
    return got > 0 ? got : 0;
}

int HidrawBackend::SetFeature(Collection c, const uint8_t* data, size_t length)
{
    const auto node = FirstServing(c);
    if (node == nullptr)
        return 0;
    const int sent = ::ioctl(node->fd.Get(), HIDIOCSFEATURE(length), data);
    return sent > 0 ? sent : 0;
}

} // namespace

std::unique_ptr<Backend> MakeHidrawBackend(DeviceIds ids, BackendSink& sink)
{
    return std::make_unique<HidrawBackend>(ids, sink);
}

} // namespace devlinx
