// Every control of the lighting panel, checked against the reports that reach the keyboard and
// against what the keyboard then holds.

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include "panel_fixture.h"
#include "ui/lighting/panel_picture.h"
#include "ui/skin/c_bitmap_slider.h"
#include "ui/skin/c_png_button.h"
#include "ui/skin/c_skin_color_button.h"

namespace kovantis::testing {
namespace {

using Bytes = std::vector<uint8_t>;

// begin, one write of `data` at `address` of the lighting blocks, end.
void ExpectOneWrite(const std::vector<SentCommand>& sent, int address, const Bytes& data)
{
    ASSERT_EQ(CommandCodes(sent), (std::vector<int>{kBegin, kWriteRecord, kEnd}));
    EXPECT_EQ(sent[1].address, address);
    EXPECT_EQ(sent[1].data, data);
}

void Press(QWidget* widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
}

void ClickAt(QWidget* widget, QPoint at)
{
    const QPointF local(at);
    const QPointF global(widget->mapToGlobal(at));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

QString PictureOf(ui::LightingPanel& panel, std::string_view key)
{
    return static_cast<ui::PanelPicture*>(panel.Control(key))->PictureName();
}

TEST_F(LightingPanelTest, EachControlWritesExactlyItsField)
{
    Arrive(0);  // the keyboard's profile 0: wave, brightness 4, speed 2, multicolour
    for (std::string_view key : {"CONTROL_XGcombox", "CONTROL_LightSlider", "CONTROL_SpeedSlider", "CONTROL_BLFXLStaPic",
                                 "CONTROL_HXysButton", "CONTROL_HXsjsStaPic", "FUNC_REPORT1"})
        EXPECT_TRUE(Shown(key)) << key;
    for (std::string_view key : {"CONTROL_FYYSButton", "CONTROL_HONGPIC", "CONTROL_umCombo"})
        EXPECT_FALSE(Shown(key)) << key;

    auto* brightness = Widget<CBitmapSlider>("CONTROL_LightSlider");
    EXPECT_EQ(brightness->Position(), 4);
    Press(brightness, Qt::Key_Left);
    Settle();
    ExpectOneWrite(TakeSent(), 1, {3});
    EXPECT_EQ(KeyboardBlock(0)[1], 3);

    // The speed slider runs from slow to fast, the keyboard's value the other way.
    auto* speed = Widget<CBitmapSlider>("CONTROL_SpeedSlider");
    Press(speed, Qt::Key_Home);
    Settle();
    ExpectOneWrite(TakeSent(), 2, {3});
    Press(speed, Qt::Key_End);
    Settle();
    ExpectOneWrite(TakeSent(), 2, {0});
    // A position the slider already has writes nothing.
    Press(speed, Qt::Key_End);
    Settle();
    EXPECT_TRUE(TakeSent().empty());

    Click("CONTROL_BLFXLStaPic");
    ExpectOneWrite(TakeSent(), 3, {0xFF});
    EXPECT_EQ(PictureOf(*panel_, "CONTROL_BLFXLStaPic"), "leftdown.bmp");
    EXPECT_EQ(PictureOf(*panel_, "CONTROL_BLFXRStaPic"), "rightup.bmp");

    Click("CONTROL_HXsjsStaPic");
    ExpectOneWrite(TakeSent(), 4, {0});
    EXPECT_EQ(PictureOf(*panel_, "CONTROL_HXsjsStaPic"), "sjsup.bmp");
    Click("CONTROL_HXsjsStaPic");
    ExpectOneWrite(TakeSent(), 4, {1});

    // A colour turns multicolour off first, then sets the colour; both buttons show it.
    auto* colour = Widget<CSkinColorButton>("CONTROL_HXysButton");
    colour->SetColorChooser([](const QColor&, QWidget*) { return std::optional<QColor>(QColor(0, 128, 255)); });
    Click("CONTROL_HXysButton");
    std::vector<SentCommand> sent = TakeSent();
    ASSERT_EQ(CommandCodes(sent), (std::vector<int>{kBegin, kWriteRecord, kWriteRecord, kEnd}));
    EXPECT_EQ(sent[1].address, 4);
    EXPECT_EQ(sent[1].data, Bytes{0});
    EXPECT_EQ(sent[2].address, 5);
    EXPECT_EQ(sent[2].data, (Bytes{0, 128, 255}));
    EXPECT_EQ(Widget<CSkinColorButton>("CONTROL_FYYSButton")->Color(), QColor(0, 128, 255));
    EXPECT_EQ(PictureOf(*panel_, "CONTROL_HXsjsStaPic"), "sjsup.bmp");
    // A colour dialog closed without a choice changes nothing.
    colour->SetColorChooser([](const QColor&, QWidget*) { return std::optional<QColor>(); });
    Click("CONTROL_HXysButton");
    EXPECT_TRUE(TakeSent().empty());

    Click("FUNC_REPORT3");
    ExpectOneWrite(TakeSent(), 15, {2});
    EXPECT_TRUE(Widget<CPngButton>("FUNC_REPORT3")->IsOn());
    EXPECT_FALSE(Widget<CPngButton>("FUNC_REPORT1")->IsOn());

    const Bytes block = KeyboardBlock(0);
    EXPECT_EQ(Bytes(block.begin(), block.begin() + 8), (Bytes{1, 3, 0, 0xFF, 0, 0, 128, 255}));
    EXPECT_EQ(block[15], 2);
}

TEST_F(LightingPanelTest, TheFieldsOfAnotherProfileSitInItsOwnBlock)
{
    Arrive(1);  // profile 1: static, colour button shown
    ChooseEffect(5);
    TakeSent();
    Press(Widget<CBitmapSlider>("CONTROL_LightSlider"), Qt::Key_Home);
    Settle();
    ExpectOneWrite(TakeSent(), 42 + 1, {0});
    EXPECT_EQ(KeyboardBlock(1)[1], 0);
    EXPECT_EQ(KeyboardBlock(0)[1], 4) << "profile 0 untouched";
}

TEST_F(LightingPanelTest, AnEffectWritesItsIdAndShowsOnlyItsControls)
{
    Arrive(0);
    // The multicolour group writes the flag after the id.
    ChooseEffect(5);
    std::vector<SentCommand> sent = TakeSent();
    ASSERT_EQ(CommandCodes(sent), (std::vector<int>{kBegin, kWriteRecord, kWriteRecord, kEnd}));
    EXPECT_EQ(sent[1].address, 0);
    EXPECT_EQ(sent[1].data, Bytes{5});
    EXPECT_EQ(sent[2].address, 4);
    EXPECT_EQ(sent[2].data, Bytes{1});
    EXPECT_TRUE(Shown("CONTROL_SpeedSlider"));
    EXPECT_TRUE(Shown("CONTROL_HXysButton"));
    EXPECT_FALSE(Shown("CONTROL_BLFXLStaPic"));
    EXPECT_FALSE(Shown("CONTROL_BLFXStatic"));

    ChooseEffect(4);
    ExpectOneWrite(TakeSent(), 0, {4});
    EXPECT_TRUE(Shown("CONTROL_SpeedSlider"));
    EXPECT_FALSE(Shown("CONTROL_HXysButton"));
    EXPECT_TRUE(Shown("CONTROL_LightSlider"));

    ChooseEffect(6);
    ExpectOneWrite(TakeSent(), 0, {6});
    EXPECT_TRUE(Shown("CONTROL_FYYSButton"));
    EXPECT_TRUE(Shown("CONTROL_FYSJSStaPic"));
    EXPECT_FALSE(Shown("CONTROL_SpeedSlider"));
    EXPECT_FALSE(Shown("CONTROL_SpeedStatic"));

    // Effect 17: its four colour pictures, the choice written to byte 17.
    ChooseEffect(17);
    ExpectOneWrite(TakeSent(), 0, {17});
    for (std::string_view key : {"CONTROL_HONGPIC", "CONTROL_HUANGPIC", "CONTROL_LVPIC", "CONTROL_LANPIC"})
        EXPECT_TRUE(Shown(key)) << key;
    EXPECT_FALSE(Shown("CONTROL_FYYSButton"));
    Click("CONTROL_LVPIC");
    ExpectOneWrite(TakeSent(), 17, {2});
    EXPECT_EQ(PictureOf(*panel_, "CONTROL_LVPIC"), "lvok.bmp");
    EXPECT_EQ(PictureOf(*panel_, "CONTROL_HONGPIC"), "hong.bmp");
    EXPECT_EQ(KeyboardBlock(0)[17], 2);

    // The direction pictures change with the effect.
    ChooseEffect(12);
    TakeSent();
    EXPECT_TRUE(Shown("CONTROL_BLFXLStaPic"));
    EXPECT_TRUE(PictureOf(*panel_, "CONTROL_BLFXLStaPic").startsWith("up"));
    Click("CONTROL_BLFXRStaPic");
    ExpectOneWrite(TakeSent(), 3, {0});
    EXPECT_EQ(PictureOf(*panel_, "CONTROL_BLFXRStaPic"), "downdown.bmp");
    ChooseEffect(18);
    TakeSent();
    EXPECT_EQ(PictureOf(*panel_, "CONTROL_BLFXLStaPic"), "kuosan.bmp");
    EXPECT_FALSE(Shown("CONTROL_SpeedSlider"));

    // The user-mode group belongs to effect 20 alone.
    ChooseEffect(20);
    ExpectOneWrite(TakeSent(), 0, {20});
    EXPECT_TRUE(Shown("CONTROL_umCombo"));
    EXPECT_TRUE(Shown("CONTROL_USERjsButton"));
    EXPECT_FALSE(Shown("CONTROL_BLFXLStaPic"));

    // The effect names are the skin's, in the keyboard's order.
    auto* combo = Widget<QComboBox>("CONTROL_XGcombox");
    EXPECT_EQ(combo->count(), 19);
    EXPECT_EQ(combo->itemText(0), "Rainbow Wave");
    EXPECT_EQ(combo->currentText(), "Custom Keys");
    EXPECT_EQ(Widget<QLabel>("CONTROL_LightStatic")->text(), "Brightness");
}

TEST_F(LightingPanelTest, ASliderMovedAndAReadBackShowTheSamePosition)
{
    Arrive(0);
    auto* speed = Widget<CBitmapSlider>("CONTROL_SpeedSlider");
    // A press on the face moves the knob under the pointer: the far left is the slowest.
    ClickAt(speed, QPoint(2, speed->height() / 2));
    Settle();
    ExpectOneWrite(TakeSent(), 2, {3});
    EXPECT_EQ(speed->Position(), 0);

    jobs_->Run([this] { lighting_->Reread(); });
    Settle();
    EXPECT_EQ(speed->Position(), 0);
    EXPECT_EQ(KeyboardBlock(0)[2], 3);
    auto* brightness = Widget<CBitmapSlider>("CONTROL_LightSlider");
    EXPECT_EQ(brightness->Position(), 4);
}

TEST_F(LightingPanelTest, TheLampAndTheSwitchButtonTurnTheLightingViewOnAndOff)
{
    Arrive(0, false);
    // With the view off only the title, the lamp and the report rate show.
    for (std::string_view key : {"CONTROL_DengStatic", "CONTROL_DengStaPic", "FUNC_REPORT1", "CONTROL_UsbStatic"})
        EXPECT_TRUE(Shown(key)) << key;
    for (std::string_view key : {"CONTROL_XGcombox", "CONTROL_LightSlider", "CONTROL_SpeedSlider", "CONTROL_HXysButton"})
        EXPECT_FALSE(Shown(key)) << key;
    EXPECT_EQ(PictureOf(*panel_, "CONTROL_DengStaPic"), "dengup.bmp");
    EXPECT_FALSE(Widget<CPngButton>("FUNC_SWITCH")->IsOn());

    std::vector<bool> changes;
    QObject::connect(panel_, &ui::LightingPanel::LightingViewChanged, [&](bool on) { changes.push_back(on); });
    Click("CONTROL_DengStaPic");
    EXPECT_TRUE(view_.on) << "the view is kept";
    EXPECT_EQ(PictureOf(*panel_, "CONTROL_DengStaPic"), "dengdown.bmp");
    EXPECT_TRUE(Shown("CONTROL_XGcombox"));
    EXPECT_TRUE(Shown("CONTROL_SpeedSlider"));
    EXPECT_TRUE(Widget<CPngButton>("FUNC_SWITCH")->IsOn());
    EXPECT_TRUE(!panel_->Layer()->isHidden()) << "the key pictures show the preview";
    EXPECT_EQ(changes, std::vector<bool>{true});

    Click("FUNC_SWITCH");
    EXPECT_FALSE(view_.on);
    EXPECT_FALSE(Widget<CPngButton>("FUNC_SWITCH")->IsOn());
    EXPECT_FALSE(Shown("CONTROL_XGcombox"));
    EXPECT_FALSE(!panel_->Layer()->isHidden()) << "the key pictures show their captions again";
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
    // Switching views writes nothing to the lighting.
    for (const SentCommand& c : TakeSent())
        EXPECT_NE(c.command, kWriteRecord);
}

TEST_F(LightingPanelTest, ThePicturesWorkFromTheKeyboard)
{
    Arrive(0, false);
    dialog_->show();
    dialog_->activateWindow();
    auto* lamp = Widget<ui::PanelPicture>("CONTROL_DengStaPic");
    lamp->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(WaitUntil([&] { return lamp->hasFocus(); }));
    Press(lamp, Qt::Key_Space);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier);
    QCoreApplication::sendEvent(lamp, &release);
    Settle();
    EXPECT_TRUE(view_.on) << "Space on the lamp turns the lighting view on";
    EXPECT_TRUE(Shown("CONTROL_XGcombox"));
}

TEST_F(LightingPanelTest, TheKeyboardsOwnChangesAreReadBackAndDrawn)
{
    Arrive(0);
    ASSERT_EQ(Keyboard().Control("lighting 0 1 1").substr(0, 2), "ok");
    ASSERT_TRUE(WaitUntil([this] { return Widget<CBitmapSlider>("CONTROL_LightSlider")->Position() == 1; }));

    // A burst of changes ends with the panel showing the last.
    Keyboard().Control("lighting 0 2 0");
    Keyboard().Control("lighting 0 0 6");
    ASSERT_TRUE(WaitUntil([this] { return Shown("CONTROL_FYYSButton"); }));
    Settle();
    EXPECT_FALSE(Shown("CONTROL_SpeedSlider"));
    EXPECT_EQ(Widget<QComboBox>("CONTROL_XGcombox")->currentText(), "Static");
    // The read-back writes nothing.
    for (const SentCommand& c : TakeSent())
        EXPECT_NE(c.command, kWriteRecord);

    // An effect the program does not know hides every effect control but leaves the list.
    Keyboard().Control("lighting 0 0 19");
    ASSERT_TRUE(WaitUntil([this] { return !Shown("CONTROL_LightSlider"); }));
    EXPECT_TRUE(Shown("CONTROL_XGcombox"));
    EXPECT_EQ(Widget<QComboBox>("CONTROL_XGcombox")->currentIndex(), -1);
    EXPECT_FALSE(Shown("CONTROL_FYYSButton"));
}

} // namespace
} // namespace kovantis::testing
