#pragma once
// The composition root: everything the program needs to work the keyboard, built once, in
// start-up order, and owned here: the device link (request channel, command set, device state,
// presence), the pending-changes flag, the user modes, the lighting and profile controllers and
// the firmware update procedure, wired to each other and to the ports. The desktop program's
// main window and kovantis-cli both start from it; neither builds a controller of its own.
//
// Threads: Start and Stop belong to the thread that owns the session. The controllers are not
// thread-safe; the desktop program runs their keyboard work as jobs on one worker thread, one at
// a time, and reads their state on the UI thread only while no job runs (ui/common/ui_job.h).
// The link's own threads reach the outside only through the ports.

#include <memory>

#include "device/device_link.h"
#include "keyboard/key_names.h"
#include "keyboard/keyboard_view_model.h"
#include "lighting/lighting_controller.h"
#include "lighting/lighting_hooks_adapter.h"
#include "lighting/user_mode_store.h"
#include "lighting/user_modes.h"
#include "platform/paths.h"
#include "ports/editor_registry.h"
#include "ports/process_starter.h"
#include "ports/prompter.h"
#include "ports/text_source.h"
#include "ports/window_port.h"
#include "profiles/profile_controller.h"
#include "profiles/profile_data.h"
#include "profiles/unsaved_changes.h"
#include "update/firmware_update.h"

namespace kovantis {

class Clock;

// What the session is built from; everything outlives the session.
struct SessionSetup {
    // Complete (DeviceFunctions::Complete).
    const DeviceFunctions& functions;
    const Paths& paths;
    // The working copy and the download snapshot.
    ProfileDataPair& data;
    // Where the lamp of the lighting panel is kept.
    LightingViewSetting& lightingView;
    // The main skin's effect names and labels.
    LightingSkinTexts skinTexts;
    // The language value that picks the skin's names (LanguageTable::LanguageValue).
    int language = 0;
    DeviceLink::Options linkOptions{};
};

struct SessionPorts {
    WindowPort& window;
    EditorRegistry& editors;
    Prompter& prompter;
    const TextSource& texts;
    Clock& clock;
    // The firmware updater's starter; null: posix_spawn.
    ProcessStarter* processes = nullptr;
};

class Session {
public:
    Session(const SessionSetup& setup, const SessionPorts& ports);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Starts the device link: Init of the library, the registrations, the first presence
    // worker. The result of Init when it is 0 or less (the library is unusable), otherwise 1.
    int Start();
    // Stops the presence worker and removes the registrations.
    void Stop();

    DeviceLink& Link() { return link_; }
    CommandSet& Commands() { return link_.Commands(); }
    DeviceState& Device() { return link_.State(); }
    UnsavedChanges& Changes() { return changes_; }
    UserModes& Modes() { return userModes_; }
    LightingController& Lighting() { return lighting_; }
    ProfileController& Profiles() { return profiles_; }
    FirmwareUpdate& Update() { return update_; }
    EditorRegistry& Editors() { return ports_.editors; }
    WindowPort& Window() { return ports_.window; }
    ProfileDataPair& Data() { return data_; }
    Prompter& Ask() { return ports_.prompter; }
    const TextSource& Texts() const { return ports_.texts; }
    const KeyNames& Names() const { return keyNames_; }

    // The language changed: key names and the lighting panel's skin texts follow it.
    void LanguageChanged(int language);

    // Restore defaults, the part without the keyboard: asks first (No keeps everything), then
    // the current profile's key records and the active G-key bank's return to their defaults.
    // False when the user said No.
    bool RestoreDefaultRecords(GKeyBank gBank);
    // Restore defaults, the keyboard's part (a job): the lighting's defaults while the lighting
    // view is on, then Apply.
    void RestoreKeyboardDefaults();

    // Marks and tooltips of the keyboard view from the working data's current profile.
    // gBankOnly: only the G buttons (after a bank change).
    void DescribeKeys(KeyboardViewModel& view, bool gBankOnly);

    // Quit: every editor closes as its Cancel button does, then both profile data containers
    // are emptied under their locks.
    void Quit();

private:
    ProfileDataPair& data_;
    SessionPorts ports_;
    std::unique_ptr<ProcessStarter> ownStarter_;
    DeviceLink link_;
    UnsavedChanges changes_;
    UserModeStore modeStore_;
    UserModes userModes_;
    LightingController lighting_;
    PanelLightingHooks lightingHooks_;
    ProfileController profiles_;
    FirmwareUpdate update_;
    KeyNames keyNames_;
};

} // namespace kovantis
