#pragma once
// The firmware update: a backup of the profile data, the boot-loader command and the start of
// the updater the user picked. The updater itself, and what the boot loader does, lie outside
// this program.

#include <filesystem>
#include <string>

#include "device/command_set.h"
#include "profiles/profile_data.h"
#include "platform/paths.h"
#include "ports/process_starter.h"
#include "platform/startable_program.h"
#include "ports/prompter.h"
#include "ports/text_source.h"

namespace kovantis {

enum class UpdateOutcome {
    Started,        // the updater runs; the dialog closes
    NoUpdater,      // no existing file was chosen; nothing was sent
    NotStartable,   // the file cannot be run as a program; nothing was sent
    BootRefused,    // the boot-loader command did not go out
    StartFailed,    // the keyboard was told to enter its boot loader, the updater did not start
};

// Writes the working data as it is (not read again from the keyboard) and tells the user whether
// the backup was written. 1 or 0.
int BackupProfileData(const std::filesystem::path& path, ProfileData& working, Prompter& prompter,
                      const TextSource& texts);

class FirmwareUpdate {
public:
    FirmwareUpdate(const Paths& paths, ProfileData& working, CommandSet& commands, Prompter& prompter,
                   const TextSource& texts, ProcessStarter& starter);

    const std::string& UpdaterPath() const { return updaterPath_; }

    // Open: the user picks the updater, starting in the Package folder. Cancelled: unchanged.
    void Open();
    void SetUpdaterPath(std::string path) { updaterPath_ = std::move(path); }
    // Backup: the working data as it is to a file the user picks; reports the outcome.
    int Backup();
    int BackupTo(const std::filesystem::path& path);
    // Update: checks that the updater exists and can be started, then sends the boot-loader
    // command, then starts the updater in the Package folder (in its own folder when there is
    // no Package folder). A keyboard is never sent to its boot loader for an updater that
    // cannot start. The updater path is emptied after every start attempt.
    UpdateOutcome Update();
    // The folder the updater starts in.
    std::filesystem::path WorkingFolderFor(const std::filesystem::path& updater) const;
    // Cancel update.
    void Cancel() { updaterPath_.clear(); }

private:
    const Paths& paths_;
    ProfileData& working_;
    CommandSet& commands_;
    Prompter& prompter_;
    const TextSource& texts_;
    ProcessStarter& starter_;
    std::string updaterPath_;
};

} // namespace kovantis
