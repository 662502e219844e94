// The profile manager on the main window's controllers, against kovantis-vkbd.

#include <QHeaderView>
#include <QTableWidget>

#include "main_window_fixture.h"
#include "platform/ini_file.h"
#include "profiles/profile_controller.h"
#include "profiles/profile_file.h"
#include "profiles/profile_manager_model.h"
#include "ui/profiles/c_kovantis_dlg_profile.h"
#include "ui/skin/c_png_button.h"

namespace kovantis::testing {
namespace {

class ProfileDialogTest : public MainWindowTest {
protected:
    void OpenDialog()
    {
        model_ = std::make_unique<ProfileManagerModel>(Window().Profiles(), *settings_);
        dialog_ = std::make_unique<CKovantis_DlgProfile>(paths_->SkinsFolder(), *model_, *language_, Window().Jobs());
        ASSERT_TRUE(dialog_->Initialise());
        dialog_->show();
        Settle();
    }
    void Settle() { ASSERT_TRUE(WaitUntil([this] { return !Window().Jobs().Busy(); })); }
    void Press(std::string_view key)
    {
        CPngButton* button = dialog_->Button(key);
        ASSERT_NE(button, nullptr) << key;
        button->click();
        Settle();
    }
    std::vector<bool> Ticks() const
    {
        std::vector<bool> ticks;
        for (int r = 0; r < dialog_->List()->rowCount(); ++r)
            ticks.push_back(dialog_->List()->item(r, 0)->checkState() == Qt::Checked);
        return ticks;
    }
    void Tick(int row)
    {
        dialog_->List()->item(row, 0)->setCheckState(Qt::Checked);
        Settle();
    }
    std::u16string Stored(int index) { return store_->Read(ProfileListValueName(index), u"<none>"); }
    int ActiveOnKeyboard() { return Keyboard().Dump("settings").at(10); }

    void TearDown() override
    {
        dialog_.reset();
        model_.reset();
        MainWindowTest::TearDown();
    }

    std::unique_ptr<ProfileManagerModel> model_;
    std::unique_ptr<CKovantis_DlgProfile> dialog_;
};

TEST_F(ProfileDialogTest, FillsThreeRowsWithTheActiveOneTickedAndHeadingsFromTheLanguageFile)
{
    StartWindow();
    Window().Jobs().Run([this] { Window().Link().Commands().SetActiveProfile(1); });
    OpenDialog();
    QTableWidget* list = dialog_->List();
    ASSERT_EQ(list->rowCount(), 3);
    EXPECT_EQ(Ticks(), (std::vector<bool>{false, true, false}));
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(list->item(r, 1)->text(), QStringLiteral("$Profile0"));
        EXPECT_EQ(list->item(r, 2)->text().toStdString(), (paths_->UserFolder() / "").string());
    }
    EXPECT_EQ(list->horizontalHeaderItem(0)->text().toStdU16String(), language_->Text("PROFILE_MANAGER_ACTIVE"));
    EXPECT_EQ(list->horizontalHeaderItem(2)->text().toStdU16String(), language_->Text("PROFILE_MANAGER_PATH"));
    EXPECT_FALSE(language_->Text("PROFILE_MANAGER_ACTIVE").empty());
    EXPECT_EQ(dialog_->Button("CONTROL_OK")->text().toStdU16String(), language_->Text("PROFILE_MANAGER_OK"));
    EXPECT_FALSE(dialog_->Button("CONTROL2_APPLY")->isEnabled());

    // Ticking is a single choice and enables Apply.
    Tick(2);
    EXPECT_EQ(Ticks(), (std::vector<bool>{false, false, true}));
    EXPECT_TRUE(dialog_->Button("CONTROL2_APPLY")->isEnabled());
}

TEST_F(ProfileDialogTest, DeleteThenApplyWritesTheStoredListRenumberedFromOne)
{
    StartWindow();
    OpenDialog();
    const std::filesystem::path a = userRoot_ / "a.kvp";
    const std::filesystem::path b = userRoot_ / "b.kvp";
    prompter_.openChoice = a.string();
    Press("FUNC_LOAD");
    prompter_.openChoice = b.string();
    Press("FUNC_LOAD");
    ASSERT_EQ(dialog_->List()->rowCount(), 5);
    dialog_->List()->selectRow(3);
    Press("FUNC_DELETE");
    ASSERT_EQ(dialog_->List()->rowCount(), 4);
    EXPECT_EQ(dialog_->List()->item(3, 1)->text(), QStringLiteral("b"));
    EXPECT_EQ(Stored(0), u"<none>");  // nothing stored before Apply

    Press("CONTROL2_APPLY");
    EXPECT_EQ(Stored(0), u"4");
    EXPECT_EQ(Stored(1), Utf8ToUtf16((paths_->UserFolder() / "$Profile0.kvp").string()));
    EXPECT_EQ(Stored(4), Utf8ToUtf16(b.string()));
    EXPECT_EQ(Stored(5), u"<none>");
    EXPECT_FALSE(dialog_->Button("CONTROL2_APPLY")->isEnabled());
    EXPECT_TRUE(dialog_->isVisible());
}

TEST_F(ProfileDialogTest, ATickedRowMakesThatProfileActiveAndReloadsFromTheKeyboard)
{
    StartWindow();
    OpenDialog();
    ASSERT_EQ(ActiveOnKeyboard(), 0);
    std::filesystem::remove(WorkingFilePath(*paths_));
    Tick(2);
    Press("CONTROL_OK");
    EXPECT_EQ(ActiveOnKeyboard(), 2);
    EXPECT_TRUE(std::filesystem::exists(WorkingFilePath(*paths_)));  // read back anew
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->result(), QDialog::Accepted);
    EXPECT_FALSE(model_->IsOpen());
    EXPECT_FALSE(ApplyEnabled());
}

TEST_F(ProfileDialogTest, CancelChangesNothing)
{
    StartWindow();
    OpenDialog();
    const std::vector<uint8_t> settings = Keyboard().Dump("settings");
    const auto working = std::filesystem::last_write_time(WorkingFilePath(*paths_));
    Tick(1);
    dialog_->List()->selectRow(0);
    Press("FUNC_DELETE");
    Press("CONTROL_CANCEL");
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
    EXPECT_EQ(Keyboard().Dump("settings"), settings);
    EXPECT_EQ(Stored(0), u"<none>");
    EXPECT_EQ(std::filesystem::last_write_time(WorkingFilePath(*paths_)), working);
    EXPECT_FALSE(model_->IsOpen());
}

TEST_F(ProfileDialogTest, AFailedActivationSaysSoAndKeepsTheDialogOpen)
{
    StartWindow();
    OpenDialog();
    Tick(1);
    Keyboard().Control("unplug");
    ASSERT_TRUE(WaitUntil([this] { return !Window().Link().State().Present(); }));
    const size_t before = prompter_.Messages().size();
    Press("CONTROL_OK");
    EXPECT_TRUE(dialog_->isVisible());
    ASSERT_GT(prompter_.Messages().size(), before);
    EXPECT_EQ(prompter_.Messages().back(), language_->Text("PROFILE_ACTIVATE_ERROR"));
    EXPECT_TRUE(dialog_->Button("CONTROL2_APPLY")->isEnabled());
    dialog_->CloseAsCancel();
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_FALSE(model_->IsOpen());
}

} // namespace
} // namespace kovantis::testing
