// The key assignment dialog driven as a user drives it: clicks on its buttons and key events
// carrying native scan codes, with the default skin, storing into a plain bank.

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "key_events.h"
#include "keyboard/bank.h"
#include "keyboard/key_assignment_dialog_model.h"
#include "support/fake_ports.h"
#include "ui/key_assignment/key_capture_filter.h"
#include "ui/key_assignment/key_picker_dialog.h"
#include "ui/key_assignment/kovantis_dlg_composite.h"
#include "ui/skin/c_png_button.h"

namespace kovantis {
namespace {

using testing::DeliverKey;
using testing::ShowActive;
using testing::TypeKey;

constexpr int kRecordA = 0x01E;
constexpr int kControlA = 1058;
constexpr int kG9BankA = kGKeyRecordsBankA + 8;

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

class RecordingStarter final : public ProcessStarter {
public:
    bool StartDetached(const std::string& program, const std::vector<std::string>&, const std::string&) override
    {
        started.push_back(program);
        return true;
    }
    std::vector<std::string> started;
};

// Counts a signal's emissions and keeps the first argument of the last one.
struct Spy {
    template <typename Signal>
    Spy(Kovantis_DlgComposite* dialog, Signal signal)
    {
        QObject::connect(dialog, signal, dialog, [this](auto... args) {
            ++count;
            ((last = static_cast<int>(args)), ...);
        });
    }
    int count = 0;
    int last = 0;
};

std::string SkinFile()
{
    const char* bin = std::getenv("KOVANTIS_BIN_DIR");
    return bin ? std::string(bin) + "/Skins/Composite.ini" : std::string("Skins/Composite.ini");
}

class CompositeDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        texts.Set("KEY_SETTING_TISHI", u"Key assignment");
        texts.Set("MACRO_EDIT_TISHI", u"Macro editor");
        texts.Set("SINGLE_KEY", u"Key");
        texts.Set("MULTI_MEDIA", u"Media");
        dialog = std::make_unique<Kovantis_DlgComposite>(
            CompositeSetup{SkinFile(), names, texts, model, starter, searchPath});
        ASSERT_TRUE(dialog->Prepare()) << SkinFile();
    }
    void TearDown() override { dialog.reset(); }

    void OpenOn(int record, int controlId = kControlA)
    {
        ASSERT_TRUE(dialog->OpenForKey(record, controlId, QRect(100, 100, 40, 40)));
        ASSERT_TRUE(ShowActive(*dialog));
    }
    QString Field() const { return dialog->KeyField()->text(); }
    void Click(int controlId) { dialog->Button(controlId)->click(); }
    KeyAssignment& Record(int record) { return store.bank[static_cast<size_t>(record)]; }

    KeyNames names;
    testing::FakeTexts texts;
    BankStore store;
    KeyAssignmentDialogModel model{store};
    RecordingStarter starter;
    std::string searchPath;
    std::unique_ptr<Kovantis_DlgComposite> dialog;
};

TEST_F(CompositeDialogTest, OpensOnTheSingleKeyPageCapturing)
{
    OpenOn(kRecordA);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->Title()->text(), "Key assignment");
    EXPECT_TRUE(dialog->PageButton(KeyPage::SingleKey)->IsOn());
    EXPECT_FALSE(dialog->PageButton(KeyPage::Media)->IsOn());
    EXPECT_EQ(dialog->PageButton(KeyPage::SingleKey)->text(), "Key");
    EXPECT_TRUE(dialog->KeyField()->isVisible());
    EXPECT_TRUE(Field().isEmpty());
    EXPECT_FALSE(dialog->MediaList()->isVisible());
    EXPECT_FALSE(dialog->Button(kDialogApplyControlId)->isEnabled());
    EXPECT_TRUE(dialog->Capture().Running());
    EXPECT_TRUE(dialog->Capture().Grabbing());
    EXPECT_EQ(dialog->MediaList()->count(), 18);
    EXPECT_EQ(dialog->FunctionList()->count(), 11);
    // A second opening while open is refused.
    EXPECT_FALSE(dialog->OpenForKey(0x030, 1075, QRect()));
}

TEST_F(CompositeDialogTest, APressedKeyIsStoredOnOk)
{
    Spy closed(dialog.get(), &Kovantis_DlgComposite::Closed);
    Spy applied(dialog.get(), &Kovantis_DlgComposite::Applied);
    OpenOn(kRecordA);
    const auto delivered = DeliverKey(*dialog, QEvent::KeyPress, Qt::Key_B, KEY_B);
    EXPECT_TRUE(delivered.pressAccepted);
    DeliverKey(*dialog, QEvent::KeyRelease, Qt::Key_B, KEY_B);
    EXPECT_EQ(Field(), "B");
    EXPECT_TRUE(dialog->Button(kDialogApplyControlId)->isEnabled());
    // Releases and repeats take nothing.
    DeliverKey(*dialog, QEvent::KeyRelease, Qt::Key_C, KEY_C);
    DeliverKey(*dialog, QEvent::KeyPress, Qt::Key_C, KEY_C, Qt::NoModifier, true);
    EXPECT_EQ(Field(), "B");
    Click(1);
    EXPECT_EQ(Record(kRecordA), MakeAssignment(AssignmentKind::Key, 0x030));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(dialog->Capture().Running());
    ASSERT_EQ(closed.count, 1);
    EXPECT_EQ(closed.last, kControlA);
    EXPECT_EQ(applied.count, 1);
}

