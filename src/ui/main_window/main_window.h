#pragma once
// CKovantisDlg: the main window. A skinned picture of the keyboard with the profile buttons,
// Apply, OK and Cancel, the small window buttons and menus; hidden in the notification area
// most of the time. The session (session/session.h) builds the device link and every
// controller; the window draws what they decide and forwards every gesture to them. The
// keyboard is only ever talked to from jobs (ui_job.h), never from the UI thread itself.
//
// The window's code is split by concern, one file each:
//   main_window.cpp                start-up, layout, showing and hiding, quitting
//   main_window_port.h/.cpp        what the core asks of the window (the window port's side)
//   main_window_texts.cpp          language, captions and tooltips, window commands
//   main_window_gestures.cpp       the keyboard picture, restore, flip, menus, help, link
//   main_window_profiles.cpp       profile buttons, Apply/OK, import/export, profile manager
//   main_window_key_assignment.cpp the key assignment dialog's seam
//   main_window_lighting.cpp       the lighting panel (ui/lighting/) in the window
//   main_window_update.cpp         the firmware update dialog's seam
// A dialog opens through OpenEditor, so the core can close it on unplug or quit.

#include <QPointer>
#include <QUrl>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "device/device_link.h"
#include "keyboard/keyboard_view_model.h"
#include "session/open_editors.h"
#include "ui/shell/about_box.h"
#include "ui/skin/c_base_dialog.h"
#include "ui/common/ui_job.h"

class QLabel;

namespace kovantis {

class AppSettings;
class CPngButton;
class LanguageTable;
class LightingController;
class Paths;
class ProfileController;
class Prompter;
class Session;
class UnsavedChanges;
struct KeyAssignmentParts;
struct ProfileDataPair;
class Kovantis_DlgComposite;

namespace ui {
class CTrayIcon;
class KeyboardView;
class LightingPanel;
class MainWindowPort;
class ProgressPicture;
}

// What the window is built from; everything outlives the window.
struct MainWindowSetup {
    const Paths& paths;
    LanguageTable& language;
    const AppSettings& settings;
    ProfileDataPair& data;
    const DeviceFunctions& functions;
    // "/Start": the window does not open by itself when the keyboard is present at start-up.
    bool startHidden = false;
    // Tests answer the questions themselves; by default they are message boxes.
    Prompter* prompter = nullptr;
    DeviceLink::Options linkOptions{};
};

// Commands and messages other programs may send to the window.
inline constexpr int kCommandFirmwareUpdate = 32780;
inline constexpr int kMessageApply = 0x1E;

class CKovantisDlg final : public CBaseDialog {
    Q_OBJECT
public:
    explicit CKovantisDlg(const MainWindowSetup& setup, QWidget* parent = nullptr);
    ~CKovantisDlg() override;

    // Start-up: the skin pictures, the session and its device link with the first presence
    // worker, a blank working image, the skinned controls, then "INIT" is posted. False when a
    // required piece is missing (a skin picture, Init of the library): the program then ends
    // silently.
    bool Initialise();
    // Why Initialise gave false, in one line for standard error ("" when it did not).
    const std::string& StartFailure() const { return startFailure_; }

    // "OPEN" from a second instance or the tray: show the window, or say there is no keyboard.
    void Open();
    // The exit sequence up to the end of the event loop (QuitRequested).
    void Quit();
    void RunWindowCommand(int command);
    void RunWindowMessage(int message);

    // Opens help pages and the link button's address; tests replace it.
    using UrlOpener = std::function<bool(const QUrl&)>;
    void SetUrlOpener(UrlOpener opener) { openUrl_ = std::move(opener); }

    // An editor dialog opened: the core closes it with closeAsCancel on unplug and quit, and a
    // profile switch waits while it is registered. Keep the registration while it is open.
    [[nodiscard]] OpenEditors::Registration OpenEditor(std::string name, std::function<void()> closeAsCancel);

