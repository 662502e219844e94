#pragma once
// What every virtual-link test needs: the library started on a fresh socket path, callers'
// calls with their checks computed, and a record of every notification the library delivered.

#include <gtest/gtest.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "devlinx.h"
#include "fake_keyboard.h"

namespace devlinx_test {

struct Heard {
    int32_t kind;
    uint32_t tag;
    int32_t count;
    Packet report;
    uint16_t event_code;
};

// Every notification of the recording callback, in arrival order.
class Recorder {
public:
    static Recorder& Instance();
    static int32_t Callback(const DevlinxNotification* notification);

    void Clear();
    std::vector<Heard> All() const;
    std::vector<Heard> With(uint32_t tag) const;
    // The counts told to registrations with `tag`, in order.
    std::vector<int32_t> Counts(uint32_t tag) const;
    // Waits until `done` holds for the record; false when it did not within kPatience.
    bool WaitFor(const std::function<bool(const std::vector<Heard>&)>& done) const;
    bool WaitForCount(uint32_t tag, int32_t count, size_t occurrence = 1) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<Heard> heard_;
};

DeviceSelector Selector(uint16_t page, uint16_t usage, uint16_t vendor = DEVLINX_DEFAULT_VENDOR_ID,
                        uint16_t product = DEVLINX_DEFAULT_PRODUCT_ID);
inline const DeviceSelector kCommand = Selector(DEVLINX_PAGE_COMMAND, DEVLINX_USAGE_COMMAND);
inline const DeviceSelector kConsumer = Selector(DEVLINX_PAGE_CONSUMER, DEVLINX_USAGE_CONSUMER);
inline const DeviceSelector kStatus = Selector(DEVLINX_PAGE_STATUS, DEVLINX_USAGE_STATUS);

// The calls as the program makes them, checks included.
int32_t Count(const DeviceSelector& selector);
int32_t WriteOne(const DeviceSelector& selector, const Packet& report);
int32_t Listen(const DeviceSelector& selector, uint32_t tag,
               DevlinxCallback callback = Recorder::Callback);
int32_t StatusWrite(const DeviceSelector& selector, uint32_t tag, const Packet& data,
                    DevlinxCallback callback = Recorder::Callback);

inline constexpr uint32_t kPresenceTag = 0x50524553; // "PRES"

class VirtualLinkTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Init with the keyboard as it is now, plus a recording registration on the command
    // collection under kPresenceTag, so that every count change wakes the waits below.
    void StartLibrary();
    // Listens, takes the library's connection and says hello with the default ids, then waits
    // until the library counts the keyboard.
    void PlugIn();

    std::string folder_;
    std::unique_ptr<FakeKeyboard> keyboard_;
};

} // namespace devlinx_test
