#include "ui/main_window/main_window.h"

#include <QCloseEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QtGlobal>

#include "app/app_settings.h"
#include "app/language_table.h"
#include "lighting/lighting_controller.h"
#include "lighting/lighting_hooks_adapter.h"
#include "lighting/lighting_view_setting.h"
#include "lighting/user_mode_store.h"
#include "lighting/user_modes.h"
#include "profiles/macro_list.h"
#include "profiles/profile_data.h"
#include "profiles/unsaved_changes.h"
#include "platform/paths.h"
#include "ports/clock.h"
#include "profiles/profile_controller.h"
#include "profiles/profile_file.h"
#include "skin/skin_keys.h"
#include "skin/skin_pictures.h"
#include "ui/main_window/keyboard_view.h"
#include "ui/main_window/progress_picture.h"
#include "ui/common/qt_prompter.h"
#include "ui/common/qt_text.h"
#include "ui/skin/c_png_button.h"
#include "ui/shell/tray_icon.h"

namespace kovantis {
namespace {

constexpr std::array<std::string_view, kProfileCount> kProfileKeys{"FUNC_PROFILE1", "FUNC_PROFILE2",
                                                                  "FUNC_PROFILE3"};
constexpr std::array<std::string_view, 4> kReportRateKeys{"FUNC_REPORT1", "FUNC_REPORT2", "FUNC_REPORT3",
                                                          "FUNC_REPORT4"};
// Pictures that only show what they show; they never take a click.
constexpr std::array<std::string_view, 6> kIndicatorKeys{"LOCK_CAPS", "LOCK_NUM", "LOCK_SCROLL",
                                                         "LOCK_AB",   "FLIP_0",   "ZAVRIK_VER"};
// Buttons whose caption the language file gives (key of the button, key of its text).
constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kCaptionTexts{{
    {"FUNC_PROFILE1", "PROFILE_1"},
    {"FUNC_PROFILE2", "PROFILE_2"},
    {"FUNC_PROFILE3", "PROFILE_3"},
    {"FUNC_MACRO", "PROFILE_MACRO"},
    {"CONTROL_OK", "PROFILE_OK"},
    {"CONTROL_CANCEL", "PROFILE_CANCLE"},
    {"CONTROL2_APPLY", "PROFILE_APPLY"},
}};
// The restore button carries a picture of its own, so its text is its tooltip.
constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kTooltipTexts{{
    {"FUNC_DEFAULT", "PROFILE_DEFAULT"},
    {"CONTROL_HELP", "MAIN_HELP_PROMPT"},
    {"CONTROL_MINIMIZE", "MAIN_MINIMIZE_PROMPT"},
    {"CONTROL_MENU", "MAIN_MENU_PROMPT"},
    {"CONTROL_CLOSE", "MAIN_CLOSE_PROMPT"},
}};

constexpr int kPreviewFirstTickMs = 100;
constexpr int kPreviewTickMs = 50;

CaptionStyle ButtonCaptionStyle()
{
    CaptionStyle style;
    style.points = 9;
    style.red = style.green = style.blue = 255;
    return style;
}

// The link button hands only web pages to the desktop, whatever a skin file says.
bool IsWebUrl(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

} // namespace

struct CKovantisDlg::Core {
    Core(CKovantisDlg& window, const MainWindowSetup& setup)
        : port(&window, window),
          qtPrompter(&window),
          prompter(setup.prompter != nullptr ? *setup.prompter : qtPrompter),
          link(setup.functions, port, prompter, setup.language, SystemClock(), setup.linkOptions),
          changes(port),
          modeStore(setup.paths),
          userModes(link.Commands(), modeStore),
          viewSetting(setup.settings),
          lighting(link.Commands(), userModes, viewSetting, SystemClock(),
                   LightingSkinTexts(IniDocument::Load(window.Skin().Path()).value_or(IniDocument()))),
          lightingHooks(lighting),
          profiles(ProfileEnvironment{setup.data, link.Commands(), link.State(), port, prompter,
                                      setup.language, setup.paths, changes, lightingHooks})
    {
    }