    // -- what tests, the screenshot and the dialogs look at --
    bool WindowReady() const;
    TrayIcon CurrentTrayIcon() const { return currentIcon_; }
    ui::CTrayIcon* Tray() const { return tray_.get(); }
    CPngButton* Control(std::string_view skinKey) const;
    CPngButton* KeyButton(int controlId) const;
    const KeyboardViewModel& ViewModel() const { return viewModel_; }
    // Every controller, the link and the profile data (after Initialise).
    Session& Core();
    DeviceLink& Link();
    ProfileController& Profiles();
    // Marks and tooltips of the key buttons from the working data (after an edit).
    void RefreshKeyButtons();
    // The pending-changes flag every editor sets.
    UnsavedChanges& Changes();
    ui::JobRunner& Jobs() { return jobs_; }
    ui::ProgressPicture* Progress() const { return progress_; }
    ui::LightingPanel* LightingPanel() const { return lighting_; }
    ui::AboutBoxOpener& About() { return about_; }
    Prompter& Ask();
    // The key assignment dialog, once a key has been clicked; null before.
    Kovantis_DlgComposite* KeyAssignmentDialog() const;
    QString Text(std::string_view key) const;
    std::u16string Text16(std::string_view key) const;

signals:
    // "INIT" has been handled: the window is ready and hidden.
    void Ready();
    // The exit sequence ran; the event loop may end.
    void QuitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    friend class ui::MainWindowPort;
    // What the window owns besides its widgets: the ports, the open editors, the session.
    struct Parts;

    // -- the window port's side (main_window_port.cpp) --
    void OnReloadActiveProfile();
    void OnRefreshBankKeys(int bank);
    void OnOpen();
    void OnLightingReread();
    void OnHide();
    void OnTrayIcon(TrayIcon icon);
    void OnApplyEnabled(bool enabled);
    void OnRefreshKeys();
    void OnProgress(bool running);
    void OnProfileChecked(int profile);
    void OnProfileCaption(const std::u16string& caption, const std::u16string& tooltip);

    // -- start-up, showing, quitting (main_window.cpp) --
    void HandleInit();
    std::string MissingPictureLine();
    void QuitNow();
    void LayOutControls();
    void ConnectControls();
    void HideWindow();
    // Without a taskbar entry while hidden (tool window), with one while shown.
    void SetTaskbarEntry(bool shown);

    // -- texts (main_window_texts.cpp) --
    void ApplyLanguage();
    void SwitchLanguage(int command);

    // -- drawing and gestures (main_window_gestures.cpp) --
    void ApplyFlip(bool flipped);
    void ShowBankIndicator();
    void ShowArrows();
    void RefreshKeyView();
    void RefreshGKeyView();
    void PressKey(int controlId);
    void PressRestoreDefaults();
    void PressFlip();
    void ShowMenuButtonMenu();
    void ShowAbout();
    void OpenHelp();
    void OpenLink();

    // -- profiles (main_window_profiles.cpp) --
    void PressProfileButton(int profile);
    void PressApply();
    void PressOk();
    void ImportProfiles();
    void ExportProfiles();
    void OpenProfileManager();

    // -- the key assignment dialog (main_window_key_assignment.cpp) --
    void EditKey(int controlId, const KeyEditTarget& target);

    // -- the lighting panel (main_window_lighting.cpp) --
    void BuildLightingPanel();
    // After every job that may change the lighting: the panel and the report-rate buttons.
    void ShowLighting();

    // -- the firmware update dialog (main_window_update.cpp) --
    void OpenFirmwareUpdate();

    const MainWindowSetup setup_;
    std::unique_ptr<Parts> parts_;
    // Declared after the session's parts, so it goes first: its store refers to them.
    std::unique_ptr<KeyAssignmentParts> keyAssignment_;
    ui::JobRunner jobs_;
    KeyboardViewModel viewModel_;
    ui::KeyboardView* keyboardView_ = nullptr;
    std::map<std::string, CPngButton*, std::less<>> controls_;
    QLabel* leftArrow_ = nullptr;
    QLabel* rightArrow_ = nullptr;
    ui::ProgressPicture* progress_ = nullptr;
    std::unique_ptr<ui::CTrayIcon> tray_;
    TrayIcon currentIcon_ = TrayIcon::Normal;
    ui::AboutBoxOpener about_;
    ui::LightingPanel* lighting_ = nullptr;
    bool lightingFailureShown_ = false;  // a lighting failure box is up
    std::u16string link_;
    UrlOpener openUrl_;
    bool quitting_ = false;
    std::string startFailure_;
};

} // namespace kovantis
