// Whatever the library hands the program's notification callback, in whatever order: device
// counts (arrival reads, removal), consumer events (bank key, lighting changes, activity),
// reports on the command collection while no exchange waits or between exchanges. The hub,
// the presence logic and the request channel never misbehave, and an exchange afterwards still
// gets its own reply.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "device/notification_hub.h"
#include "support/fake_device.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kovantis;
    static testing::FakeDevice* device = new testing::FakeDevice();
    std::span<const uint8_t> input(data, size);
    while (input.size() >= 4) {
        const uint8_t what = input[0];
        const uint32_t tags[] = {DEVLINX_TAG_CTRL, DEVLINX_TAG_CONS, DEVLINX_TAG_LED, 0};
        const uint16_t word = static_cast<uint16_t>(input[2] | input[3] << 8);
        const size_t length = std::min<size_t>(input[1], input.size() - 4);
        const std::span<const uint8_t> body = input.subspan(4, length);
        input = input.subspan(4 + length);
        DevlinxNotification n{};
        n.tag = tags[what & 3];
        switch ((what >> 2) % 4) {
        case 0:  // a report on any registration, as the library delivers it
            n.kind = DEVLINX_NOTIFY_REPORT;
            n.report = body.empty() ? nullptr : body.data();
            n.length = static_cast<int32_t>(body.size());
            n.event_code = word;
            notification_hub::Callback(&n);
            break;
        case 1:  // a count change for any registration; the worker handles it before the next
            device->SendCount(word % 3, n.tag);
            device->WaitIdle();
            break;
        case 2:  // an odd record: unknown kind, negative count or length
            n.kind = static_cast<int32_t>(what >> 4);
            n.count = -static_cast<int32_t>(word);
            n.length = -1;
            notification_hub::Callback(&n);
            break;
        default: {  // an exchange in between: it must get the keyboard's own reply
            device->SetPresent(true);
            uint8_t settings[44];
            if (device->Commands().ReadSettingsBlock(settings) != 1 || settings[10] > 2)
                std::abort();
            break;
        }
        }
    }
    device->Plug();
    device->WaitIdle();
    // The fake window keeps every call it was asked for; over millions of inputs that log
    // alone would exhaust the memory limit.
    device->Window().Clear();
    return 0;
}
