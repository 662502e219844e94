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

// allProfiles: the keymaps of profiles 0, 1 and 2 (after an import); otherwise only the active
// profile's (Apply). Gives 1 when the last keymap write succeeded, else 0. A list that does not
// fit the macro space even without names is refused with a message and nothing is sent; so is a
// download while the active profile cannot be read, which would leave the keymaps pointing at
// macros that moved.
int DownloadToKeyboard(ProfileDataPair& data, const DownloadLink& link, bool allProfiles);

} // namespace kovantis
