// The lighting on the key pictures: painting keys in effect 20, the user modes, and the preview
// that runs only while it can be seen and repaints only what changed.

#include <QApplication>
#include <QComboBox>
#include <QEnterEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>

#include "keyboard/physical_layout.h"
#include "panel_fixture.h"
#include "platform/ini_file.h"
#include "ui/lighting/user_mode_group.h"
#include "ui/skin/c_png_button.h"
#include "ui/skin/c_skin_color_button.h"

namespace kovantis::testing {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr int kPerKeyProfile = 2;  // the keyboard's profile 2 starts in effect 20

const PhysicalKey& KeyOf(KeyCode code)
{
    const PhysicalKey* key = PhysicalKeyOfCode(code);
    EXPECT_NE(key, nullptr);
    return *key;
}
const PhysicalKey& KeyA() { return KeyOf(0x1E); }
const PhysicalKey& KeyS() { return KeyOf(0x1F); }

std::u16string ModeValue(const std::string& file, const std::string& section, const std::string& key)
{
    const IniDocument ini = IniDocument::Parse(file);
    return ini.Read(std::u16string(section.begin(), section.end()), std::u16string(key.begin(), key.end()), u"");
}

void Choose(CSkinColorButton* button, QColor colour)
{
    button->SetColorChooser([colour](const QColor&, QWidget*) { return std::optional<QColor>(colour); });
    button->click();
}

Bytes ColourAt(const Bytes& table, int index)
{
    return Bytes(table.begin() + index * 3, table.begin() + index * 3 + 3);
}

// Counts paint events of the key buttons under the lighting.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

TEST_F(LightingPanelTest, PaintingInEffect20WritesTheKeyAndItsModeLine)
{
    Arrive(kPerKeyProfile);
    ASSERT_TRUE(Shown("CONTROL_umCombo"));
    const std::string mode = "Mode" + std::to_string(modes_->View().mode);

    // The brush goes to the mode file only; the keyboard hears of it when a key is painted.
    Choose(panel_->UserModes().BrushButton(), QColor(10, 20, 30));
    Settle();
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_EQ(ModeValue(ModeFile(kPerKeyProfile), mode, "color"), u"10,20,30");

    const PhysicalKey& a = KeyA();
    ASSERT_TRUE(panel_->TakeKeyClick(a.controlId));
    Settle();
    const std::vector<SentCommand> sent = TakeSent();
    ASSERT_EQ(CommandCodes(sent), (std::vector<int>{kBegin, kWriteColours, kEnd}));
    EXPECT_EQ(sent[1].address, kPerKeyProfile * 512 + a.matrixIndex * 3);
    EXPECT_EQ(sent[1].data, (Bytes{10, 20, 30}));
    EXPECT_EQ(ColourAt(KeyboardColours(kPerKeyProfile), a.matrixIndex), (Bytes{10, 20, 30}));
    EXPECT_EQ(ModeValue(ModeFile(kPerKeyProfile), mode, std::to_string(a.matrixIndex)), u"10,20,30,0");
    EXPECT_EQ(panel_->Layer()->ShownColour(a.controlId), (Rgb{10, 20, 30}));

    // Fn paints its own position.
    ASSERT_TRUE(panel_->TakeKeyClick(kFnControlId));
    Settle();
    EXPECT_EQ(TakeSent().at(1).address, kPerKeyProfile * 512 + kFnMatrixIndex * 3);

    // G keys always open key assignment editing.
    EXPECT_FALSE(panel_->TakeKeyClick(GKeyControlId(0)));
    Settle();
    EXPECT_TRUE(TakeSent().empty());

    // Another effect in the lighting view: the click is the lighting's, and does nothing.
    ChooseEffect(6);
    TakeSent();
    EXPECT_TRUE(panel_->TakeKeyClick(KeyS().controlId));
    Settle();
    EXPECT_TRUE(TakeSent().empty());

    // The function view: key assignment editing.
    Click("CONTROL_DengStaPic");
    TakeSent();
    EXPECT_FALSE(panel_->TakeKeyClick(a.controlId));
}

TEST_F(LightingPanelTest, ABaseColourChangeRecoloursTheKeysThatFollowIt)
{
    Arrive(kPerKeyProfile);
    const std::string mode = "Mode" + std::to_string(modes_->View().mode);
    auto& group = panel_->UserModes();
    // S takes the base colour with the base tool (and follows it from then on); A the brush.
    Click("CONTROL_USERgjStaPic2");
    ASSERT_TRUE(panel_->TakeKeyClick(KeyS().controlId));
    Click("CONTROL_USERgjStaPic1");
    Choose(group.BrushButton(), QColor(1, 2, 3));
    Settle();
    ASSERT_TRUE(panel_->TakeKeyClick(KeyA().controlId));
    Settle();
    TakeSent();

    Choose(group.BaseButton(), QColor(50, 60, 70));
    Settle();
    const std::vector<SentCommand> sent = TakeSent();
    ASSERT_EQ(sent.size(), 9u) << "the whole table in seven writes inside begin and end";
    EXPECT_EQ(sent.front().command, kBegin);
    EXPECT_EQ(sent.back().command, kEnd);
    for (int j = 0; j < 7; ++j) {
        EXPECT_EQ(sent[static_cast<size_t>(j) + 1].command, kWriteColours);
        EXPECT_EQ(sent[static_cast<size_t>(j) + 1].address, kPerKeyProfile * 512 + j * 54);
        EXPECT_EQ(sent[static_cast<size_t>(j) + 1].length, 54);
    }
    const Bytes table = KeyboardColours(kPerKeyProfile);
    EXPECT_EQ(ColourAt(table, KeyS().matrixIndex), (Bytes{50, 60, 70}));
    EXPECT_EQ(ColourAt(table, KeyA().matrixIndex), (Bytes{1, 2, 3})) << "a key painted with the brush keeps its colour";
    const std::string file = ModeFile(kPerKeyProfile);
    EXPECT_EQ(ModeValue(file, mode, std::to_string(KeyS().matrixIndex)), u"50,60,70,1");
    EXPECT_EQ(ModeValue(file, mode, "jcolor"), u"50,60,70");
    EXPECT_EQ(panel_->Layer()->ShownColour(KeyS().controlId), (Rgb{50, 60, 70}));
    EXPECT_EQ(group.BaseButton()->Color(), QColor(50, 60, 70));

    // The colour it already has: nothing sent, nothing written.
    Choose(group.BaseButton(), QColor(50, 60, 70));
    Settle();
    EXPECT_TRUE(TakeSent().empty());
}

TEST_F(LightingPanelTest, SelectingAModeRenamesNothingAndTypingRenamesTheCurrentOne)
{
    Arrive(kPerKeyProfile);
    const std::string before = ModeFile(kPerKeyProfile);
    auto* combo = panel_->UserModes().ModeCombo();
    const QString fourth = combo->itemText(3);

    combo->setCurrentIndex(3);
    emit combo->activated(3);
    Settle();
    std::vector<SentCommand> sent = TakeSent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front().command, kBegin);
    EXPECT_EQ(sent[1].command, kWriteColours) << "the mode's colours are sent";
    const std::string after = ModeFile(kPerKeyProfile);
    EXPECT_EQ(ModeValue(after, "PRESENTMODE", "mode"), u"3");
    for (int i = 0; i < 10; ++i) {
        const std::string key = std::to_string(i);
        EXPECT_EQ(ModeValue(after, "MODENAME", key), ModeValue(before, "MODENAME", key)) << "mode " << i;
    }
    EXPECT_EQ(combo->currentText(), fourth);

