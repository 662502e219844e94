#include "profiles/macro_download.h"

#include <algorithm>
#include <vector>

#include "keyboard/default_layout.h"
#include "keyboard/keymap_codec.h"
#include "macros/macro_area.h"
#include "profiles/string_area.h"

namespace kovantis {

Keymap DefaultLayoutOf(const DeviceState& device)
{
    const FactoryKeymap reported = device.FactoryKeymapCopy();
    if (std::all_of(reported.begin(), reported.end(), [](uint8_t b) { return b == 0; })) {
        return CompiledDefaultLayout();
    }
    Keymap layout;
    std::copy(reported.begin(), reported.end(), layout.begin());
    return layout;
}

int RefreshSnapshot(ProfileDataPair& data)
{
    ProfileData::Lock working(data.working);
    ProfileData::Lock snapshot(data.snapshot);
    try {
        auto fresh = std::make_unique<ProfileContents>(*working);
        const std::vector<uint8_t> area = PackStringArea(fresh->image.records, fresh->strings);
        BuildProfileHeader(fresh->image.header, static_cast<uint16_t>(fresh->macros.size()),
                           static_cast<uint32_t>(area.size()));
        snapshot.Replace(std::move(fresh));
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

int DownloadToKeyboard(ProfileDataPair& data, const DownloadLink& link, bool allProfiles)
{
    ProfileData::Lock working(data.working);
    if (RefreshSnapshot(data) != 1) {
        return 0;
    }
    ProfileData::Lock snapshot(data.snapshot);
    const std::vector<MacroRecord>& macros = snapshot->macros;

    const MacroAreaSizes sizes = MeasureMacroAreaImage(macros);
    const uint32_t space = static_cast<uint32_t>(std::max(link.device.MacroAreaSize(), 0));
    if (sizes.withoutNames > space) {
        link.prompter.ShowMessage(link.texts.Text("EXTRA_MACRO_TOO_LONG"));
        return 0;
    }
    const bool withNames = sizes.withNames <= space;

    std::vector<int> profiles;
    if (allProfiles) {
        profiles = {0, 1, 2};
    } else {
        const int active = link.commands.GetActiveProfile();
        if (active < 0 || active >= kProfileCount) {
            return 0;
        }
        profiles = {active};
    }

    std::vector<uint8_t> image;
    std::vector<Keymap> keymaps;
    try {
        image = BuildMacroAreaImage(macros, withNames);
        const Keymap layout = DefaultLayoutOf(link.device);
        // The snapshot's list is the working list: both locks are held since it was copied.
        const MacroPositionLookup positionOf = [&macros](uint32_t id) {
            const auto found = std::find_if(macros.begin(), macros.end(),
                                            [id](const MacroRecord& m) { return m.id == id; });
            return found == macros.end() ? 0 : static_cast<int>(found - macros.begin());
        };
        for (int p : profiles) {
            keymaps.push_back(EncodeKeymap(snapshot->image.Bank(p), layout, positionOf));
        }
    } catch (const std::bad_alloc&) {
        return 0;
    }
    if (image.empty()) {
        return 0;
    }

    const int reports = 2 + ReportsFor(image.size()) + static_cast<int>(profiles.size()) * ReportsFor(kKeymapSize);
    ProgressScope counted(link.commands, link.progress, reports);
    link.commands.BeginTransfer();
    link.commands.WriteMacroArea(image);
    int last = 0;
    for (size_t i = 0; i < profiles.size(); ++i) {
        last = link.commands.WriteKeymapBlock(keymaps[i], profiles[i]);
    }
    link.commands.EndTransfer();

    if (!withNames) {
        link.prompter.ShowMessage(link.texts.Text("EXTRA_PROFILE_SPACE_TIGHT"));
    }
    return last == 1 ? 1 : 0;
}

} // namespace kovantis
