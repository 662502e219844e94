// Keymaps and factory layouts read from a keyboard, and banks read from a profile file, are
// outside input: decoding and encoding them must stay in bounds whatever they hold.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "keyboard/default_layout.h"
#include "keyboard/key_names.h"
#include "keyboard/keymap_codec.h"

namespace {

kovantis::Keymap Take(const uint8_t*& data, size_t& size, const kovantis::Keymap& fallback)
{
    kovantis::Keymap keymap = fallback;
    const size_t n = std::min(size, keymap.size());
    std::copy(data, data + n, keymap.begin());
    data += n;
    size -= n;
    return keymap;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kovantis;
    const uint8_t selector = size > 0 ? data[0] : 0;
    const Keymap keymap = Take(data, size, {});
    const Keymap layout = (selector & 1) ? Take(data, size, CompiledDefaultLayout()) : CompiledDefaultLayout();

    for (int k = 0; k < kKeymapPositions; ++k) (void)DecodeDeviceAction(ActionAt(keymap, k));
    const MacroPositionLookup positions = [](uint32_t id) { return static_cast<int>(id) - 1; };
    const Bank decoded = DecodeKeymap(keymap, layout);
    (void)EncodeKeymap(decoded, layout, positions);

    // Whatever is left is a damaged bank, record by record.
    std::vector<uint8_t> bankBytes(kBankBytes);
    std::copy(data, data + std::min(size, kBankBytes), bankBytes.begin());
    const Bank damaged = ReadBank(std::span<const uint8_t, kBankBytes>(bankBytes));
    (void)EncodeKeymap(damaged, layout, positions);

    std::u16string format;
    for (size_t i = 0; i + 1 < 128; i += 2) format += static_cast<char16_t>(bankBytes[i] | (bankBytes[i + 1] << 8));
    (void)FormatUnknownKey(format, static_cast<uint32_t>(size));
    return 0;
}