    // The user types a new name: the current mode takes it, in the list and in the file.
    QLineEdit* edit = combo->lineEdit();
    edit->selectAll();
    for (const char c : std::string("Lab")) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(c)));
        QCoreApplication::sendEvent(edit, &key);
        Settle();
    }
    EXPECT_EQ(ModeValue(ModeFile(kPerKeyProfile), "MODENAME", "3"), u"Lab");
    EXPECT_EQ(combo->itemText(3), "Lab");
    EXPECT_EQ(edit->text(), "Lab");

    // Another mode chosen, and the list refilled from code: no name changes.
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    Settle();
    panel_->Redraw();
    const std::string last = ModeFile(kPerKeyProfile);
    EXPECT_EQ(ModeValue(last, "MODENAME", "3"), u"Lab");
    EXPECT_EQ(ModeValue(last, "MODENAME", "1"), ModeValue(before, "MODENAME", "1"));
    EXPECT_EQ(ModeValue(last, "PRESENTMODE", "mode"), u"1");
    EXPECT_EQ(combo->currentIndex(), 1);
}

TEST_F(LightingPanelTest, ThePreviewRunsOnlyWhileTheWindowShowsTheLightingView)
{
    Arrive(0, false);  // wave, view off
    EXPECT_FALSE(panel_->PreviewRunning());
    dialog_->show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(panel_->PreviewRunning()) << "the function view needs no preview";

    Click("CONTROL_DengStaPic");
    ASSERT_TRUE(WaitUntil([this] { return panel_->PreviewRunning(); }));
    // The wave moves: frames keep coming, and each is one paint pass of the layer alone.
    PaintCounter counter;
    for (const auto& [id, button] : keys_)
        button->installEventFilter(&counter);
    const int passes = panel_->Layer()->PaintPasses();
    ASSERT_TRUE(WaitUntil([&] { return panel_->Layer()->PaintPasses() >= passes + 5; }));
    EXPECT_EQ(counter.paints, 0) << "no key button is repainted for a frame";

    dialog_->hide();
    ASSERT_TRUE(WaitUntil([this] { return !panel_->PreviewRunning(); }));
    dialog_->show();
    ASSERT_TRUE(WaitUntil([this] { return panel_->PreviewRunning(); }));
    Click("FUNC_SWITCH");
    ASSERT_TRUE(WaitUntil([this] { return !panel_->PreviewRunning(); }));
    for (const auto& [id, button] : keys_)
        button->removeEventFilter(&counter);
}

