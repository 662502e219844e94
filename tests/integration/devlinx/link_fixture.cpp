#include "link_fixture.h"

#include <cstdlib>
#include <filesystem>

namespace devlinx_test {

Recorder& Recorder::Instance()
{
    static Recorder recorder;
    return recorder;
}

int32_t Recorder::Callback(const DevlinxNotification* n)
{
    Heard heard{n->kind, n->tag, n->count, {}, n->event_code};
    if (n->kind == DEVLINX_NOTIFY_REPORT)
        heard.report.assign(n->report, n->report + n->length);
    Recorder& self = Instance();
    {
        const std::lock_guard lock(self.mutex_);
        self.heard_.push_back(std::move(heard));
    }
    self.changed_.notify_all();
    return 1;
}

void Recorder::Clear()
{
    const std::lock_guard lock(mutex_);
    heard_.clear();
}

std::vector<Heard> Recorder::All() const
{
    const std::lock_guard lock(mutex_);
    return heard_;
}

std::vector<Heard> Recorder::With(uint32_t tag) const
{
    std::vector<Heard> with;
    for (const Heard& h : All())
        if (h.tag == tag)
            with.push_back(h);
    return with;
}

std::vector<int32_t> Recorder::Counts(uint32_t tag) const
{
    std::vector<int32_t> counts;
    for (const Heard& h : With(tag))
        if (h.kind == DEVLINX_NOTIFY_COUNT)
            counts.push_back(h.count);
    return counts;
}

bool Recorder::WaitFor(const std::function<bool(const std::vector<Heard>&)>& done) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kPatience, [&] { return done(heard_); });
}

bool Recorder::WaitForCount(uint32_t tag, int32_t count, size_t occurrence) const
{
    return WaitFor([&](const std::vector<Heard>& heard) {
        size_t seen = 0;
        for (const Heard& h : heard)
            if (h.tag == tag && h.kind == DEVLINX_NOTIFY_COUNT && h.count == count)
                ++seen;
        return seen >= occurrence;
    });
}

DeviceSelector Selector(uint16_t page, uint16_t usage, uint16_t vendor, uint16_t product)
{
    DeviceSelector s{};
    s.match_mask = DEVLINX_MATCH_ALL;
    s.vendor_id = vendor;
    s.product_id = product;
    s.usage_page = page;
    s.usage = usage;
    return s;
}

int32_t Count(const DeviceSelector& selector)
{
    return RequestGetDeviceCount(&selector, 0, 0, devlinx_check_count(&selector), 0);
}

int32_t WriteOne(const DeviceSelector& selector, const Packet& report)
{
    return RequestWriteOne(&selector, 0, 0, report.data(), static_cast<int32_t>(report.size()),
                           devlinx_check_write(&selector, report.data(), report.size()), 0);
}

int32_t Listen(const DeviceSelector& selector, uint32_t tag, DevlinxCallback callback)
{
    int32_t unit = 0;
    const uint32_t check = devlinx_check_register(&selector, callback, tag, nullptr, 0);
    EXPECT_EQ(RequestAsyncRead(&selector, callback, tag, check, &unit), 1);
    return unit;
}

int32_t StatusWrite(const DeviceSelector& selector, uint32_t tag, const Packet& data,
                    DevlinxCallback callback)
{
    int32_t unit = 0;
    const uint32_t check =
        devlinx_check_register(&selector, callback, tag, data.data(), data.size());
    EXPECT_EQ(RequestStatusWrite(&selector, callback, tag, data.data(),
                                 static_cast<int32_t>(data.size()), check, &unit),
              1);
    return unit;
}

void VirtualLinkTest::SetUp()
{
    char folder[] = "/tmp/devlinx-link-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    folder_ = folder;
    keyboard_ = std::make_unique<FakeKeyboard>(folder_ + "/kbd.sock");
    // The library reads its environment in Init, before any of its threads run.
    ::setenv("DEVLINX_BACKEND", "virtual", 1);
    ::setenv("DEVLINX_VIRTUAL_SOCKET", keyboard_->Path().c_str(), 1);
    ::unsetenv("KOVANTIS_USB_ID");
    Recorder::Instance().Clear();
}

void VirtualLinkTest::TearDown()
{
    EXPECT_EQ(End(), 1);
    keyboard_.reset();
    std::filesystem::remove_all(folder_);
}

void VirtualLinkTest::StartLibrary()
{
    ASSERT_EQ(Init(0), 1);
    Listen(kCommand, kPresenceTag);
}

void VirtualLinkTest::PlugIn()
{
    keyboard_->Listen();
    ASSERT_TRUE(keyboard_->Accept());
    keyboard_->SendHello(DEVLINX_DEFAULT_VENDOR_ID, DEVLINX_DEFAULT_PRODUCT_ID);
    ASSERT_TRUE(Recorder::Instance().WaitFor([](const auto&) { return Count(kCommand) == 1; }));
}

} // namespace devlinx_test
