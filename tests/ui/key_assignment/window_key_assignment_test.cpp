// The key assignment dialog opened from the main window as a user opens it, against
// kovantis-vkbd: a click on a key, keys pressed with their native scan codes, OK, then the
// window's Apply, and what the keyboard holds afterwards. The dialog is modal, so what happens
// while it is open runs from inside its loop (WhileOpen).

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <QLineEdit>
#include <QTimer>

#include <functional>

#include "key_events.h"
#include "keyboard/bank.h"
#include "keyboard/keymap_codec.h"
#include "profiles/profile_controller.h"
#include "session/session.h"
#include "ui/key_assignment/kovantis_dlg_composite.h"
#include "main_window/main_window_fixture.h"
#include "ui/skin/c_png_button.h"

namespace kovantis::testing {
namespace {

constexpr KeyCode kA = 0x01E;
constexpr int kControlA = 1058;
constexpr int kControlG2 = 1001;
constexpr int kControlG9 = 1143;

class WindowKeyAssignmentTest : public MainWindowTest {
protected:
    // Clicks a main-window button; `inside` runs while the dialog it opens is open, and the
    // dialog is cancelled afterwards if it is still open, so a failing check never hangs.
    void ClickWhileOpen(CPngButton* button, const std::function<void(Kovantis_DlgComposite&)>& inside)
    {
        ASSERT_NE(button, nullptr);
        bool ran = false;
        QTimer::singleShot(0, &Window(), [&] {
            Kovantis_DlgComposite* dialog = Window().KeyAssignmentDialog();
            if (dialog == nullptr || !dialog->IsOpen()) {
                ADD_FAILURE() << "no dialog opened";
                return;
            }
            ShowActive(*dialog);
            ran = true;
            inside(*dialog);
            if (dialog->IsOpen())
                dialog->PressCancel();
        });
        button->click();
        EXPECT_TRUE(ran);
        ASSERT_TRUE(WaitUntil([this] { return !Window().Jobs().Busy(); }));
    }