    ui::QtWindowPort port;
    ui::QtPrompter qtPrompter;
    Prompter& prompter;
    DeviceLink link;
    UnsavedChanges changes;
    UserModeStore modeStore;
    UserModes userModes;
    AppLightingViewSetting viewSetting;
    LightingController lighting;
    PanelLightingHooks lightingHooks;
    ProfileController profiles;
};

CKovantisDlg::CKovantisDlg(const MainWindowSetup& setup, QWidget* parent)
    : CBaseDialog((setup.paths.SkinsFolder() / kMainSkinFile).string(), parent), setup_(setup),
      openUrl_([](const QUrl& url) { return QDesktopServices::openUrl(url); })
{
    setObjectName(QStringLiteral("CKovantisDlg"));
    jobs_.HoldInputOf(this);
    previewTimer_.setSingleShot(false);
    connect(&previewTimer_, &QTimer::timeout, this, [this] {
        previewTimer_.setInterval(kPreviewTickMs);
        if (!jobs_.Busy())
            core_->lighting.PreviewTick();
    });
}

CKovantisDlg::~CKovantisDlg()
{
    if (!core_)
        return;
    // Other threads may be waiting for this window right now: cut them off, then stop the
    // presence worker while the queue keeps being served, so that nobody waits forever.
    core_->port.Close();
    jobs_.Shutdown();
    ui::JobRunner::RunWhilePumping([this] { core_->link.Stop(); });
}

bool CKovantisDlg::Initialise()
{
    // The pictures are checked before the library is started, so that a program ending here
    // leaves no worker waiting for a window that never comes.
    if (!Pictures().Require(MainWindowPictures()) || !SetUpSkinWindow())
        return false;
    core_ = std::make_unique<Core>(*this, setup_);
    if (setup_.startHidden)
        core_->link.State().SetFirstArrivalDone();
    if (core_->link.Start() <= 0) {
        core_.reset();
        return false;
    }
    CreateBlankImage(setup_.data.working);
    keyNames_.Load(setup_.language);
    core_->lighting.SetLanguage(setup_.language.LanguageValue());
    core_->lighting.SetProfileReselector(
        [this](int profile) { return core_->profiles.SwitchProfile(profile) == 1; });
    LayOutControls();
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
        auto* button = new CPngButton(this);
        button->setObjectName(QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())));
        PlaceImageButton(*button, key, MainStateSetOf(key));
        controls_.emplace(std::string(key), button);
    }
    for (std::string_view key : kIndicatorKeys)
        Control(key)->setEnabled(false);
    for (const auto& [key, textKey] : kCaptionTexts) {
        Control(key)->SetCaptionStyle(ButtonCaptionStyle());
        Control(key)->SetCaptionShown(true);
    }
    for (std::string_view key : {std::string_view("FUNC_PROFILES"), std::string_view("ZAVRIK_VER")}) {
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
        on(kProfileKeys[static_cast<size_t>(p)], [this, p] { PressProfileButton(p); });
    for (int i = 0; i < static_cast<int>(kReportRateKeys.size()); ++i)
        on(kReportRateKeys[static_cast<size_t>(i)], [this, i] { PressReportRate(i); });
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
    jobs_.Run([this] { core_->profiles.RebuildProfileMenu(); });
    core_->link.State().SetWindowReady(true);
    HideWindow();
    emit Ready();
}

bool CKovantisDlg::WindowReady() const { return core_ && core_->link.State().WindowReady(); }
DeviceLink& CKovantisDlg::Link() { return core_->link; }
ProfileController& CKovantisDlg::Profiles() { return core_->profiles; }
UnsavedChanges& CKovantisDlg::Changes() { return core_->changes; }

CPngButton* CKovantisDlg::Control(std::string_view skinKey) const
{
    const auto found = controls_.find(skinKey);
    return found == controls_.end() ? nullptr : found->second;
}

CPngButton* CKovantisDlg::KeyButton(int controlId) const { return keyboardView_->ButtonOf(controlId); }

QString CKovantisDlg::Text(std::string_view key) const { return ui::ToQString(Text16(key)); }
std::u16string CKovantisDlg::Text16(std::string_view key) const { return setup_.language.Text(key); }

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
    if (!core_ || quitting_)
        return;
    if (!core_->link.State().Present()) {
        core_->prompter.ShowMessage(Text16("MAIN_NO_DEVICE_PROMPT"));
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

void CKovantisDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        CBaseDialog::keyPressEvent(event);
    }
}

void CKovantisDlg::showEvent(QShowEvent* event)
{
    CBaseDialog::showEvent(event);
    UpdatePreviewTimer();
}

void CKovantisDlg::hideEvent(QHideEvent* event)
{
    CBaseDialog::hideEvent(event);
    UpdatePreviewTimer();
}

void CKovantisDlg::UpdatePreviewTimer()
{
    // A hidden window, or one showing the function view, has no timer running at all.
    if (core_ && core_->lighting.PreviewShouldRun(isVisible())) {
        if (!previewTimer_.isActive())
            previewTimer_.start(kPreviewFirstTickMs);
    } else {
        previewTimer_.stop();
    }
}

void CKovantisDlg::Quit()
{
    if (!core_ || quitting_)
        return;
    // A running download finishes first.
    jobs_.WhenIdle([this] { QuitNow(); });
}

