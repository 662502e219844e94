#include "main_window_fixture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QThread>

#include <cstdlib>

#include "profiles/unsaved_changes.h"
#include "support/vkbd_link.h"
#include "ui/skin/c_png_button.h"

namespace kovantis::testing {
namespace {

QApplication& Application()
{
    static int argc = 1;
    static char name[] = "main_window_ui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *application;
}

} // namespace

std::unique_ptr<VkbdProcess> MainWindowTest::keyboard_;
std::unique_ptr<DeviceFunctions> MainWindowTest::functions_;

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

void MainWindowTest::SetUpTestSuite()
{
    Application();
    if (keyboard_)
        return;
    keyboard_ = std::make_unique<VkbdProcess>();
    unsetenv("KOVANTIS_USB_ID");
    std::string error;
    if (auto functions = LoadLibraryFor(*keyboard_, error))
        functions_ = std::make_unique<DeviceFunctions>(*functions);
    else
        ADD_FAILURE() << error;
}

void MainWindowTest::SetUp()
{
    ASSERT_TRUE(keyboard_ && keyboard_->Running());
    ASSERT_TRUE(functions_);
    ASSERT_EQ(Keyboard().Control("reset").substr(0, 2), "ok");
    Keyboard().Control("plug");
    userRoot_ = std::filesystem::path(keyboard_->Folder()) /
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::filesystem::remove_all(userRoot_);
    std::filesystem::create_directories(userRoot_ / "home");
    paths_.emplace(PathRoots{BinDir(), userRoot_ / "home", userRoot_ / "config", userRoot_ / "data"});
    language_.emplace(*paths_);
    language_->Load();
    store_.emplace(paths_->SettingsStoreFile());
    settings_.emplace(*paths_, *store_, *language_);
    data_ = std::make_unique<ProfileDataPair>();
}

void MainWindowTest::TearDown()
{
    window_.reset();
    Keyboard().Control("latency 0");
}

void MainWindowTest::StartWindow(bool startHidden)
{
    MainWindowSetup setup{*paths_, *language_, *settings_, *data_, *functions_, startHidden, &prompter_};
    window_ = std::make_unique<CKovantisDlg>(setup);
    window_->SetUrlOpener([](const QUrl&) { return true; });
    ASSERT_TRUE(window_->Initialise());
    ASSERT_TRUE(WaitUntil([this] { return window_->WindowReady(); }));
    if (Keyboard().Control("info").find("plugged=yes") != std::string::npos) {
        ASSERT_TRUE(WaitUntil([this] { return window_->Link().State().Present(); }));
    }
    ASSERT_TRUE(WaitUntil([this] { return !window_->Jobs().Busy(); }));
}

void MainWindowTest::Edit(int bank, int record, const KeyAssignment& value)
{
    {
        ProfileData::Lock lock(data_->working);
        lock->image.Bank(bank)[static_cast<size_t>(record)] = value;
    }
    window_->Changes().MarkChanged();
    window_->RefreshKeyButtons();
    WaitUntil([this] { return !window_->Jobs().Busy(); }, std::chrono::seconds(1));
    WaitUntil([this] { return ApplyEnabled(); }, std::chrono::seconds(1));
}

KeyAssignment MainWindowTest::Record(int bank, int record)
{
    ProfileData::Lock lock(data_->working);
    return lock->image.Bank(bank)[static_cast<size_t>(record)];
}

void MainWindowTest::Click(std::string_view skinKey)
{
    CPngButton* button = window_->Control(skinKey);
    ASSERT_NE(button, nullptr) << skinKey;
    button->click();
    ASSERT_TRUE(WaitUntil([this] { return !window_->Jobs().Busy(); }));
}

bool MainWindowTest::ApplyEnabled() { return window_->Control("CONTROL2_APPLY")->isEnabled(); }

} // namespace kovantis::testing