    size_t PositionOf(KeyCode code)
    {
        const std::vector<uint8_t> factory = Keyboard().Dump("factory");
        for (size_t k = 0; k + 3 <= factory.size(); k += 3) {
            if (DecodeDeviceAction({factory[k], factory[k + 1], factory[k + 2]}) == code)
                return k / 3;
        }
        ADD_FAILURE() << "no position for " << code;
        return 0;
    }
    std::vector<uint8_t> KeymapEntry(int profile, size_t position)
    {
        const std::vector<uint8_t> keymap = Keyboard().Dump("keymap " + std::to_string(profile));
        if (keymap.size() < 3 * position + 3)
            return {};
        return {keymap.begin() + static_cast<long>(3 * position), keymap.begin() + static_cast<long>(3 * position + 3)};
    }
};

TEST_F(WindowKeyAssignmentTest, ClickAPressBOkApplyAndTheKeyboardSendsBForA)
{
    StartWindow();
    const size_t a = PositionOf(kA);
    ClickWhileOpen(Window().KeyButton(kControlA), [](Kovantis_DlgComposite& dialog) {
        EXPECT_TRUE(dialog.Model().Capturing());
        TypeKey(dialog, Qt::Key_B, KEY_B);
        EXPECT_EQ(dialog.KeyField()->text(), "B");
        dialog.Button(1)->click();  // OK
    });
    EXPECT_EQ(Record(0, kA), MakeAssignment(AssignmentKind::Key, 0x030));
    EXPECT_TRUE(Window().ViewModel().Button(kControlA)->assigned);
    EXPECT_EQ(Window().ViewModel().Button(kControlA)->pictures, KeyPictureSet::Key) << "the key set is back";
    ASSERT_TRUE(WaitUntil([this] { return ApplyEnabled(); }));
    Click("CONTROL2_APPLY");
    EXPECT_EQ(KeymapEntry(0, a), (std::vector<uint8_t>{0x02, 0x02, 0x05}));
    EXPECT_FALSE(ApplyEnabled());
}

TEST_F(WindowKeyAssignmentTest, EscOnTheSingleKeyPageIsStoredAndTheDialogStaysOpen)
{
    StartWindow();
    ClickWhileOpen(Window().KeyButton(kControlA), [this](Kovantis_DlgComposite& dialog) {
        TypeKey(dialog, Qt::Key_Escape, KEY_ESC);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(dialog.IsOpen());
        EXPECT_EQ(dialog.KeyField()->text(), "Esc");
        dialog.Button(kDialogApplyControlId)->click();
        EXPECT_TRUE(dialog.IsOpen()) << "Apply keeps the dialog open";
        EXPECT_EQ(Record(0, kA), MakeAssignment(AssignmentKind::Key, 0x001));
        TypeKey(dialog, Qt::Key_Return, KEY_ENTER);
        EXPECT_TRUE(dialog.IsOpen());
        dialog.Button(2)->click();  // Cancel: the Enter captured after Apply is dropped
    });
    EXPECT_EQ(Record(0, kA), MakeAssignment(AssignmentKind::Key, 0x001));
}

TEST_F(WindowKeyAssignmentTest, GKeysKeepTheirIdAndG9AndTheMacroButtonOpenTheMacroPageAlone)
{
    StartWindow();
    ClickWhileOpen(Window().KeyButton(kControlG2), [](Kovantis_DlgComposite& dialog) {
        EXPECT_FALSE(dialog.Model().MacroOnly());
        EXPECT_EQ(dialog.Model().TargetRecord(), kGKeyRecordsBankA + 1);
        dialog.PressPage(KeyPage::Media);
        dialog.Button(1)->click();
    });
    EXPECT_EQ(Record(0, kGKeyRecordsBankA + 1), MakeAssignment(AssignmentKind::Media, 0, GKeyId(1, GKeyBank::A)));

    for (CPngButton* button : {Window().KeyButton(kControlG9), Window().Control("FUNC_MACRO")}) {
        ClickWhileOpen(button, [](Kovantis_DlgComposite& dialog) {
            EXPECT_TRUE(dialog.Model().MacroOnly());
            EXPECT_EQ(dialog.Model().TargetRecord(), kGKeyRecordsBankA + 8);
            EXPECT_EQ(dialog.Model().Page(), KeyPage::Macro);
            EXPECT_FALSE(dialog.PageButton(KeyPage::SingleKey)->isEnabled());
        });
    }
}

TEST_F(WindowKeyAssignmentTest, UnplugClosesTheDialogAsCancelAndSwitchingRefusesWhileItIsOpen)
{
    StartWindow();
    ClickWhileOpen(Window().KeyButton(kControlA), [this](Kovantis_DlgComposite& dialog) {
        TypeKey(dialog, Qt::Key_C, KEY_C);
        Click("FUNC_PROFILE2");
        EXPECT_EQ(Keyboard().Dump("settings").empty(), false);
        EXPECT_EQ(Window().Link().Commands().GetActiveProfile(), 0) << "no switch while the dialog is open";
        EXPECT_FALSE(prompter_.Messages().empty());
        Keyboard().Control("unplug");
        EXPECT_TRUE(WaitUntil([&dialog] { return !dialog.IsOpen(); }));
    });
    EXPECT_EQ(Record(0, kA), KeyAssignment{}) << "nothing of the cancelled edit is stored";
}

TEST_F(WindowKeyAssignmentTest, AnEditOfTheShownProfileReachesThatProfile)
{
    StartWindow();
    const size_t a = PositionOf(kA);
    const std::vector<uint8_t> before = KeymapEntry(0, a);
    ClickWhileOpen(Window().KeyButton(kControlA), [this](Kovantis_DlgComposite& dialog) {
        // Refused while the dialog is open: the window now shows profile 3, the keyboard runs 1.
        Click("FUNC_PROFILE3");
        TypeKey(dialog, Qt::Key_B, KEY_B);
        dialog.Button(1)->click();
    });
    ASSERT_EQ(Window().Profiles().CurrentProfile(), 2);
    EXPECT_EQ(Record(2, kA), MakeAssignment(AssignmentKind::Key, 0x030));
    ASSERT_TRUE(WaitUntil([this] { return ApplyEnabled(); }));
    Click("CONTROL2_APPLY");
    EXPECT_EQ(KeymapEntry(2, a), (std::vector<uint8_t>{0x02, 0x02, 0x05}));
    EXPECT_EQ(KeymapEntry(0, a), before);
    EXPECT_FALSE(ApplyEnabled()) << "Apply succeeded";
}

TEST_F(WindowKeyAssignmentTest, FlipShowsD1ToD6InTheirPlacesAndDimsF1ToF4)
{
    settings_->SetFlip(false);
    StartWindow();
    CPngButton* f1 = Window().KeyButton(1010);
    CPngButton* d1 = Window().KeyButton(1016);
    ASSERT_TRUE(f1 && d1);
    EXPECT_NE(d1->geometry().topLeft(), QPoint(1, 1)) << "D1 has a place of its own";
    EXPECT_GT(d1->width(), 10);
    EXPECT_FALSE(d1->isEnabled());
    EXPECT_TRUE(d1->IsDimmed());
    EXPECT_FALSE(f1->IsDimmed());

    Click("FLIP_1");
    EXPECT_TRUE(d1->isEnabled());
    EXPECT_FALSE(d1->IsDimmed());
    EXPECT_FALSE(f1->isEnabled());
    EXPECT_TRUE(f1->IsDimmed()) << "F1 looks out of use";
    EXPECT_FALSE(Window().KeyButton(1014)->IsDimmed()) << "F5 stays";

    // A hand-written value other than 0 is on as well.
    Click("FLIP_2");
    window_.reset();
    store_->Write(u"Flip", u"2");
    StartWindow();
    EXPECT_TRUE(Window().KeyButton(1010)->IsDimmed());
    EXPECT_TRUE(Window().KeyButton(1016)->isEnabled());
}

} // namespace
} // namespace kovantis::testing
