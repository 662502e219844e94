#pragma once
// What the core asks of the main window. The desktop program implements it with Qt, marshalling
// every call to the UI thread: "sent" calls block until the window has handled them, "posted"
// calls return at once. Tests implement it with a fake that records the calls.
//
// Every method has an empty default so that a feature can add what it needs without breaking
// the other implementations; a fake overrides only what its test looks at. A new request costs
// one method here and one line in the window's port (ui/main_window/main_window_port.h).
// Open editors are not the window's business: see editor_registry.h.

#include <cstdint>
#include <string>

namespace kovantis {

// Icons of the notification area.
enum class TrayIcon : int {
    Normal = 128,   // no keyboard
    Present = 141,  // keyboard present
    Activity = 142, // keyboard busy playing a macro
};

class WindowPort {
public:
    virtual ~WindowPort() = default;

    // -- sent: the caller waits until the window has handled it --

    // "PROF": the keyboard arrived; load the active profile, update the profile buttons,
    // re-read the lighting and refresh the view.
    virtual void ReloadActiveProfile() {}
    // "LED": the G-key bank changed; relabel and re-mark the nine bank keys. bank 0 = A, 1 = B.
    virtual void RefreshBankKeys(int bank) { (void)bank; }

    // -- posted: the caller does not wait --

    // "OPEN": show the window (or say that no keyboard is present).
    virtual void PostOpen() {}
    // The keyboard changed its own settings (event 0x0401): re-read the lighting on the UI
    // thread once.
    virtual void PostLightingReread() {}
    // The keyboard went away: hide the window.
    virtual void PostHide() {}
    // Show this icon in the notification area.
    virtual void PostTrayIcon(TrayIcon icon) { (void)icon; }
    // Enable or disable the Apply button (the unsaved state of the main window).
    virtual void PostApplyEnabled(bool enabled) { (void)enabled; }
    // Repaint the key captions and marks of the keyboard view from the working data.
    virtual void PostRefreshKeys() {}
    // Start or stop the progress animation of a long download.
    virtual void PostProgress(bool running) { (void)running; }

    // -- profiles --

    // Check the button of on-board profile 0..2, uncheck the other two.
    virtual void PostProfileChecked(int profile) { (void)profile; }
    // The caption of the profile manager's button and its tooltip.
    virtual void PostProfileCaption(const std::u16string& caption, const std::u16string& tooltip)
    {
        (void)caption;
        (void)tooltip;
    }
};

} // namespace kovantis
