#pragma once
// The download of macros and keymaps: the snapshot is refreshed from the working copy, the macro
// list is encoded into the macro area image (with names when they fit the keyboard's macro
// space, without them otherwise) and written together with the keymaps in one bracketed
// transfer.

#include "device/command_set.h"
#include "device/device_state.h"
#include "keyboard/keymap.h"
#include "profiles/profile_data.h"
#include "ports/prompter.h"
#include "ports/text_source.h"
#include "profiles/transfer_progress.h"

#include <string>
#include <utility>
#include <vector>

namespace kovantis {

struct DownloadLink {
    CommandSet& commands;
    const DeviceState& device;
    Prompter& prompter;
    const TextSource& texts;
    TransferProgress progress = {};  // told after each report of the transfer
};

// The factory keymap the keyboard reported, or the compiled-in one before any report.
Keymap DefaultLayoutOf(const DeviceState& device);

// Copies the working contents into the snapshot, with the header and string area a save would
// write. Takes both locks, working first. 1, or 0 when memory ran out (snapshot untouched).
int RefreshSnapshot(ProfileDataPair& data);

// Which keymaps a download writes besides the macro area.
struct DownloadScope {
    bool allProfiles = false;  // 0, 1 and 2 (an import); otherwise one profile (Apply)
    int profile = -1;          // that one profile; -1: the keyboard's active profile
};

// Where a download stopped.
enum class DownloadStage { Prepare, Begin, MacroArea, Keymap, End, Done };

// What went to the keyboard, for reading it back and comparing.
struct WrittenAreas {
    std::vector<uint8_t> macroArea;
    std::vector<std::pair<int, Keymap>> keymaps;  // profile, keymap
};

struct DownloadOutcome {
    // 1 when every write of the transfer succeeded; otherwise the result of the first one that
    // did not (0 no keyboard, -1, -2, -102, -103, -201), or 0 when it was refused before
    // anything was sent.
    int result = 0;
    DownloadStage stage = DownloadStage::Prepare;
    int profile = -1;          // the keymap being written when it stopped at that stage
    bool sent = false;         // the keyboard may hold part of it
    bool messageShown = false; // the refusal before sending was already told to the user
    WrittenAreas written;
    bool Succeeded() const { return result == 1; }
};

// Refreshes the snapshot and writes the macro area and the keymaps in one bracketed transfer.
// Every write counts: the first one that fails ends the transfer, which is still closed with
// EndTransfer when the keyboard is there to take it, and the outcome says what failed. A list
// that does not fit the macro space even without names is refused with a message and nothing is
// sent; so is a download while the active profile cannot be read, which would leave the keymaps
// pointing at macros that moved.
DownloadOutcome RunDownload(ProfileDataPair& data, const DownloadLink& link, const DownloadScope& scope);
// RunDownload's result: 1 on success, else the failing result.
int DownloadToKeyboard(ProfileDataPair& data, const DownloadLink& link, bool allProfiles);

// "writing the macro area: the keyboard did not answer" and the like.
std::u16string DescribeDownloadFailure(const DownloadOutcome& outcome, const TextSource& texts);
std::string DescribeDownloadFailure(const DownloadOutcome& outcome);

// Reads back what a download wrote and compares it. 1 when the keyboard holds it all; otherwise
// the failing read's result or 0 with the first difference in *difference.
int VerifyWrittenAreas(CommandSet& commands, const WrittenAreas& written, std::string* difference);

} // namespace kovantis