void CKovantisDlg::QuitNow()
{
    if (quitting_)
        return;
    quitting_ = true;
    HideWindow();
    OnCloseEditors();
    if (tray_)
        tray_->Remove();
    for (ProfileData* data : {&setup_.data.working, &setup_.data.snapshot}) {
        ProfileData::Lock lock(*data);
        lock.Replace(NewProfileContents());
    }
    emit QuitRequested();
}

// -- the window port --

void CKovantisDlg::OnReloadActiveProfile()
{
    jobs_.Run([this] { core_->profiles.OnKeyboardArrived(); });
    jobs_.WhenIdle([this] { ShowReportRate(); });
}

void CKovantisDlg::OnCloseEditors()
{
    // The key assignment dialog and the profile manager register here once they exist.
    core_->port.SetEditorOpen(false);
}

void CKovantisDlg::OnRefreshBankKeys(int bank)
{
    viewModel_.SetBank(bank == 0 ? GKeyBank::A : GKeyBank::B);
    ShowBankIndicator();
    keyboardView_->Show();
    jobs_.WhenIdle([this] { RefreshGKeyView(); });
}

void CKovantisDlg::OnOpen()
{
    // After the profile the keyboard's arrival is loading.
    jobs_.WhenIdle([this] { Open(); });
}

void CKovantisDlg::OnLightingReread()
{
    jobs_.Run([this] { core_->lighting.Reread(); });
    jobs_.WhenIdle([this] { ShowReportRate(); });
}

void CKovantisDlg::OnHide() { HideWindow(); }

void CKovantisDlg::OnTrayIcon(TrayIcon icon)
{
    if (icon == currentIcon_)
        return;
    currentIcon_ = icon;
    if (tray_)
        tray_->SetIcon(icon);
}

void CKovantisDlg::OnApplyEnabled(bool enabled) { Control("CONTROL2_APPLY")->setEnabled(enabled); }

void CKovantisDlg::OnRefreshKeys() { RefreshKeyButtons(); }

void CKovantisDlg::RefreshKeyButtons()
{
    jobs_.WhenIdle([this] { RefreshKeyView(); });
}

void CKovantisDlg::OnProgress(bool running)
{
    if (running)
        progress_->Start();
    else
        progress_->Stop();
}

void CKovantisDlg::OnProfileChecked(int profile)
{
    for (int p = 0; p < kProfileCount; ++p)
        Control(kProfileKeys[static_cast<size_t>(p)])->SetOn(p == profile);
}

void CKovantisDlg::OnProfileCaption(const std::u16string& caption, const std::u16string& tooltip)
{
    CPngButton* button = Control("FUNC_PROFILES");
    button->setText(ui::ToQString(caption));
    button->SetTipText(ui::ToQString(tooltip));
}

// -- drawing what the models say --

void CKovantisDlg::RefreshKeyView()
{
    {
        ProfileData::Lock lock(setup_.data.working);
        const MacroNameLookup macroName = [this](uint32_t id) { return MacroNameOf(setup_.data.working, id); };
        viewModel_.RefreshKeyButtons(lock->image.Bank(core_->profiles.CurrentProfile()), viewModel_.Bank(),
                                     {keyNames_, setup_.language, macroName});
    }
    keyboardView_->Show();
}

void CKovantisDlg::RefreshGKeyView()
{
    {
        ProfileData::Lock lock(setup_.data.working);
        const MacroNameLookup macroName = [this](uint32_t id) { return MacroNameOf(setup_.data.working, id); };
        viewModel_.RefreshGBankMarks(lock->image.Bank(core_->profiles.CurrentProfile()), viewModel_.Bank(),
                                     {keyNames_, setup_.language, macroName});
    }
    keyboardView_->Show();
}

void CKovantisDlg::ShowBankIndicator()
{
    const bool bankB = viewModel_.IndicatorLook() == BankIndicatorLook::BankB;
    Control("LOCK_AB")->SetPictures(Pictures().Set(bankB ? kMainBankBIndicatorSet : kMainIndicatorSet));
}

void CKovantisDlg::ApplyFlip(bool flipped)
{
    viewModel_.SetFlip(flipped);
    keyboardView_->Show();
    ShowArrows();
}

void CKovantisDlg::ShowArrows()
{
    const QPixmap arrows = Pictures().Picture(kArrowPicture);
    const bool up = viewModel_.ArrowsPointUp();
    for (auto [label, left] : {std::pair{leftArrow_, true}, std::pair{rightArrow_, false}}) {
        const SkinRect origin = Skin().PictureOrigin(ArrowOriginKey(up, left, 1));
        label->setPixmap(arrows.copy(origin.x - 1, origin.y - 1, label->width(), label->height()));
    }
}

void CKovantisDlg::ShowReportRate()
{
    const int rate = core_->lighting.Look().reportRate;
    for (int i = 0; i < static_cast<int>(kReportRateKeys.size()); ++i)
        Control(kReportRateKeys[static_cast<size_t>(i)])->SetOn(i == rate);
}

