// The main window's life with the keyboard: start-up, arrival and removal, the profile buttons,
// Apply, OK, Cancel, restore defaults, the G-key bank and the flip.
#include "main_window_fixture.h"

#include <QEvent>
#include <QTimer>

#include "keyboard/bank.h"
#include "keyboard/key_code.h"
#include "keyboard/physical_layout.h"
#include "profiles/profile_controller.h"
#include "support/vkbd_link.h"
#include "ui/main_window/progress_picture.h"
#include "ui/skin/c_png_button.h"

using namespace std::chrono_literals;

namespace kovantis::testing {
namespace {

constexpr KeyCode kKeyA = 0x01E;
constexpr int kActiveProfileByte = 10;
const KeyAssignment kDisabled = MakeAssignment(AssignmentKind::Disabled);

int KeyAControl() { return PhysicalKeyOfCode(kKeyA)->controlId; }

// Remembers what the window looked like the moment it was shown.
class ShowWatcher : public QObject {
public:
    explicit ShowWatcher(CKovantisDlg& window) : window_(window) { window.installEventFilter(this); }
    bool shown = false;
    bool profileCheckedWhenShown = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show && !shown) {
            shown = true;
            profileCheckedWhenShown = window_.Control("FUNC_PROFILE1")->IsOn();
        }
        return false;
    }

private:
    CKovantisDlg& window_;
};

TEST_F(MainWindowTest, StartUpWithTheKeyboardShowsTheWindowOnceTheProfileIsLoaded)
{
    StartWindow();
    ASSERT_TRUE(WaitUntil([this] { return Window().isVisible(); }));
    EXPECT_EQ(Window().CurrentTrayIcon(), TrayIcon::Present);
    EXPECT_TRUE(Window().Control("FUNC_PROFILE1")->IsOn());
    EXPECT_FALSE(Window().Control("FUNC_PROFILE2")->IsOn());
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_EQ(Window().windowTitle(), QStringLiteral("Gaming Keyboard Settings"));
    EXPECT_FALSE(Window().Control("FUNC_PROFILES")->text().isEmpty()) << "profile menu caption";
    EXPECT_TRUE(Window().Control("FUNC_PROFILES")->TipText().endsWith(Window().Control("FUNC_PROFILES")->text()));
}

TEST_F(MainWindowTest, ShowsTheWindowOnlyAfterTheArrivalWasHandled)
{
    MainWindowSetup setup{*paths_, *language_, *settings_, *data_, Library(), false, &prompter_};
    window_ = std::make_unique<CKovantisDlg>(setup);
    ShowWatcher watcher(*window_);
    ASSERT_TRUE(window_->Initialise());
    ASSERT_TRUE(WaitUntil([&] { return watcher.shown; }));
    EXPECT_TRUE(watcher.profileCheckedWhenShown);
}

TEST_F(MainWindowTest, StartHiddenKeepsTheWindowInTheTray)
{
    StartWindow(/*startHidden=*/true);
    WaitUntil([this] { return Window().CurrentTrayIcon() == TrayIcon::Present; });
    EXPECT_EQ(Window().CurrentTrayIcon(), TrayIcon::Present);
    EXPECT_FALSE(Window().isVisible());
    Window().Open();
    EXPECT_TRUE(Window().isVisible());
}

TEST_F(MainWindowTest, WithoutTheKeyboardStaysHiddenAndAnArrivalOnlyChangesTheIcon)
{
    ASSERT_TRUE(UnplugAndWaitUntilGone(Keyboard(), Library()));
    StartWindow();
    EXPECT_EQ(Window().CurrentTrayIcon(), TrayIcon::Normal);
    EXPECT_FALSE(Window().isVisible());

    Window().Open();
    ASSERT_EQ(prompter_.Messages().size(), 1u) << "no keyboard: a message instead of the window";
    EXPECT_FALSE(Window().isVisible());

    Keyboard().Control("plug");
    ASSERT_TRUE(WaitUntil([this] { return Window().CurrentTrayIcon() == TrayIcon::Present; }));
    // The arrival's profile load was started before the icon changed; once it is done, so is
    // anything the arrival would have done to the window.
    ASSERT_TRUE(WaitUntil([this] { return !Window().Jobs().Busy(); }));
    EXPECT_FALSE(Window().isVisible());
    EXPECT_TRUE(Window().Control("FUNC_PROFILE1")->IsOn()) << "the profile was loaded";
}

