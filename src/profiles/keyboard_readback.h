#pragma once
// Reading what the keyboard holds (the three keymaps and the macro area) into a profile file.
// The keyboard holds no texts of launch and text-block assignments: such files have an empty
// string area.

#include <filesystem>
#include <memory>

#include "device/command_set.h"
#include "device/device_state.h"
#include "profiles/profile_data.h"
#include "ports/text_source.h"
#include "profiles/transfer_progress.h"

namespace kovantis {

// What a read-back had to leave out.
struct ReadbackReport {
    // The keyboard's macro area could not be understood: the contents hold the keymaps that were
    // read and no macros. Without this, one bad macro area would blank the keymaps too, and the
    // next Apply would overwrite the keyboard's real key assignments with defaults.
    bool macrosDropped = false;
};

// The keyboard's contents as profile data; null when a read failed.
std::unique_ptr<ProfileContents> ReadKeyboardContents(CommandSet& commands, const DeviceState& device,
                                                      const TextSource& texts, ReadbackReport* report = nullptr,
                                                      const TransferProgress& progress = {});

// Writes the keyboard's contents to `path`. 1 or 0; on 0 the file is as it was.
int ReadKeyboardToFile(const std::filesystem::path& path, CommandSet& commands, const DeviceState& device,
                       const TextSource& texts, ReadbackReport* report = nullptr,
                       const TransferProgress& progress = {});

} // namespace kovantis
