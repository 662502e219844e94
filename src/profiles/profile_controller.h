#pragma once
// The profiles as the main window works them: the profile buttons and switching, Apply, the
// full download, reading the keyboard back when it arrives, import and export, restore
// defaults' key records. The desktop program runs every call as a job on its worker thread, one
// job at a time (ui/common/ui_job.h), so calls never overlap; the controller reaches the user
// and the window only through the ports, which carry what they ask to the UI thread.

#include <filesystem>

#include "device/command_set.h"
#include "device/device_state.h"
#include "profiles/macro_download.h"
#include "profiles/profile_data.h"
#include "profiles/unsaved_changes.h"
#include "platform/paths.h"
#include "keyboard/keyboard_view_model.h"
#include "ports/editor_registry.h"
#include "ports/prompter.h"
#include "ports/text_source.h"
#include "ports/window_port.h"
#include "profiles/lighting_hooks.h"
#include "profiles/profile_menu.h"
#include "profiles/transfer_progress.h"

namespace kovantis {

class ProfileManagerModel;

struct ProfileEnvironment {
    ProfileDataPair& data;
    CommandSet& commands;
    DeviceState& device;
    WindowPort& window;
    EditorRegistry& editors;
    Prompter& prompter;
    const TextSource& texts;
    const Paths& paths;
    UnsavedChanges& changes;
    LightingHooks& lighting;
};

class ProfileController {
public:
    explicit ProfileController(const ProfileEnvironment& env);

    // The profile whose lighting the panel edits and whose bank the keyboard view shows.
    int CurrentProfile() const { return currentProfile_; }

    // Profile button p (0, 1, 2).
    void PressProfileButton(int profile);
    // 1 switched; 0 refused (an editor is open) or the keyboard did not take the new profile.
    int SwitchProfile(int profile);
    // Saves the working file and downloads the active profile when there are unsaved changes;
    // 1 when nothing was pending or both succeeded (Apply is then disabled). A failure keeps
    // Apply enabled and shows why (a file that could not be saved, a keyboard that did not take
    // the download); the result is then the download's failing result, or 0.
    int Apply();
    // Before quitting: with unsaved key assignments or macros, asks whether to apply them
    // (Yes/No, No preselected). True when the program may quit: nothing pending, No, or an
    // Apply that succeeded; false when Apply failed (it said why) so that nothing is lost.
    bool ConfirmQuit();
    // allProfiles: the keymaps of all three profiles, else only the active one's. 1, or the
    // failing result. Not journalled: Apply and import go through the journal.
    int FullDownload(bool allProfiles);

    // A download that an earlier run left unfinished (its journal is still there) is completed
    // before anything reads the keyboard back: the working data becomes what it was writing, and
    // the user is told. LoadFromKeyboard does this first.
    enum class Recovery { None, Completed, Failed };
    Recovery RecoverInterruptedDownload();

    // What the last download wrote and how it ended (for reading it back).
    const DownloadOutcome& LastDownload() const { return lastDownload_; }

    // Reads the keyboard into the working file and loads it; a failed read leaves a blank
    // working image in memory (the file is untouched). A macro area that cannot be understood
    // keeps the keymaps that were read, loads no macros and says so. Gives the active profile,
    // -1 unknown.
    int LoadFromKeyboard();
    // What the window does when the keyboard has arrived ("PROF").
    void OnKeyboardArrived();

    // Import and export through the prompter's file choices. Import refuses (and changes
    // nothing, in memory, on disk or in the keyboard) a file that is not valid or whose macros
    // do not fit the keyboard's macro space; otherwise it installs the file, saves the working
    // file and downloads all three profiles. 1 on success, 0 otherwise (also when cancelled).
    int Import();
    int ImportFile(const std::filesystem::path& path);
    int Export();
    int ExportFile(const std::filesystem::path& path);

    // Restore defaults, the key part: the current profile's key records and the records of the
    // active G-key bank return to their defaults in the working data, which is then unsaved.
    void RestoreDefaultRecords(GKeyBank gBank);

    // Rebuilds the profile menu from the active profile and shows its caption and tooltip.
    ProfileMenu RebuildProfileMenu();

    // The profile manager registers itself while it is open.
    void SetOpenManager(ProfileManagerModel* manager) { manager_ = manager; }

    const ProfileEnvironment& Environment() const { return env_; }

    // Told after each report of a download or read-back.
    void SetTransferProgress(TransferProgress progress) { progress_ = std::move(progress); }

private:
    void DiscardEdits();
    // Journal, optional working-file save, download, journal removed once the keyboard holds it
    // all. Shows the failure. *saved gets SaveWorkingFile's result when asked to save.
    int JournaledDownload(DownloadScope scope, int* saved);
    void ShowDownloadFailure(const DownloadOutcome& outcome);

    ProfileEnvironment env_;
    int currentProfile_ = 0;
    bool asking_ = false;
    ProfileManagerModel* manager_ = nullptr;
    DownloadOutcome lastDownload_;
    TransferProgress progress_;
};

} // namespace kovantis
