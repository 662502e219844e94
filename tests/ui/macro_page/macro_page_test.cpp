// The macro page driven as a user drives it: clicks, key events with their own time stamps and
// in-place cell edits, against a macro list in memory.

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QTableView>

#include "key_events.h"
#include "keyboard/key_table.h"
#include "macro_page_fixture.h"
#include "ui/key_assignment/key_capture_filter.h"
#include "ui/skin/c_png_button.h"
#include "unit/macros/fake_macro_host.h"

namespace kovantis {
namespace {

using testing::DeliverTimedKey;
using testing::FakeMacroHost;
using testing::MacroDialog;
using testing::StoredMacro;

constexpr int kRecordA = 0x01E;
constexpr int kControlA = 1058;
constexpr KeyCode kA = 0x01E;
constexpr KeyCode kB = 0x030;
constexpr KeyCode kC = 0x02E;

// Typing into a text field, one key event per character.
void Type(QWidget& field, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(&field, &press);
    }
}

void TypeKey(QWidget& field, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&field, &press);
}

class BankStore final : public AssignmentRecordStore {
public:
    BankStore() { InitBank(bank); }
    KeyAssignment ReadRecord(int record) override { return bank[static_cast<size_t>(record)]; }
    bool WriteRecord(int record, const KeyAssignment& value, bool) override
    {
        bank[static_cast<size_t>(record)] = value;
        return true;
    }
    Bank bank{};
};

class MacroPageTest : public ::testing::Test {
protected:
    MacroPageTest()
    {
        auto owned = std::make_unique<FakeMacroHost>();
        host = owned.get();
        host->working = {StoredMacro(1, u"Greeting", {{40, kA, kMacroPress}, {10, kA, kMacroRelease}})};
        ui = std::make_unique<MacroDialog>(store, std::move(owned));
    }
    void OpenOnMacroKey()
    {
        store.bank[kRecordA] = MakeAssignment(AssignmentKind::PlayMacro, 1, 1);
        ASSERT_TRUE(ui->Open(kRecordA, kControlA));
        ASSERT_EQ(ui->Dialog().Model().Page(), KeyPage::Macro);
    }
    std::vector<MacroAction> Rows() const
    {
        const auto rows = ui->Editor().Steps().Rows();
        return {rows.begin(), rows.end()};
    }
    CPngButton& Button(int id) { return *ui->Page().Button(id); }

    BankStore store;
    FakeMacroHost* host = nullptr;
    std::unique_ptr<MacroDialog> ui;
};

TEST_F(MacroPageTest, RecordingTakesKeysWithTheirPausesAndSwallowsThem)
{
    OpenOnMacroKey();
    ui->Page().StepList()->selectRow(1);
    ui->Page().PressRecord(1000);
    EXPECT_EQ(Button(kMacroRecordControlId).text(), "Stop recording");
    EXPECT_TRUE(Button(kMacroRecordControlId).IsOn());
    EXPECT_TRUE(ui->Page().Capturing());
    EXPECT_FALSE(ui->Page().Selector()->isEnabled());
    EXPECT_FALSE(Button(kMacroAddControlId).isEnabled());

    QWidget& window = ui->Dialog();
    EXPECT_TRUE(DeliverTimedKey(window, QEvent::KeyPress, KEY_B, 1100));
    EXPECT_TRUE(DeliverTimedKey(window, QEvent::KeyPress, KEY_B, 1130, true));  // held: a repeat
    EXPECT_TRUE(DeliverTimedKey(window, QEvent::KeyRelease, KEY_B, 1250));
    EXPECT_TRUE(DeliverTimedKey(window, QEvent::KeyPress, KEY_C, 1400));
    EXPECT_TRUE(DeliverTimedKey(window, QEvent::KeyRelease, KEY_C, 1600));
    // A volume key is not the recorder's: the desktop gets it.
    EXPECT_FALSE(DeliverTimedKey(window, QEvent::KeyPress, KEY_VOLUMEUP, 1700));

    const std::vector<MacroAction> expected = {{40, kA, kMacroPress},    {100, kA, kMacroRelease},
                                               {150, kB, kMacroPress},   {150, kB, kMacroRelease},
                                               {200, kC, kMacroPress},   {10, kC, kMacroRelease}};
    EXPECT_EQ(Rows(), expected);
    ASSERT_EQ(ui->Page().StepList()->model()->rowCount(), 6);
    EXPECT_EQ(ui->CellText(2, 0), "B");
    EXPECT_EQ(ui->CellText(2, 1), QStringLiteral("\u2193"));
    EXPECT_EQ(ui->CellText(3, 1), QStringLiteral("  \u2191"));
    EXPECT_EQ(ui->CellText(3, 2), "150");
    EXPECT_EQ(ui->Page().StepList()->currentIndex().row(), 5);
    EXPECT_TRUE(ui->Dialog().Button(kDialogApplyControlId)->isEnabled());

    Button(kMacroRecordControlId).click();
    EXPECT_FALSE(ui->Editor().Recording());
    EXPECT_FALSE(ui->Page().Capturing());
    EXPECT_EQ(Button(kMacroRecordControlId).text(), "Record");
    EXPECT_TRUE(ui->Page().Selector()->isEnabled());
}

