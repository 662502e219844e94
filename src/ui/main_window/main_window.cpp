#include "ui/main_window/main_window.h"

#include <algorithm>

#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>

#include "app/app_settings.h"
#include "app/language_table.h"
#include "lighting/lighting_view_setting.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "ports/clock.h"
#include "profiles/profile_file.h"
#include "session/session.h"
#include "skin/skin_keys.h"
#include "skin/skin_pictures.h"
#include "ui/common/qt_prompter.h"
#include "ui/lighting/lighting_panel.h"
#include "ui/main_window/keyboard_view.h"
#include "ui/main_window/main_window_controls.h"
#include "ui/main_window/main_window_key_assignment.h"
#include "ui/main_window/main_window_port.h"
#include "ui/main_window/progress_picture.h"
#include "ui/shell/tray_icon.h"
#include "ui/skin/c_png_button.h"

namespace kovantis {
namespace {

CaptionStyle ButtonCaptionStyle()
{
    CaptionStyle style;
    style.points = 9;
    style.red = style.green = style.blue = 255;
    return style;
}

LightingSkinTexts SkinTextsOf(const CBaseDialog& window)
{
    return LightingSkinTexts(IniDocument::Load(window.Skin().Path()).value_or(IniDocument()));
}

} // namespace

struct CKovantisDlg::Parts {
    Parts(CKovantisDlg& window, const MainWindowSetup& setup)
        : port(window),
          qtPrompter(&window),
          prompter(setup.prompter != nullptr ? *setup.prompter : qtPrompter),
          // Editors live on the UI thread; the presence worker closes them from its own.
          editors([this](OpenEditors::Action close) { port.Send(std::move(close)); }),
          viewSetting(setup.settings),
          session(SessionSetup{setup.functions, setup.paths, setup.data, viewSetting, SkinTextsOf(window),
                               setup.language.LanguageValue(), setup.linkOptions},
                  SessionPorts{port, editors, prompter, setup.language, SystemClock()})
    {
    }

    ui::MainWindowPort port;
    ui::QtPrompter qtPrompter;
    Prompter& prompter;
    OpenEditors editors;
    AppLightingViewSetting viewSetting;
    Session session;
};

CKovantisDlg::CKovantisDlg(const MainWindowSetup& setup, QWidget* parent)
    : CBaseDialog((setup.paths.SkinsFolder() / kMainSkinFile).string(), parent), setup_(setup),
      openUrl_([](const QUrl& url) { return QDesktopServices::openUrl(url); })
{
    setObjectName(QStringLiteral("CKovantisDlg"));
    jobs_.HoldInputOf(this);
}

CKovantisDlg::~CKovantisDlg()
{
    if (!parts_)
        return;
    // Other threads may be waiting for this window right now: cut them off, then stop the
    // presence worker while the queue keeps being served, so that nobody waits forever.
    parts_->port.Close();
    jobs_.Shutdown();
    ui::JobRunner::RunWhilePumping([this] { parts_->session.Stop(); });
}

bool CKovantisDlg::Initialise()
{
    // The pictures are checked before the library is started, so that a program ending here
    // leaves no worker waiting for a window that never comes.
    if (!Pictures().Require(MainWindowPictures()) || !SetUpSkinWindow()) {
        startFailure_ = MissingPictureLine();
        return false;
    }
    parts_ = std::make_unique<Parts>(*this, setup_);
    if (setup_.startHidden)
        Core().Device().SetFirstArrivalDone();
    if (const int started = Core().Start(); started <= 0) {
        startFailure_ = "the device library's Init gave " + std::to_string(started) +
                        " (no access to keyboards)";
        parts_.reset();
        return false;
    }
    // Icon 128 is the window's icon, and every dialog's.
    setWindowIcon(ui::CTrayIcon::IconFor(QString::fromStdString(setup_.paths.SkinsFolder().string()),
                                         TrayIcon::Normal));
    connect(this, &CBaseDialog::HelpRequested, this, &CKovantisDlg::OpenHelp);
    CreateBlankImage(setup_.data.working);
    LayOutControls();
    BuildLightingPanel();
    ConnectControls();
    OnApplyEnabled(false);
    link_ = Skin().Link();
    SetTaskbarEntry(false);
    setWindowTitle(Text("MAIN_CAPTION"));
    QMetaObject::invokeMethod(this, &CKovantisDlg::HandleInit, Qt::QueuedConnection);
    ApplyLanguage();
    ApplyFlip(setup_.settings.Flip());
    RefreshKeyView();
    return true;
}

void CKovantisDlg::LayOutControls()
{
    for (std::string_view key : MainImageKeys()) {
        // The lighting panel makes and owns its own (the switch and the report rate).
        if (std::ranges::find(ui::LightingPanel::ImageKeys(), key) != ui::LightingPanel::ImageKeys().end())
            continue;
        auto* button = new CPngButton(this);
        button->setObjectName(QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())));
        PlaceImageButton(*button, key, MainStateSetOf(key));
        controls_.emplace(std::string(key), button);
    }
    for (std::string_view key : main_window::kIndicatorKeys)
        Control(key)->setEnabled(false);
    for (std::string_view key : main_window::kCaptionedKeys) {
        Control(key)->SetCaptionStyle(ButtonCaptionStyle());
        Control(key)->SetCaptionShown(true);
    }
    keyboardView_ = new ui::KeyboardView(*this, viewModel_);

    leftArrow_ = new QLabel(this);
    rightArrow_ = new QLabel(this);
    PlaceControl(*leftArrow_, kLeftArrowKey);
    PlaceControl(*rightArrow_, kRightArrowKey);

    progress_ = new ui::ProgressPicture(Pictures(), this);
    PlaceControl(*progress_, "CONTROL_JDTStatic");
}

