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

enum class MacroRead { Read, Failed, Unparseable };

// The macro records of the keyboard's macro area: none when its head lacks the mark.
MacroRead ReadMacros(CommandSet& commands, const DeviceState& device, const TextSource& texts,
                     std::vector<MacroRecord>& out, ProgressScope& counted, int reportsBefore)
{
    out.clear();
    std::array<uint8_t, kMacroAreaHeaderSize> head{};
    if (commands.ReadMacroArea(head) != 1) {
        return MacroRead::Failed;
    }
    const int count = MacroAreaCountOf(head);
    if (count < 0) {
        return MacroRead::Read;
    }
    const uint32_t total = MacroAreaTotalOf(head);
    const int space = device.MacroAreaSize();
    if (total < kMacroAreaHeaderSize || (space > 0 && total > static_cast<uint32_t>(space))) {
        return MacroRead::Unparseable;
    }
    counted.SetTotal(reportsBefore + ReportsFor(total));
    std::vector<uint8_t> area(total);
    if (commands.ReadMacroArea(area) != 1) {
        return MacroRead::Failed;
    }
    if (ParseMacroAreaImage(area, count, texts.Text("MACRO_NEW_PREFIX"), out) != 1) {
        out.clear();
        return MacroRead::Unparseable;
    }
    return MacroRead::Read;
}

} // namespace

std::unique_ptr<ProfileContents> ReadKeyboardContents(CommandSet& commands, const DeviceState& device,
                                                      const TextSource& texts, ReadbackReport* report,
                                                      const TransferProgress& progress)
{
    if (report != nullptr) {
        *report = ReadbackReport{};
    }
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
        if (!contents) {
            return nullptr;
        }
        const MacroRead macros = ReadMacros(commands, device, texts, contents->macros, counted, reportsBefore);
        if (macros == MacroRead::Failed) {
            return nullptr;
        }
        if (macros == MacroRead::Unparseable && report != nullptr) {
            report->macrosDropped = true;
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
                       const TextSource& texts, ReadbackReport* report, const TransferProgress& progress)
{
    std::unique_ptr<ProfileContents> contents = ReadKeyboardContents(commands, device, texts, report, progress);
    if (!contents) {
        return 0;
    }
    const std::vector<uint8_t> bytes = SerializeProfileContents(*contents);
    return !bytes.empty() && WriteFileAtomically(path.string(), bytes, FileAccess::Private) ? 1 : 0;
}

} // namespace kovantis
