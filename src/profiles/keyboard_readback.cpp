#include "profiles/keyboard_readback.h"

#include <algorithm>
#include <array>
#include <vector>

#include "device/device_ids.h"
#include "keyboard/keymap_codec.h"
#include "macros/macro_area.h"
#include "profiles/macro_download.h"
#include "platform/atomic_file.h"
#include "profiles/profile_file.h"

namespace kovantis {
namespace {

// The macro records of the keyboard's macro area: none when its head lacks the mark.
bool ReadMacros(CommandSet& commands, const TextSource& texts, std::vector<MacroRecord>& out, ProgressScope& counted,
                int reportsBefore)
{
    std::array<uint8_t, kMacroAreaHeaderSize> head{};
    if (commands.ReadMacroArea(head) != 1) {
        return false;
    }
    const int count = MacroAreaCountOf(head);
    if (count < 0) {
        out.clear();
        return true;
    }
    const uint32_t total = MacroAreaTotalOf(head);
    if (total < kMacroAreaHeaderSize) {
        return false;
    }
    counted.SetTotal(reportsBefore + ReportsFor(total));
    std::vector<uint8_t> area(total);
    if (commands.ReadMacroArea(area) != 1) {
        return false;
    }
    return ParseMacroAreaImage(area, count, texts.Text("MACRO_NEW_PREFIX"), out) == 1;
}

} // namespace

std::unique_ptr<ProfileContents> ReadKeyboardContents(CommandSet& commands, const DeviceState& device,
                                                      const TextSource& texts, const TransferProgress& progress)
{
    // Three keymaps and the macro area's head, then the area itself (at most the macro space).
    const int reportsBefore = kProfileCount * ReportsFor(kKeymapSize) + ReportsFor(kMacroAreaHeaderSize);
    ProgressScope counted(commands, progress,
                          reportsBefore + ReportsFor(static_cast<size_t>(std::max(device.MacroAreaSize(), 0))));
    if (commands.GetActiveProfile() > 3) {
        return nullptr;
    }
    try {
        std::array<Keymap, kProfileCount> keymaps{};
        for (int p = 0; p < kProfileCount; ++p) {
            if (commands.ReadKeymapBlock(keymaps[static_cast<size_t>(p)], p) != 1) {
                return nullptr;
            }
        }
        std::unique_ptr<ProfileContents> contents = NewProfileContents();
        if (!contents || !ReadMacros(commands, texts, contents->macros, counted, reportsBefore)) {
            return nullptr;
        }
        const DeviceIds ids = DeviceIdsFromEnvironment();
        BuildProfileHeader(contents->image.header, static_cast<uint16_t>(contents->macros.size()), 0);
        WriteDescriptorBlock(contents->image.descriptor, ids.vendorId, ids.productId);
        const Keymap layout = DefaultLayoutOf(device);
        for (int p = 0; p < kProfileCount; ++p) {
            const Bank bank = DecodeKeymap(keymaps[static_cast<size_t>(p)], layout);
            std::copy(bank.begin(), bank.end(), contents->image.Bank(p).begin());
        }
        return contents;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

int ReadKeyboardToFile(const std::filesystem::path& path, CommandSet& commands, const DeviceState& device,
                       const TextSource& texts, const TransferProgress& progress)
{
    std::unique_ptr<ProfileContents> contents = ReadKeyboardContents(commands, device, texts, progress);
    if (!contents) {
        return 0;
    }
    const std::vector<uint8_t> bytes = SerializeProfileContents(*contents);
    return !bytes.empty() && WriteFileAtomically(path.string(), bytes) ? 1 : 0;
}

} // namespace kovantis