TEST_F(MainWindowTest, UnplugHidesTheWindow)
{
    StartWindow();
    ASSERT_TRUE(WaitUntil([this] { return Window().isVisible(); }));
    Keyboard().Control("unplug");
    ASSERT_TRUE(WaitUntil([this] { return !Window().isVisible(); }));
    ASSERT_TRUE(WaitUntil([this] { return Window().CurrentTrayIcon() == TrayIcon::Normal; }));
    Keyboard().Control("plug");
    ASSERT_TRUE(WaitUntil([this] { return Window().CurrentTrayIcon() == TrayIcon::Present; }));
    EXPECT_FALSE(Window().isVisible()) << "a later arrival leaves the window as it is";
}

TEST_F(MainWindowTest, ProfileSwitchWithUnsavedChangesAppliesOnYes)
{
    StartWindow();
    const std::vector<uint8_t> factory = Keyboard().Dump("keymap 0");
    Edit(0, SlotOf(kKeyA), kDisabled);
    ASSERT_TRUE(ApplyEnabled());
    prompter_.AnswerYes(true);
    Click("FUNC_PROFILE2");

    EXPECT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_NE(Keyboard().Dump("keymap 0"), factory) << "the previous profile was downloaded";
    EXPECT_EQ(Keyboard().Dump("settings")[kActiveProfileByte], 1);
    ASSERT_TRUE(WaitUntil([this] { return !ApplyEnabled(); }));
    EXPECT_TRUE(Window().Control("FUNC_PROFILE2")->IsOn());
    EXPECT_FALSE(Window().Control("FUNC_PROFILE1")->IsOn());
    EXPECT_EQ(Window().Profiles().CurrentProfile(), 1);
}

TEST_F(MainWindowTest, ProfileSwitchWithUnsavedChangesDiscardsOnNo)
{
    StartWindow();
    const std::vector<uint8_t> factory = Keyboard().Dump("keymap 0");
    Edit(0, SlotOf(kKeyA), kDisabled);
    prompter_.AnswerYes(false);
    Click("FUNC_PROFILE3");

    EXPECT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(Keyboard().Dump("keymap 0"), factory) << "nothing was downloaded";
    EXPECT_EQ(Record(0, SlotOf(kKeyA)), KeyAssignment{}) << "the working file was reloaded";
    EXPECT_EQ(Keyboard().Dump("settings")[kActiveProfileByte], 2);
    ASSERT_TRUE(WaitUntil([this] { return !ApplyEnabled(); }));
    EXPECT_TRUE(Window().Control("FUNC_PROFILE3")->IsOn());

    prompter_.AnswerYes(true);
    Click("FUNC_PROFILE3");
    EXPECT_EQ(prompter_.Questions().size(), 1u) << "nothing unsaved, the active profile again: no question";
}

