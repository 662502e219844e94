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

// The keyboard's contents as profile data; null when a read failed or the keyboard's macro area
// is not one this program could have written.
std::unique_ptr<ProfileContents> ReadKeyboardContents(CommandSet& commands, const DeviceState& device,
                                                      const TextSource& texts,
                                                      const TransferProgress& progress = {});

// Writes the keyboard's contents to `path`. 1 or 0; on 0 the file is as it was.
int ReadKeyboardToFile(const std::filesystem::path& path, CommandSet& commands, const DeviceState& device,
                       const TextSource& texts, const TransferProgress& progress = {});

} // namespace kovantis
