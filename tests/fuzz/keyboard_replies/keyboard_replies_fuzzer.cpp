// Whatever a keyboard answers: every reply of every exchange comes from the input (its length
// first, then its bytes; a length of 0 is a lost reply). Reading the settings block, the
// lighting records, the keymaps and the macro area back, and decoding all of it, never
// misbehaves, and no reply lands outside the buffer it was meant for.

#include <cstddef>
#include <cstdint>
#include <span>

#include "device/command_set.h"
#include "device/device_state.h"
#include "device/request_channel.h"
#include "lighting/effect_list.h"
#include "lighting/lighting_state.h"
#include "lighting/profile_block.h"
#include "platform/device_library.h"
#include "profiles/keyboard_readback.h"
#include "support/fake_clock.h"
#include "support/fake_ports.h"

namespace {

using namespace kovantis;

std::span<const uint8_t> input;
RequestChannel* channel = nullptr;

int32_t Count(const DeviceSelector*, int32_t, int32_t, uint32_t, int32_t)
{
    return input.empty() ? 0 : 1;
}

int32_t WriteOne(const DeviceSelector*, int32_t, int32_t, const uint8_t*, int32_t, uint32_t, int32_t)
{
    if (input.empty())
        return 0;  // the library refuses: the keyboard went away
    const size_t length = std::min<size_t>(input[0], input.size() - 1);
    const std::span<const uint8_t> reply = input.subspan(1, length);
    input = input.subspan(1 + length);
    if (length > 0)
        channel->DeliverReply(reply.data(), static_cast<int>(reply.size()));
    return 1;
}

DeviceFunctions Functions()
{
    DeviceFunctions f;
    f.RequestGetDeviceCount = &Count;
    f.RequestWriteOne = &WriteOne;
    return f;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const DeviceFunctions functions = Functions();
    static testing::FakeClock clock;
    static testing::FakeTexts texts;
    input = std::span(data, size);
    RequestChannel requests(functions, DeviceSelector{}, clock, std::chrono::milliseconds(0));
    channel = &requests;
    CommandSet commands(requests);
    DeviceState device;

    uint8_t settings[kSettingsBlockSize] = {};
    if (commands.ReadSettingsBlock(settings) == 1) {
        device.SetMacroAreaSize(settings[kSettingsMacroSpace] * kMacroSpaceUnit);
        const EffectList effects = EffectList::FromSettingsBlock(settings);
        (void)effects;
    }
    for (int p = 0; p < kProfileCount; ++p) {
        std::array<uint8_t, kReportDataSize> record{};
        if (commands.ReadProfileRecord(record, kReportDataSize, p * kProfileBlockSize) == 1) {
            ProfileBlock block;
            std::copy_n(record.begin(), kProfileBlockSize, block.bytes.begin());
            LightingState state;
            state.Decode(block);
        }
    }
    FactoryKeymap factory{};
    if (commands.ReadDefaultKeymap(factory) == 1)
        device.SetFactoryKeymap(factory);
    ReadKeyboardContents(commands, device, texts);
    channel = nullptr;
    return 0;
}