TEST_F(LightingPanelTest, AFrameRepaintsOnlyTheKeysWhoseColourChanged)
{
    Arrive(kPerKeyProfile);
    dialog_->show();
    ASSERT_TRUE(WaitUntil([this] { return panel_->PreviewRunning() && panel_->Layer()->PaintPasses() > 0; }));
    // Effect 20 stands still: the timer runs, nothing is painted.
    const int passes = panel_->Layer()->PaintPasses();
    WaitUntil([] { return false; }, std::chrono::milliseconds(300));
    EXPECT_EQ(panel_->Layer()->PaintPasses(), passes);

    Choose(panel_->UserModes().BrushButton(), QColor(200, 0, 200));
    Settle();
    ASSERT_TRUE(panel_->TakeKeyClick(KeyA().controlId));
    Settle();
    ASSERT_TRUE(WaitUntil([&] { return panel_->Layer()->PaintPasses() > passes; }));
    EXPECT_EQ(panel_->Layer()->KeysInLastPass(), 1);
    EXPECT_EQ(panel_->Layer()->PaintPasses(), passes + 1);
}

TEST_F(LightingPanelTest, ALitKeyStillShowsThePointerOverIt)
{
    Arrive(1);  // static colours: frames change nothing
    dialog_->show();
    ASSERT_TRUE(WaitUntil([this] { return panel_->PreviewRunning() && panel_->Layer()->PaintPasses() > 0; }));
    CPngButton* a = keys_.at(KeyA().controlId);
    const QRect area = a->geometry();
    const QImage before = dialog_->grab(area).toImage();
    const int passes = panel_->Layer()->PaintPasses();

    QEnterEvent enter(QPointF(5, 5), a->mapToGlobal(QPointF(5, 5)), a->mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(a, &enter);
    ASSERT_TRUE(WaitUntil([&] { return panel_->Layer()->PaintPasses() > passes; }));
    EXPECT_EQ(panel_->Layer()->KeysInLastPass(), 1);
    EXPECT_NE(dialog_->grab(area).toImage(), before) << "the lit key shows its hover picture";
    EXPECT_TRUE(panel_->Layer()->ShownColour(KeyA().controlId).has_value());

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(a, &leave);
    ASSERT_TRUE(WaitUntil([&] { return dialog_->grab(area).toImage() == before; }));
}

} // namespace
} // namespace kovantis::testing