TEST_F(MainWindowTest, OkAppliesAndHidesWhileCancelOnlyHides)
{
    StartWindow();
    ASSERT_TRUE(WaitUntil([this] { return Window().isVisible(); }));
    const std::vector<uint8_t> factory = Keyboard().Dump("keymap 0");

    Edit(0, SlotOf(kKeyA), kDisabled);
    Click("CONTROL_CANCEL");
    EXPECT_FALSE(Window().isVisible());
    EXPECT_EQ(Keyboard().Dump("keymap 0"), factory);
    EXPECT_TRUE(ApplyEnabled()) << "Cancel keeps the edits pending";
    EXPECT_EQ(Record(0, SlotOf(kKeyA)), kDisabled);

    Window().Open();
    ASSERT_TRUE(Window().isVisible());
    Click("CONTROL_OK");
    ASSERT_TRUE(WaitUntil([this] { return !Window().isVisible(); }));
    EXPECT_FALSE(Window().isVisible());
    EXPECT_NE(Keyboard().Dump("keymap 0"), factory);
    ASSERT_TRUE(WaitUntil([this] { return !ApplyEnabled(); }));
    EXPECT_TRUE(std::filesystem::exists(paths_->UserFolder() / "$Profile0"));
}

TEST_F(MainWindowTest, ApplyRunsOffTheWindowThreadWithTheProgressAnimation)
{
    StartWindow();
    Keyboard().Control("latency 3");
    Edit(0, SlotOf(kKeyA), kDisabled);
    int ticks = 0;
    bool progressShown = false;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        ++ticks;
        progressShown = progressShown || Window().Progress()->Running();
    });
    ticker.start(5);
    Click("CONTROL2_APPLY");
    ticker.stop();
    EXPECT_GT(ticks, 3) << "the window thread kept serving its queue during the download";
    EXPECT_TRUE(progressShown);
    EXPECT_FALSE(Window().Jobs().Busy());
    ASSERT_TRUE(WaitUntil([this] { return !Window().Progress()->Running(); }));
    EXPECT_FALSE(Window().Progress()->isVisible());
}

TEST_F(MainWindowTest, RestoreDefaultsClearsTheActiveBankAndApplies)
{
    StartWindow();
    const std::vector<uint8_t> factory = Keyboard().Dump("keymap 0");
    Edit(0, SlotOf(kKeyA), kDisabled);
    Edit(0, GKeyRecord(0, GKeyBank::A), kDisabled);
    Edit(0, GKeyRecord(0, GKeyBank::B), kDisabled);
    Click("CONTROL2_APPLY");
    ASSERT_NE(Keyboard().Dump("keymap 0"), factory);
    ASSERT_TRUE(WaitUntil([this] { return Window().KeyButton(KeyAControl())->IsOn(); }));

    prompter_.AnswerYes(false);
    Click("FUNC_DEFAULT");
    EXPECT_EQ(Record(0, SlotOf(kKeyA)), kDisabled) << "No changes nothing";

    prompter_.AnswerYes(true);
    Click("FUNC_DEFAULT");
    EXPECT_EQ(prompter_.Questions().size(), 2u);
    EXPECT_EQ(Record(0, SlotOf(kKeyA)), KeyAssignment{});
    EXPECT_EQ(Record(0, GKeyRecord(0, GKeyBank::A)), KeyAssignment{});
    EXPECT_EQ(Record(0, GKeyRecord(0, GKeyBank::B)), kDisabled) << "the other bank's G keys stay";
    EXPECT_EQ(Keyboard().Dump("keymap 0"), factory) << "restored and applied";
    ASSERT_TRUE(WaitUntil([this] { return !ApplyEnabled(); }));
    EXPECT_FALSE(Window().KeyButton(KeyAControl())->IsOn());
    EXPECT_EQ(Window().KeyButton(KeyAControl())->TipText(), QStringLiteral("A"));
}

