#pragma once
// CKovantisDlg: the main window. A skinned picture of the keyboard with the profile buttons,
// Apply, OK and Cancel, the small window buttons and menus; hidden in the notification area
// most of the time. It builds the device link and the feature controllers in start-up order,
// draws what they decide and forwards every gesture to them; the keyboard is only ever talked
// to from jobs (ui_job.h), never from the UI thread itself.

#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "device/device_link.h"
#include "keyboard/key_names.h"
#include "keyboard/keyboard_view_model.h"
#include "ui/shell/about_box.h"
#include "ui/common/qt_window_port.h"
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
class UnsavedChanges;
struct ProfileDataPair;

namespace ui {
class CTrayIcon;
class KeyboardView;
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

class CKovantisDlg final : public CBaseDialog, private ui::WindowPortTarget {
    Q_OBJECT
public:
    explicit CKovantisDlg(const MainWindowSetup& setup, QWidget* parent = nullptr);
    ~CKovantisDlg() override;

    // Start-up: the skin pictures, the device link and its first presence worker, a blank
    // working image, the skinned controls, then "INIT" is posted. False when a required piece
    // is missing (a skin picture, Init of the library): the program then ends silently.
    bool Initialise();

    // "OPEN" from a second instance or the tray: show the window, or say there is no keyboard.
    void Open();
    // The exit sequence up to the end of the event loop (QuitRequested).
    void Quit();
    void RunWindowCommand(int command);
    void RunWindowMessage(int message);

    // Opens help pages and the link button's address; tests replace it.
    using UrlOpener = std::function<bool(const QUrl&)>;
    void SetUrlOpener(UrlOpener opener) { openUrl_ = std::move(opener); }

    // -- what tests and the screenshot look at --
    bool WindowReady() const;
    TrayIcon CurrentTrayIcon() const { return currentIcon_; }
    CPngButton* Control(std::string_view skinKey) const;
    CPngButton* KeyButton(int controlId) const;
    const KeyboardViewModel& ViewModel() const { return viewModel_; }
    DeviceLink& Link();
    ProfileController& Profiles();
    // Marks and tooltips of the key buttons from the working data (after an edit).
    void RefreshKeyButtons();
    // The pending-changes flag every editor sets.
    UnsavedChanges& Changes();
    ui::JobRunner& Jobs() { return jobs_; }
    ui::ProgressPicture* Progress() const { return progress_; }
    ui::AboutBoxOpener& About() { return about_; }

signals:
    // "INIT" has been handled: the window is ready and hidden.
    void Ready();
    // The exit sequence ran; the event loop may end.
    void QuitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct Core;

    // The window port's side.
    void OnReloadActiveProfile() override;
    void OnCloseEditors() override;
    void OnRefreshBankKeys(int bank) override;
    void OnOpen() override;
    void OnLightingReread() override;
    void OnHide() override;
    void OnTrayIcon(TrayIcon icon) override;
    void OnApplyEnabled(bool enabled) override;
    void OnRefreshKeys() override;
    void OnProgress(bool running) override;
    void OnProfileChecked(int profile) override;
    void OnProfileCaption(const std::u16string& caption, const std::u16string& tooltip) override;

    void HandleInit();
    void QuitNow();
    void LayOutControls();
    void ConnectControls();
    void ApplyLanguage();
    void ApplyFlip(bool flipped);
    void ShowBankIndicator();
    void ShowArrows();
    void ShowReportRate();
    void RefreshKeyView();
    void RefreshGKeyView();
    void HideWindow();
    // Without a taskbar entry while hidden (tool window), with one while shown.
    void SetTaskbarEntry(bool shown);
    void UpdatePreviewTimer();

    // Gestures.
    void PressKey(int controlId);
    void PressProfileButton(int profile);
    void PressApply();
    void PressOk();
    void PressRestoreDefaults();
    void PressFlip();
    void PressReportRate(int index);
    void ShowMenuButtonMenu();
    void ShowAbout();
    void OpenHelp();
    void OpenLink();
    void ImportProfiles();
    void ExportProfiles();

    QString Text(std::string_view key) const;
    std::u16string Text16(std::string_view key) const;

    const MainWindowSetup setup_;
    std::unique_ptr<Core> core_;
    ui::JobRunner jobs_;
    KeyboardViewModel viewModel_;
    KeyNames keyNames_;
    ui::KeyboardView* keyboardView_ = nullptr;
    std::map<std::string, CPngButton*, std::less<>> controls_;
    QLabel* leftArrow_ = nullptr;
    QLabel* rightArrow_ = nullptr;
    ui::ProgressPicture* progress_ = nullptr;
    std::unique_ptr<ui::CTrayIcon> tray_;
    TrayIcon currentIcon_ = TrayIcon::Normal;
    ui::AboutBoxOpener about_;
    QTimer previewTimer_;
    std::u16string link_;
    UrlOpener openUrl_;
    bool quitting_ = false;
};

} // namespace kovantis
