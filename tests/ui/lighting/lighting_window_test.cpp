// The lighting panel in the main window: restore, painting by clicks on the key buttons, the
// profile buttons and the way back to the function view.

#include <QAbstractButton>
#include <QCoreApplication>

#include <algorithm>
#include <QTimer>

#include "keyboard/bank.h"
#include "keyboard/key_code.h"
#include "keyboard/physical_layout.h"
#include "lighting/lighting_controller.h"
#include "lighting/lighting_view_setting.h"
#include "main_window/main_window_fixture.h"
#include "session/session.h"
#include "ui/key_assignment/kovantis_dlg_composite.h"
#include "ui/lighting/lighting_panel.h"
#include "ui/lighting/user_mode_group.h"
#include "ui/skin/c_png_button.h"
#include "ui/skin/c_skin_color_button.h"

namespace kovantis::testing {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr KeyCode kKeyA = 0x01E;
const KeyAssignment kDisabled = MakeAssignment(AssignmentKind::Disabled);
const Bytes kRestoreBytes{0x01, 0x04, 0x02, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x08, 0xFF, 0xFF, 0xFF,
                          0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00,
                          0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00};

class LightingWindowTest : public MainWindowTest {
protected:
    void StartWithLightingView(bool on)
    {
        ASSERT_TRUE(paths_->EnsureUserFolder());
        AppLightingViewSetting(*settings_).Write(on);
        StartWindow();
        ASSERT_EQ(Panel().LightingViewShown(), on);
    }
    ui::LightingPanel& Panel() { return *Window().LightingPanel(); }
    Bytes Block(int profile)
    {
        const Bytes all = Keyboard().Dump("profiles");
        return Bytes(all.begin() + profile * 42, all.begin() + profile * 42 + 42);
    }
    // Changes a byte of the keyboard's block as its own keys would, and waits for the read-back.
    void ChangeOnBoard(int offset, int value)
    {
        ASSERT_EQ(Keyboard().Control("lighting 0 " + std::to_string(offset) + " " + std::to_string(value)).substr(0, 2), "ok");
        ASSERT_TRUE(WaitUntil([&] { return !Window().Jobs().Busy() && Window().Core().Lighting().Block(0).bytes[static_cast<size_t>(offset)] == value; }));
    }
    void ClickPanel(std::string_view key)
    {
        auto* button = qobject_cast<QAbstractButton*>(Panel().Control(key));
        ASSERT_NE(button, nullptr) << key;
        button->click();
        ASSERT_TRUE(WaitUntil([this] { return !Window().Jobs().Busy(); }));
    }
    void ClickKey(int controlId)
    {
        Window().KeyButton(controlId)->click();
        ASSERT_TRUE(WaitUntil([this] { return !Window().Jobs().Busy(); }));
    }
};

TEST_F(LightingWindowTest, RestoreWritesTheDefaultBlockOnlyWithTheLightingViewOn)
{
    StartWithLightingView(false);
    ChangeOnBoard(1, 1);
    ChangeOnBoard(36, 0x5A);  // the keyboard's own part of the block
    const Bytes before = Block(0);
    prompter_.AnswerYes(true);
    Click("FUNC_DEFAULT");
    EXPECT_EQ(Block(0), before) << "the function view restores the keys only";

    ClickPanel("CONTROL_DengStaPic");
    ASSERT_TRUE(Panel().LightingViewShown());
    Click("FUNC_DEFAULT");
    const Bytes after = Block(0);
    EXPECT_EQ(Bytes(after.begin(), after.begin() + 35), kRestoreBytes);
    EXPECT_EQ(after[36], 0x5A) << "bytes 35 to 41 are never written";
    ASSERT_TRUE(WaitUntil([this] { return !Window().Jobs().Busy(); }));
    EXPECT_EQ(Window().Core().Lighting().Look().brightness.position, 4);
}

TEST_F(LightingWindowTest, AClickOnAKeyPaintsItInEffect20AndAssignsItInTheFunctionView)
{
    Keyboard().Control("lighting 0 0 20");  // before the program starts: no one to tell
    StartWithLightingView(true);
    const PhysicalKey& a = *PhysicalKeyOfCode(kKeyA);
    CSkinColorButton* brush = Panel().UserModes().BrushButton();
    brush->SetColorChooser([](const QColor&, QWidget*) { return std::optional<QColor>(QColor(9, 99, 199)); });
    brush->click();
    ASSERT_TRUE(WaitUntil([this] { return !Window().Jobs().Busy(); }));

    ClickKey(a.controlId);
    const Bytes colours = Keyboard().Dump("colours 0");
    EXPECT_EQ(Bytes(colours.begin() + a.matrixIndex * 3, colours.begin() + a.matrixIndex * 3 + 3), (Bytes{9, 99, 199}));
    EXPECT_EQ(Panel().Layer()->ShownColour(a.controlId), (Rgb{9, 99, 199}));
    EXPECT_EQ(Window().ViewModel().Buttons().front().pictures, KeyPictureSet::Key) << "no key is being edited";

    // Back in the function view the keys show their assignments again.
    Edit(0, SlotOf(kKeyA), kDisabled);
    ClickPanel("CONTROL_DengStaPic");
    EXPECT_FALSE(Panel().LightingViewShown());
    EXPECT_TRUE(Panel().Layer()->isHidden());
    ASSERT_TRUE(WaitUntil([&] { return Window().KeyButton(a.controlId)->IsOn(); }));
    const Bytes unchanged = Keyboard().Dump("colours 0");
    // In the function view a click opens the key assignment dialog (modal) instead.
    bool dialogOpened = false;
    QTimer::singleShot(0, &Window(), [&] {
        Kovantis_DlgComposite* dialog = Window().KeyAssignmentDialog();
        dialogOpened = dialog != nullptr && dialog->IsOpen();
        if (dialog != nullptr)
            dialog->PressCancel();
    });
    ClickKey(a.controlId);
    EXPECT_TRUE(dialogOpened);
    EXPECT_EQ(Keyboard().Dump("colours 0"), unchanged) << "the function view paints nothing";
}

TEST_F(LightingWindowTest, AProfileButtonLeavesTheLightingView)
{
    StartWithLightingView(true);
    EXPECT_FALSE(Panel().Control("CONTROL_XGcombox")->isHidden());
    Click("FUNC_PROFILE2");
    EXPECT_FALSE(Panel().LightingViewShown());
    EXPECT_TRUE(Panel().Control("CONTROL_XGcombox")->isHidden());
    EXPECT_FALSE(AppLightingViewSetting(*settings_).Read());
    EXPECT_FALSE(Panel().PreviewRunning());
    // The report rate stays in reach and writes the new profile's block.
    Click("FUNC_REPORT2");
    EXPECT_EQ(Block(1)[15], 1);
    EXPECT_TRUE(Window().Control("FUNC_REPORT2")->IsOn());
}

TEST_F(LightingWindowTest, ThePreviewFollowsTheWindow)
{
    StartWithLightingView(true);
    ASSERT_TRUE(Window().isVisible());
    ASSERT_TRUE(WaitUntil([this] { return Panel().PreviewRunning(); }));
    Click("CONTROL_CANCEL");
    ASSERT_TRUE(WaitUntil([this] { return !Panel().PreviewRunning(); }));
}

TEST_F(LightingWindowTest, AChangeTheKeyboardRefusesIsToldAndTheNextOneIsNot)
{
    StartWithLightingView(true);
    const std::u16string text = Window().Core().Texts().Text("EXTRA_LIGHTING_FAILED");
    ASSERT_FALSE(text.empty());
    const auto toldOfFailure = [&] {
        const std::vector<std::u16string> said = prompter_.Messages();
        return std::count_if(said.begin(), said.end(), [&](const std::u16string& m) {
            return m.starts_with(text.substr(0, text.find(u'%')));
        });
    };
    // Every send of the transfer's begin is refused.
    ASSERT_EQ(Keyboard().Control("refuse ff 3").substr(0, 2), "ok");
    Click("FUNC_REPORT2");
    ASSERT_TRUE(WaitUntil([&] { return toldOfFailure() == 1; }));
    EXPECT_NE(prompter_.Messages().back().find(u"refused"), std::u16string::npos) << "the cause is named";

    Click("FUNC_REPORT1");
    ASSERT_TRUE(WaitUntil([this] { return !Window().Jobs().Busy(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(toldOfFailure(), 1) << "a change the keyboard took says nothing";
    EXPECT_EQ(Block(0)[15], 0);
}

} // namespace
} // namespace kovantis::testing