TEST_F(MainWindowTest, BankKeyRelabelsAndRemarksTheGKeys)
{
    StartWindow();
    Edit(0, GKeyRecord(1, GKeyBank::B), kDisabled);
    CPngButton* g1 = Window().KeyButton(GKeyControlId(0));
    CPngButton* g2 = Window().KeyButton(GKeyControlId(1));
    CPngButton* g6 = Window().KeyButton(GKeyControlId(5));
    EXPECT_EQ(g1->text(), QStringLiteral("A1"));
    EXPECT_FALSE(g2->IsOn());

    Keyboard().Control("bank");
    ASSERT_TRUE(WaitUntil([&] { return g1->text() == QStringLiteral("B1"); }));
    ASSERT_TRUE(WaitUntil([&] { return g2->IsOn(); }));
    EXPECT_TRUE(g6->text().isEmpty());
    EXPECT_NE(g2->TipText(), QStringLiteral("G2")) << "the tooltip follows the bank too";
    EXPECT_EQ(Keyboard().Dump("status"), (std::vector<uint8_t>{0x05, 0x03}));

    Keyboard().Control("bank");
    ASSERT_TRUE(WaitUntil([&] { return g1->text() == QStringLiteral("A1"); }));
    ASSERT_TRUE(WaitUntil([&] { return !g2->IsOn(); }));
    EXPECT_EQ(Keyboard().Dump("status"), (std::vector<uint8_t>{0x05, 0x02}));
}

TEST_F(MainWindowTest, FlipTradesF1ToF4ForD1ToD6AndIsKept)
{
    StartWindow();
    const int f1 = 1010;
    const int d1 = 1016;
    EXPECT_TRUE(Window().KeyButton(f1)->isEnabled());
    EXPECT_FALSE(Window().KeyButton(d1)->isEnabled());

    Click("FLIP_1");
    EXPECT_TRUE(settings_->Flip());
    EXPECT_FALSE(Window().KeyButton(f1)->isEnabled());
    EXPECT_FALSE(Window().KeyButton(f1 + 3)->isEnabled());
    EXPECT_TRUE(Window().KeyButton(1014)->isEnabled()) << "F5 stays";
    EXPECT_TRUE(Window().ViewModel().Button(d1)->usable);

    Click("FLIP_2");
    EXPECT_FALSE(settings_->Flip());
    EXPECT_TRUE(Window().KeyButton(f1)->isEnabled());
    EXPECT_FALSE(Window().ViewModel().Button(d1)->usable);

    settings_->SetFlip(true);
    window_.reset();
    StartWindow();
    EXPECT_FALSE(Window().KeyButton(f1)->isEnabled()) << "the setting applies at start-up";
}

TEST_F(MainWindowTest, AboutOpensOnceAndLanguageCommandsSwitchTheTexts)
{
    StartWindow();
    Window().About().Open(QStringLiteral("x"), QStringLiteral("y"), &Window());
    auto* first = Window().About().Current();
    Window().About().Open(QStringLiteral("x"), QStringLiteral("y"), &Window());
    EXPECT_EQ(Window().About().Current(), first);

    Window().RunWindowCommand(kCommandLanguageChinese);
    WaitUntil([this] { return !Window().Jobs().Busy(); });
    EXPECT_EQ(Window().windowTitle(), QStringLiteral("游戏键盘设置"));
    EXPECT_EQ(Window().Control("FUNC_PROFILE1")->text(), QStringLiteral("配置 1"));
    Window().RunWindowCommand(kCommandLanguageEnglish);
    WaitUntil([this] { return !Window().Jobs().Busy(); });
    EXPECT_EQ(Window().Control("FUNC_PROFILE1")->text(), QStringLiteral("Profile 1"));
}

TEST_F(MainWindowTest, ApplyMessageDownloadsLikeTheApplyButton)
{
    StartWindow();
    const std::vector<uint8_t> factory = Keyboard().Dump("keymap 0");
    Edit(0, SlotOf(kKeyA), kDisabled);
    Window().RunWindowMessage(kMessageApply);
    ASSERT_TRUE(WaitUntil([this] { return !Window().Jobs().Busy(); }));
    EXPECT_NE(Keyboard().Dump("keymap 0"), factory);
    Window().RunWindowMessage(0x1F);
    EXPECT_TRUE(WaitUntil([this] { return !ApplyEnabled(); }));
}

} // namespace
} // namespace kovantis::testing