void CKovantisDlg::ConnectControls()
{
    auto on = [this](std::string_view key, auto handler) {
        connect(Control(key), &CPngButton::clicked, this, handler);
    };
    for (int p = 0; p < kProfileCount; ++p)
        on(main_window::kProfileKeys[static_cast<size_t>(p)], [this, p] { PressProfileButton(p); });
    on("CONTROL2_APPLY", [this] { PressApply(); });
    on("CONTROL_OK", [this] { PressOk(); });
    on("CONTROL_CANCEL", [this] { HideWindow(); });
    on("CONTROL_CLOSE", [this] { Quit(); });
    on("CONTROL_MINIMIZE", [this] { showMinimized(); });
    on("CONTROL_MENU", [this] { ShowMenuButtonMenu(); });
    on("CONTROL_HELP", [this] { OpenHelp(); });
    on("ZAVRIK_LINK", [this] { OpenLink(); });
    on("FUNC_DEFAULT", [this] { PressRestoreDefaults(); });
    on("FUNC_MACRO", [this] { PressKey(kMacroEditControlId); });
    on("FUNC_PROFILES", [this] { OpenProfileManager(); });
    on("FLIP_1", [this] { PressFlip(); });
    on("FLIP_2", [this] { PressFlip(); });
    connect(keyboardView_, &ui::KeyboardView::Clicked, this, &CKovantisDlg::PressKey);
}

void CKovantisDlg::HandleInit()
{
    tray_ = std::make_unique<ui::CTrayIcon>(
        QString::fromStdString(setup_.paths.SkinsFolder().string()),
        [this] { return QStringList{Text("MENU_11"), Text("MENU_22"), Text("MENU_33")}; });
    tray_->Create(Text("KEYBOARD_TRAY_DESC"));
    tray_->SetIcon(currentIcon_);
    connect(tray_.get(), &ui::CTrayIcon::OpenRequested, this, &CKovantisDlg::Open);
    connect(tray_.get(), &ui::CTrayIcon::AboutRequested, this, &CKovantisDlg::ShowAbout);
    connect(tray_.get(), &ui::CTrayIcon::ExitRequested, this, &CKovantisDlg::Quit);
    jobs_.Run([this] { Core().Profiles().RebuildProfileMenu(); });
    Core().Device().SetWindowReady(true);
    HideWindow();
    emit Ready();
}

std::string CKovantisDlg::MissingPictureLine()
{
    const std::string folder = setup_.paths.SkinsFolder().string();
    for (std::string_view name : MainWindowPictures()) {
        if (Pictures().Picture(name).isNull())
            return "the skin picture " + folder + "/" + std::string(name) + " is missing or unreadable";
    }
    return "the skin's background picture in " + folder + " is missing or unreadable";
}

bool CKovantisDlg::WindowReady() const { return parts_ && parts_->session.Device().WindowReady(); }
Session& CKovantisDlg::Core() { return parts_->session; }
DeviceLink& CKovantisDlg::Link() { return Core().Link(); }
ProfileController& CKovantisDlg::Profiles() { return Core().Profiles(); }
UnsavedChanges& CKovantisDlg::Changes() { return Core().Changes(); }
Prompter& CKovantisDlg::Ask() { return parts_->prompter; }

OpenEditors::Registration CKovantisDlg::OpenEditor(std::string name, std::function<void()> closeAsCancel)
{
    return parts_->editors.Open(std::move(name), std::move(closeAsCancel));
}

CPngButton* CKovantisDlg::Control(std::string_view skinKey) const
{
    const auto found = controls_.find(skinKey);
    if (found != controls_.end())
        return found->second;
    return lighting_ != nullptr ? qobject_cast<CPngButton*>(lighting_->Control(skinKey)) : nullptr;
}

CPngButton* CKovantisDlg::KeyButton(int controlId) const { return keyboardView_->ButtonOf(controlId); }

// -- showing and hiding --

void CKovantisDlg::SetTaskbarEntry(bool shown)
{
    const Qt::WindowFlags type = shown ? Qt::Window : Qt::Tool;
    if ((windowFlags() & Qt::WindowType_Mask) == type)
        return;
    setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | type | Qt::FramelessWindowHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowSystemMenuHint);
}

void CKovantisDlg::Open()
{
    if (!parts_ || quitting_)
        return;
    if (!Core().Device().Present()) {
        Ask().ShowMessage(Text16("MAIN_NO_DEVICE_PROMPT"));
        return;
    }
    SetTaskbarEntry(true);
    showNormal();
    raise();
    activateWindow();
}

void CKovantisDlg::HideWindow()
{
    hide();
    SetTaskbarEntry(false);
}

void CKovantisDlg::closeEvent(QCloseEvent* event)
{
    // Closing the window (Alt+F4, the window manager) only hides it; Close and Exit quit.
    event->ignore();
    HideWindow();
}

// -- quitting --

void CKovantisDlg::Quit()
{
    if (!parts_ || quitting_)
        return;
    // A running download finishes first. Key assignments and macros not applied yet are not
    // dropped without a word: the user is asked whether to apply them (No preselected).
    jobs_.WhenIdle([this] {
        if (quitting_)
            return;
        if (!Core().Changes().Pending()) {
            QuitNow();
            return;
        }
        auto mayQuit = std::make_shared<bool>(false);
        jobs_.Run([this, mayQuit] { *mayQuit = Core().Profiles().ConfirmQuit(); });
        jobs_.WhenIdle([this, mayQuit] {
            if (*mayQuit)
                QuitNow();
        });
    });
}

void CKovantisDlg::QuitNow()
{
    if (quitting_)
        return;
    quitting_ = true;
    HideWindow();
    if (tray_)
        tray_->Remove();
    Core().Quit();
    emit QuitRequested();
}

} // namespace kovantis
