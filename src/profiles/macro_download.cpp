#include "profiles/macro_download.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "device/command_result.h"
#include "device/request_channel.h"
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

namespace {

// Closes the bracket after a failure, when the keyboard is there to take it; the first failure
// stays the one reported.
void CloseAfterFailure(CommandSet& commands, int failure)
{
    if (KeyboardRefused(failure) || failure == kSendNoReply) {
        commands.EndTransfer();
    }
}

std::string StageWords(const DownloadOutcome& outcome)
{
    switch (outcome.stage) {
    case DownloadStage::Prepare:
        return "preparing the download";
    case DownloadStage::Begin:
        return "starting the transfer";
    case DownloadStage::MacroArea:
        return "writing the macros";
    case DownloadStage::Keymap:
        return "writing the key assignments of profile " + std::to_string(outcome.profile + 1);
    case DownloadStage::End:
        return "finishing the transfer";
    case DownloadStage::Done:
        break;
    }
    return "the download";
}

} // namespace

DownloadOutcome RunDownload(ProfileDataPair& data, const DownloadLink& link, const DownloadScope& scope)
{
    DownloadOutcome outcome;
    ProfileData::Lock working(data.working);
    if (RefreshSnapshot(data) != 1) {
        return outcome;
    }
    ProfileData::Lock snapshot(data.snapshot);
    const std::vector<MacroRecord>& macros = snapshot->macros;

    const MacroAreaSizes sizes = MeasureMacroAreaImage(macros);
    const uint32_t space = static_cast<uint32_t>(std::max(link.device.MacroAreaSize(), 0));
    if (sizes.withoutNames > space) {
        link.prompter.ShowMessage(link.texts.Text("EXTRA_MACRO_TOO_LONG"));
        outcome.messageShown = true;
        return outcome;
    }
    const bool withNames = sizes.withNames <= space;

    std::vector<int> profiles;
    if (scope.allProfiles) {
        profiles = {0, 1, 2};
    } else {
        const int active = scope.profile >= 0 ? scope.profile : link.commands.GetActiveProfile();
        if (active < 0 || active >= kProfileCount) {
            outcome.result = active < 0 ? kSendNoReply : kResultBadArgument;
            outcome.stage = DownloadStage::Prepare;
            return outcome;
        }
        profiles = {active};
    }

    WrittenAreas& written = outcome.written;
    try {
        written.macroArea = BuildMacroAreaImage(macros, withNames);
        const Keymap layout = DefaultLayoutOf(link.device);
        // The snapshot's list is the working list: both locks are held since it was copied.
        const MacroPositionLookup positionOf = [&macros](uint32_t value) {
            const uint16_t id = MacroIdOfValue(value);
            const auto found = std::find_if(macros.begin(), macros.end(),
                                            [id](const MacroRecord& m) { return m.id == id; });
            return found == macros.end() ? 0 : static_cast<int>(found - macros.begin());
        };
        for (int p : profiles) {
            written.keymaps.emplace_back(p, EncodeKeymap(snapshot->image.Bank(p), layout, positionOf));
        }
    } catch (const std::bad_alloc&) {
        return outcome;
    }
    if (written.macroArea.empty()) {
        return outcome;
    }

    const int reports = 2 + ReportsFor(written.macroArea.size()) +
                        static_cast<int>(written.keymaps.size()) * ReportsFor(kKeymapSize);
    ProgressScope counted(link.commands, link.progress, reports);
    outcome.stage = DownloadStage::Begin;
    int result = link.commands.BeginTransfer();
    if (result == 1) {
        outcome.sent = true;
        outcome.stage = DownloadStage::MacroArea;
        result = link.commands.WriteMacroArea(written.macroArea);
    }
    for (size_t i = 0; result == 1 && i < written.keymaps.size(); ++i) {
        outcome.stage = DownloadStage::Keymap;
        outcome.profile = written.keymaps[i].first;
        result = link.commands.WriteKeymapBlock(written.keymaps[i].second, written.keymaps[i].first);
    }
    if (result == 1) {
        outcome.stage = DownloadStage::End;
        result = link.commands.EndTransfer();
    } else {
        // Only a keyboard that was not reached at all holds nothing of it.
        outcome.sent = outcome.sent || !(result == kSendNoDevice || result == kSendRefused);
        CloseAfterFailure(link.commands, result);
    }
    outcome.result = result;
    if (result == 1) {
        outcome.stage = DownloadStage::Done;
        outcome.profile = -1;
        if (!withNames) {
            link.prompter.ShowMessage(link.texts.Text("EXTRA_PROFILE_SPACE_TIGHT"));
        }
    }
    return outcome;
}

int DownloadToKeyboard(ProfileDataPair& data, const DownloadLink& link, bool allProfiles)
{
    return RunDownload(data, link, DownloadScope{allProfiles, -1}).result;
}

std::string DescribeDownloadFailure(const DownloadOutcome& outcome)
{
    if (outcome.stage == DownloadStage::Prepare && outcome.result == kSendNoReply) {
        return "reading the active profile: the keyboard did not tell which profile is active";
    }
    return StageWords(outcome) + ": " + DescribeCommandResult(outcome.result);
}

std::u16string DescribeDownloadFailure(const DownloadOutcome& outcome, const TextSource& texts)
{
    if (outcome.stage == DownloadStage::Prepare && outcome.result == kSendNoReply) {
        const std::string english = DescribeDownloadFailure(outcome);
        return std::u16string(english.begin(), english.end());
    }
    const std::string stage = StageWords(outcome);
    return std::u16string(stage.begin(), stage.end()) + u": " + DescribeCommandResult(outcome.result, texts);
}

namespace {

std::string Hex(uint8_t byte)
{
    static const char digits[] = "0123456789ABCDEF";
    return std::string("0x") + digits[byte >> 4] + digits[byte & 15];
}

// The first byte where the two differ, described; empty when they are equal.
std::string FirstDifference(std::string_view area, std::span<const uint8_t> wrote, std::span<const uint8_t> holds)
{
    for (size_t i = 0; i < wrote.size() && i < holds.size(); ++i) {
        if (wrote[i] != holds[i]) {
            return std::string(area) + ", byte " + std::to_string(i) + ": wrote " + Hex(wrote[i]) +
                   ", the keyboard holds " + Hex(holds[i]);
        }
    }
    return {};
}

} // namespace

int VerifyWrittenAreas(CommandSet& commands, const WrittenAreas& written, std::string* difference)
{
    std::string found;
    try {
        std::vector<uint8_t> area(written.macroArea.size());
        int result = commands.ReadMacroArea(area);
        if (result != 1) {
            found = "reading the macros back: " + DescribeCommandResult(result);
        } else {
            found = FirstDifference("macro area", written.macroArea, area);
        }
        for (size_t i = 0; result == 1 && found.empty() && i < written.keymaps.size(); ++i) {
            Keymap keymap{};
            const int profile = written.keymaps[i].first;
            result = commands.ReadKeymapBlock(keymap, profile);
            if (result != 1) {
                found = "reading the key assignments of profile " + std::to_string(profile + 1) +
                        " back: " + DescribeCommandResult(result);
            } else {
                found = FirstDifference("key assignments of profile " + std::to_string(profile + 1),
                                        written.keymaps[i].second, keymap);
            }
        }
        if (difference != nullptr) {
            *difference = found;
        }
        if (result != 1) {
            return result;
        }
    } catch (const std::bad_alloc&) {
        if (difference != nullptr) {
            *difference = "not enough memory to read the keyboard back";
        }
        return 0;
    }
    return found.empty() ? 1 : 0;
}

} // namespace kovantis