TEST_F(CompositeDialogTest, EnterEscAndTabAreKeysThatNeitherConfirmNorCancelNorMoveFocus)
{
    OpenOn(kRecordA);
    QWidget* focus = QApplication::focusWidget();
    const auto esc = DeliverKey(*dialog, QEvent::KeyPress, Qt::Key_Escape, KEY_ESC);
    EXPECT_TRUE(esc.overrideAccepted) << "no shortcut may take Esc";
    DeliverKey(*dialog, QEvent::KeyRelease, Qt::Key_Escape, KEY_ESC);
    EXPECT_EQ(Field(), "Esc");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(model.IsOpen());
    TypeKey(*dialog, Qt::Key_Tab, KEY_TAB);
    EXPECT_EQ(Field(), "Tab");
    EXPECT_EQ(QApplication::focusWidget(), focus);
    TypeKey(*dialog, Qt::Key_Return, KEY_ENTER);
    EXPECT_EQ(Field(), "Enter");
    EXPECT_TRUE(dialog->isVisible());
    // Esc is stored like any key.
    TypeKey(*dialog, Qt::Key_Escape, KEY_ESC);
    Click(kDialogApplyControlId);
    EXPECT_EQ(Record(kRecordA), MakeAssignment(AssignmentKind::Key, 0x001));
    EXPECT_TRUE(dialog->isVisible());

    // Where nothing is captured, Esc and Enter still neither cancel nor confirm.
    Click(kMediaPageControlId);
    EXPECT_FALSE(dialog->Capture().Running());
    TypeKey(*dialog, Qt::Key_Escape, KEY_ESC);
    TypeKey(*dialog, Qt::Key_Return, KEY_ENTER);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(model.IsOpen());
}

TEST_F(CompositeDialogTest, TheWindowsKeyIsCapturedAndMediaKeysPassThrough)
{
    OpenOn(kRecordA);
    const auto volume = DeliverKey(*dialog, QEvent::KeyPress, Qt::Key_VolumeUp, KEY_VOLUMEUP);
    EXPECT_FALSE(volume.overrideAccepted);
    EXPECT_TRUE(Field().isEmpty());
    TypeKey(*dialog, Qt::Key_Meta, KEY_LEFTMETA);
    EXPECT_EQ(Field(), "Win");
    TypeKey(*dialog, Qt::Key_Print, KEY_SYSRQ);
    EXPECT_EQ(Field(), "Print Screen");
    TypeKey(*dialog, Qt::Key_Meta, KEY_LEFTMETA);
    Click(1);
    EXPECT_EQ(Record(kRecordA), MakeAssignment(AssignmentKind::Key, 0x15B));
}

TEST_F(CompositeDialogTest, CaptureRunsOnlyOnTheSingleKeyPageWhileTheDialogIsActive)
{
    OpenOn(kRecordA);
    ASSERT_TRUE(dialog->Capture().Grabbing());
    Click(kMediaPageControlId);
    EXPECT_FALSE(dialog->Capture().Running());
    EXPECT_FALSE(dialog->Capture().Grabbing());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    TypeKey(*dialog, Qt::Key_B, KEY_B);
    EXPECT_TRUE(Field().isEmpty());
    Click(kSingleKeyPageControlId);
    EXPECT_TRUE(dialog->Capture().Running());
    EXPECT_EQ(QWidget::keyboardGrabber(), dialog.get());

    // Another window becoming active takes the capture and the grab away; coming back restores
    // them.
    QWidget other;
    ASSERT_TRUE(ShowActive(other));
    EXPECT_FALSE(dialog->Capture().Running());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
    ASSERT_TRUE(ShowActive(*dialog));
    EXPECT_TRUE(dialog->Capture().Running());
    other.hide();

    Click(2);
    EXPECT_FALSE(dialog->Capture().Running());
    EXPECT_EQ(QWidget::keyboardGrabber(), nullptr);
}

TEST_F(CompositeDialogTest, MediaAndFunctionPagesStoreTheirLists)
{
    OpenOn(kRecordA);
    Click(kMediaPageControlId);
    EXPECT_TRUE(dialog->PageButton(KeyPage::Media)->IsOn());
    EXPECT_FALSE(dialog->PageButton(KeyPage::SingleKey)->IsOn());
    EXPECT_TRUE(dialog->MediaList()->isVisible());
    EXPECT_FALSE(dialog->KeyField()->isVisible());
    EXPECT_EQ(dialog->MediaList()->currentIndex(), 0);
    dialog->MediaList()->setCurrentIndex(4);
    Click(1);
    EXPECT_EQ(Record(kRecordA), MakeAssignment(AssignmentKind::Media, 4));

    // Opened again, the media page shows the stored selection.
    OpenOn(kRecordA);
    EXPECT_TRUE(dialog->MediaList()->isVisible());
    EXPECT_EQ(dialog->MediaList()->currentIndex(), 4);
    Click(kFunctionPageControlId);
    dialog->FunctionList()->setCurrentIndex(8);
    Click(1);
    EXPECT_EQ(Record(kRecordA), MakeAssignment(AssignmentKind::Function, 8));
}