void CKovantisDlg::ApplyLanguage()
{
    for (const auto& [key, textKey] : kCaptionTexts)
        Control(key)->setText(Text(textKey));
    for (const auto& [key, textKey] : kTooltipTexts)
        Control(key)->SetTipText(Text(textKey));
    Control("ZAVRIK_VER")->setText(Text("MAIN_BUTTON_ZAVRIK_VER"));
    if (tray_)
        tray_->SetTooltip(Text("KEYBOARD_TRAY_DESC"));
}

// -- gestures --

void CKovantisDlg::PressKey(int controlId)
{
    if (core_->lighting.State().lightingView && KeyboardViewModel::ClickPaintsInLightingView(controlId)) {
        jobs_.Run([this, controlId] { core_->lighting.ClickKeyPicture(controlId); });
        return;
    }
    if (!viewModel_.BeginEditing(controlId))
        return;
    keyboardView_->Show();
    // The key assignment dialog opens here, modally, for the target record.
    viewModel_.EndEditing(controlId);
    keyboardView_->Show();
}

void CKovantisDlg::PressProfileButton(int profile)
{
    jobs_.Run([this, profile] { core_->profiles.PressProfileButton(profile); });
    jobs_.WhenIdle([this] {
        ShowReportRate();
        UpdatePreviewTimer();
    });
}

void CKovantisDlg::PressApply()
{
    jobs_.Run([this] { core_->profiles.Apply(); });
}

void CKovantisDlg::PressOk()
{
    PressApply();
    jobs_.WhenIdle([this] { HideWindow(); });
}

void CKovantisDlg::PressRestoreDefaults()
{
    if (!core_->prompter.AskYesNo(Text16("MAIN_PROMPT_DEFAULT")))
        return;
    {
        ProfileData::Lock lock(setup_.data.working);
        KeyboardViewModel::RestoreDefaultRecords(lock->image.Bank(core_->profiles.CurrentProfile()),
                                                 viewModel_.Bank());
    }
    RefreshKeyView();
    core_->changes.MarkChanged();
    jobs_.Run([this] {
        if (core_->lighting.State().lightingView)
            core_->lighting.RestoreLightingDefaults();
        core_->profiles.Apply();
    });
}

void CKovantisDlg::PressFlip()
{
    const bool flipped = !setup_.settings.Flip();
    setup_.settings.SetFlip(flipped);
    ApplyFlip(setup_.settings.Flip());
}

void CKovantisDlg::PressReportRate(int index)
{
    jobs_.Run([this, index] { core_->lighting.PressReportRate(index); });
    jobs_.WhenIdle([this] { ShowReportRate(); });
}

void CKovantisDlg::ShowMenuButtonMenu()
{
    QMenu menu(this);
    menu.addAction(Text("MENU_1"), this, &CKovantisDlg::ImportProfiles);
    menu.addAction(Text("MENU_2"), this, &CKovantisDlg::ExportProfiles);
    menu.addAction(Text("MENU_3"), this, &CKovantisDlg::ShowAbout);
    menu.addAction(Text("MENU_4"), this, &CKovantisDlg::Quit);
    menu.exec(QCursor::pos());
}

void CKovantisDlg::ImportProfiles()
{
    jobs_.Run([this] { core_->profiles.Import(); });
}

void CKovantisDlg::ExportProfiles()
{
    jobs_.Run([this] { core_->profiles.Export(); });
}

void CKovantisDlg::ShowAbout()
{
    about_.Open(Text("GUANYU_JIESHAO"), Text("GUANYU_BANQUAN"), this);
}

void CKovantisDlg::OpenHelp()
{
    openUrl_(QUrl::fromLocalFile(QString::fromStdString(setup_.paths.HelpIndex().string())));
}

void CKovantisDlg::OpenLink()
{
    const QUrl url(ui::ToQString(link_));
    if (IsWebUrl(url))
        openUrl_(url);
}

void CKovantisDlg::RunWindowCommand(int command)
{
    if (command == kCommandLanguageChinese || command == kCommandLanguageEnglish) {
        setup_.language.RunLanguageCommand(command);
        keyNames_.Load(setup_.language);
        ApplyLanguage();
        setWindowTitle(Text("MAIN_CAPTION"));
        core_->lighting.SetLanguage(setup_.language.LanguageValue());
        jobs_.Run([this] {
            core_->lighting.Reread();
            core_->profiles.RebuildProfileMenu();
        });
        jobs_.WhenIdle([this] {
            RefreshKeyView();
            update();
        });
    } else if (command == kCommandFirmwareUpdate) {
        qInfo("kovantis: the firmware update dialog is not available in this version");
    }
}

void CKovantisDlg::RunWindowMessage(int message)
{
    if (message == kMessageApply)
        PressApply();
}

} // namespace kovantis