TEST_F(MacroPageTest, EveryWayOffThePageEndsTheRecordingAndTheGrab)
{
    OpenOnMacroKey();
    const auto recording = [&] {
        ui->Page().PressRecord(0);
        return ui->Page().Capturing();
    };
    ASSERT_TRUE(recording());
    ui->Dialog().PressPage(KeyPage::Media);
    EXPECT_FALSE(ui->Editor().Recording());
    EXPECT_FALSE(ui->Page().Capturing());
    EXPECT_FALSE(ui->Page().StepList()->isVisible());

    ui->Dialog().PressPage(KeyPage::Macro);
    ASSERT_TRUE(recording());
    ASSERT_NE(ui->EditCell(0, 2), nullptr);  // a pause edit
    EXPECT_FALSE(ui->Editor().Recording());
    QCoreApplication::processEvents();
    EXPECT_FALSE(ui->Page().Capturing());

    ASSERT_TRUE(recording());
    ui->Dialog().PressApply();
    EXPECT_FALSE(ui->Editor().Recording());
    EXPECT_FALSE(ui->Page().Capturing());

    ASSERT_TRUE(recording());
    // Another window takes the focus: the grab is gone, and with it the recording.
    QWidget other;
    other.show();
    other.activateWindow();
    QApplication::setActiveWindow(&other);
    QCoreApplication::processEvents();
    EXPECT_FALSE(ui->Editor().Recording());
    EXPECT_FALSE(ui->Page().Capturing());
    other.hide();

    ASSERT_TRUE(ui->Open(kRecordA, kControlA) || ui->Dialog().IsOpen());
    ASSERT_TRUE(testing::ShowActive(ui->Dialog()));
    ASSERT_TRUE(recording());
    ui->Dialog().CloseFromOutside();  // unplugged, or the program quits
    EXPECT_FALSE(ui->Page().Capturing());
    EXPECT_FALSE(ui->Dialog().isVisible());
}

TEST_F(MacroPageTest, CellsAreEditedInPlaceWithinTheirLimits)
{
    OpenOnMacroKey();
    auto* delay = qobject_cast<QLineEdit*>(ui->EditCell(0, 2));
    ASSERT_NE(delay, nullptr);
    EXPECT_FALSE(delay->validator() == nullptr);
    delay->setText("40001");
    // OK with the edit still open commits it first.
    ui->Dialog().PressApply();
    ASSERT_EQ(ui->Prompter().Messages().size(), 1u);
    EXPECT_EQ(ui->Prompter().Messages()[0], u"The longest delay is 40000 ms.");
    EXPECT_EQ(host->committed.at(0).actions[0].delay, 40000u);

    auto* keys = qobject_cast<QComboBox*>(ui->EditCell(1, 0));
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(keys->count(), kPickerSize);
    EXPECT_EQ(keys->currentIndex(), PickerPositionOf(kA));
    keys->setCurrentIndex(PickerPositionOf(kC));
    emit keys->activated(keys->currentIndex());
    QCoreApplication::processEvents();
    EXPECT_EQ(ui->Editor().Steps().Row(1).key, kC);
    EXPECT_EQ(ui->CellText(1, 0), "C");

    auto* state = qobject_cast<QComboBox*>(ui->EditCell(1, 1));
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->currentIndex(), 1);
    state->setCurrentIndex(0);
    emit state->activated(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(ui->Editor().Steps().Row(1).state, kMacroPress);

    auto* again = qobject_cast<QLineEdit*>(ui->EditCell(1, 2));
    ASSERT_NE(again, nullptr);
    again->setText("123");
    ui->Dialog().PressOk();
    EXPECT_FALSE(ui->Dialog().isVisible());
    const std::vector<MacroAction> expected = {{40000, kA, kMacroPress}, {120, kC, kMacroPress}};
    const MacroRecord& saved = host->committed.at(0);
    EXPECT_EQ(std::vector<MacroAction>(saved.actions.begin(), saved.actions.begin() + saved.actionCount), expected);
    EXPECT_EQ(store.bank[kRecordA], MakeAssignment(AssignmentKind::PlayMacro, 1, 1));
}