TEST_F(CompositeDialogTest, ClearAndCancel)
{
    Record(kRecordA) = MakeAssignment(AssignmentKind::Key, 0x030);
    OpenOn(kRecordA);
    EXPECT_EQ(Field(), "B");
    Click(kClearControlId);
    EXPECT_TRUE(Field().isEmpty());
    Click(2);
    EXPECT_EQ(Record(kRecordA), MakeAssignment(AssignmentKind::Key, 0x030)) << "Cancel stores nothing";

    OpenOn(kRecordA);
    Click(kClearControlId);
    Click(1);
    EXPECT_EQ(Record(kRecordA), KeyAssignment{});

    // The close from outside is the Cancel path too.
    Spy closed(dialog.get(), &Kovantis_DlgComposite::Closed);
    OpenOn(kRecordA);
    TypeKey(*dialog, Qt::Key_C, KEY_C);
    dialog->CloseFromOutside();
    EXPECT_EQ(closed.count, 1);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Record(kRecordA), KeyAssignment{});
}

TEST_F(CompositeDialogTest, MacroOnlyModeOffersOnlyTheMacroPage)
{
    OpenOn(kG9BankA, kMacroOnlyControlId);
    EXPECT_EQ(dialog->Title()->text(), "Macro editor");
    for (KeyPage page : {KeyPage::SingleKey, KeyPage::Media, KeyPage::Function})
        EXPECT_FALSE(dialog->PageButton(page)->isEnabled());
    EXPECT_TRUE(dialog->PageButton(KeyPage::Macro)->isEnabled());
    EXPECT_TRUE(dialog->PageButton(KeyPage::Macro)->IsOn());
    EXPECT_FALSE(dialog->Button(kClearControlId)->isEnabled());
    EXPECT_FALSE(dialog->KeyField()->isVisible());
    EXPECT_FALSE(dialog->Capture().Running());
    Click(2);
}

TEST_F(CompositeDialogTest, WithoutAnOnScreenKeyboardEveryKeyCanBeChosenFromAList)
{
    Spy offered(dialog.get(), &Kovantis_DlgComposite::KeyListOffered);
    OpenOn(kRecordA);
    Click(kOnScreenKeyboardControlId);
    ASSERT_EQ(offered.count, 1);
    EXPECT_TRUE(starter.started.empty());
    auto* picker = dialog->findChild<ui::KeyPickerDialog*>();
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->List().count(), 106);
    const auto rows = picker->List().findItems("Print Screen", Qt::MatchExactly);
    ASSERT_EQ(rows.size(), 1);
    picker->List().setCurrentItem(rows.front());
    picker->accept();
    QCoreApplication::processEvents();
    EXPECT_EQ(Field(), "Print Screen");
    Click(1);
    EXPECT_EQ(Record(kRecordA), MakeAssignment(AssignmentKind::Key, 0x137));
}

TEST_F(CompositeDialogTest, AnInstalledOnScreenKeyboardIsStartedWithoutAShell)
{
    const auto folder = std::filesystem::temp_directory_path() / ("kovantis-osk-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto program = folder / "onboard";
    std::ofstream(program) << "#!/bin/false\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    dialog.reset();
    searchPath = "relative:" + folder.string();
    dialog = std::make_unique<Kovantis_DlgComposite>(CompositeSetup{SkinFile(), names, texts, model, starter, searchPath});
    ASSERT_TRUE(dialog->Prepare());
    Spy offered(dialog.get(), &Kovantis_DlgComposite::KeyListOffered);
    OpenOn(kRecordA);
    Click(kOnScreenKeyboardControlId);
    ASSERT_EQ(starter.started.size(), 1u);
    EXPECT_EQ(starter.started.front(), program.string());
    EXPECT_EQ(offered.count, 0);
    Click(2);
    std::filesystem::remove_all(folder);
}

TEST_F(CompositeDialogTest, OpensBesideTheClickedKeyInsideTheScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect key(screen.right() - 60, screen.bottom() - 60, 40, 40);
    ASSERT_TRUE(dialog->OpenForKey(kRecordA, kControlA, key));
    const QRect placed = dialog->frameGeometry();
    EXPECT_TRUE(screen.contains(placed)) << placed.x() << "," << placed.y();
    EXPECT_EQ(placed.right() + 1, key.left()) << "left of the key";
    EXPECT_EQ(placed.bottom() + 1, key.top()) << "above the key";
    Click(2);
}

} // namespace
} // namespace kovantis
