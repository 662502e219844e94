#include "main_window_fixture.h"

#include "profiles/unsaved_changes.h"
#include "ui/skin/c_png_button.h"

namespace kovantis::testing {

void MainWindowTest::SetUpTestSuite()
{
    OffscreenApplication();
    ASSERT_EQ(SharedKeyboard::Get().Error(), "");
}

void MainWindowTest::SetUp()
{
    ASSERT_TRUE(SharedKeyboard::Get().ResetForTest());
    userRoot_ = SharedKeyboard::Get().TestFolder();
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
    MainWindowSetup setup{*paths_, *language_, *settings_, *data_, Library(), startHidden, &prompter_};
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