TEST_F(MacroPageTest, SelectorPlayCountAndRecordDelayFollowTheUser)
{
    OpenOnMacroKey();
    QComboBox& selector = *ui->Page().Selector();
    EXPECT_EQ(selector.currentText(), "Greeting");
    Button(kMacroAddControlId).click();
    EXPECT_EQ(selector.count(), 2);
    EXPECT_EQ(selector.currentText(), "Macro1");
    EXPECT_EQ(ui->Page().StepList()->model()->rowCount(), 0);

    QLineEdit& name = *selector.lineEdit();
    name.selectAll();
    Type(name, "Jump");
    EXPECT_EQ(ui->Editor().Entry(1).Name(), u"Jump");
    EXPECT_EQ(selector.itemText(1), "Jump");

    QLineEdit& count = *ui->Page().PlayCount();
    count.selectAll();
    Type(count, "300");
    EXPECT_EQ(count.text(), "255");
    count.selectAll();
    Type(count, "0");
    EXPECT_EQ(count.text(), "1");
    count.selectAll();
    TypeKey(count, Qt::Key_Backspace);
    EXPECT_EQ(count.text(), "1");

    const bool before = ui->Page().RecordDelay()->isChecked();
    ui->Page().RecordDelay()->click();
    EXPECT_NE(ui->Page().RecordDelay()->isChecked(), before);
    EXPECT_EQ(host->stored, before ? 0 : 1);
    // The option's text takes a click as the box does.
    QLabel& label = *ui->Page().RecordDelayLabel();
    const QPointF inside(4, 4);
    QMouseEvent press(QEvent::MouseButtonPress, inside, label.mapToGlobal(inside), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, inside, label.mapToGlobal(inside), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(&label, &press);
    QCoreApplication::sendEvent(&label, &release);
    EXPECT_EQ(ui->Page().RecordDelay()->isChecked(), before);
    EXPECT_EQ(host->stored, before ? 1 : 0);

    // Cancel: nothing reaches the program's macros, the setting stays as written.
    ui->Dialog().PressCancel();
    EXPECT_EQ(host->commits, 0);
    EXPECT_EQ(host->working.size(), 1u);
    EXPECT_EQ(store.bank[kRecordA], MakeAssignment(AssignmentKind::PlayMacro, 1, 1));
}

TEST_F(MacroPageTest, SpaceGaugeShowsTheMacroAreaAgainstTheKeyboardsSpace)
{
    host->space = 64;
    OpenOnMacroKey();
    QProgressBar& gauge = *ui->Page().SpaceGauge();
    EXPECT_TRUE(gauge.isVisible());
    EXPECT_EQ(gauge.maximum(), 64);
    // 16 + 2 + 4 + 2 steps × 4 + "Greeting" 8 × 2
    EXPECT_EQ(gauge.value(), 46);
    for (int i = 0; i < 10; ++i)
        ui->Editor().AddStep({0, kB, kMacroPress}, {}, true);
    ui->Page().Redraw();
    EXPECT_EQ(gauge.value(), 64);
    ui->Dialog().PressOk();
    EXPECT_TRUE(ui->Dialog().isVisible()) << "70 bytes do not fit 64";
    EXPECT_EQ(host->commits, 0);
    ASSERT_FALSE(ui->Prompter().Messages().empty());
    EXPECT_EQ(ui->Prompter().Messages().back(), u"EXTRA_MACRO_TOO_LONG");
}

TEST_F(MacroPageTest, TheMacroButtonOpensTheMacroPageAlone)
{
    store.bank[kGKeyRecordsBankA + 8] = MakeAssignment(AssignmentKind::Default);
    ASSERT_TRUE(ui->Open(kGKeyRecordsBankA + 8, kMacroOnlyControlId));
    EXPECT_EQ(ui->Dialog().Model().Page(), KeyPage::Macro);
    EXPECT_TRUE(ui->Page().StepList()->isVisible());
    EXPECT_EQ(ui->Page().Selector()->currentText(), "Greeting");
    EXPECT_EQ(ui->Page().StepList()->model()->rowCount(), 2);
}

} // namespace
} // namespace kovantis
