// The shell around the windows: the language commands in every open window, the tray icon on
// today's desktops, help, the window icon, the quit question and the line on standard error.

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QProcess>
#include <QTableWidget>

#include "app/language_table.h"
#include "main_window_fixture.h"
#include "platform/ini_file.h"
#include "profiles/profile_manager_model.h"
#include "platform/posix_process_starter.h"
#include "profiles/unsaved_changes.h"
#include "ui/profiles/c_kovantis_dlg_profile.h"
#include "ui/shell/tray_icon.h"
#include "ui/skin/c_png_button.h"
#include "ui/update/c_kovantis_dlg_update.h"

namespace kovantis::testing {
namespace {

// The texts of one section of the shipped language file, read without the program's table.
class ShippedTexts {
public:
    ShippedTexts() : file_(IniDocument::Load(BinDir() + "/Skins/language.ini")) {}
    QString Text(const char* section, const char* key) const
    {
        const std::u16string text = file_->Read(Utf8ToUtf16(section), Utf8ToUtf16(key), u"");
        return QString::fromStdU16String(text);
    }

private:
    std::optional<IniDocument> file_;
};

class ShellTest : public MainWindowTest {
protected:
    void TearDown() override
    {
        dialog_.reset();
        model_.reset();
        MainWindowTest::TearDown();
    }
    // Every visible caption and tooltip the language file gives, in `section`.
    void ExpectTexts(const char* section)
    {
        SCOPED_TRACE(section);
        auto text = [&](const char* key) { return shipped_.Text(section, key); };
        ASSERT_FALSE(text("PROFILE_1").isEmpty());
        EXPECT_EQ(Window().windowTitle(), text("MAIN_CAPTION"));
        EXPECT_EQ(Window().Control("FUNC_PROFILE1")->text(), text("PROFILE_1"));
        EXPECT_EQ(Window().Control("FUNC_MACRO")->text(), text("PROFILE_MACRO"));
        EXPECT_EQ(Window().Control("CONTROL_OK")->text(), text("PROFILE_OK"));
        EXPECT_EQ(Window().Control("CONTROL_CANCEL")->text(), text("PROFILE_CANCLE"));
        EXPECT_EQ(Window().Control("CONTROL2_APPLY")->text(), text("PROFILE_APPLY"));
        EXPECT_EQ(Window().Control("CONTROL_CLOSE")->TipText(), text("MAIN_CLOSE_PROMPT"));
        EXPECT_EQ(Window().Control("CONTROL_MENU")->TipText(), text("MAIN_MENU_PROMPT"));

        QTableWidget* list = dialog_->List();
        EXPECT_EQ(dialog_->windowTitle(), text("PROFILE_MANAGER_TITLE"));
        EXPECT_EQ(list->horizontalHeaderItem(0)->text(), text("PROFILE_MANAGER_ACTIVE"));
        EXPECT_EQ(list->horizontalHeaderItem(1)->text(), text("PROFILE_MANAGER_NAME"));
        EXPECT_EQ(list->horizontalHeaderItem(2)->text(), text("PROFILE_MANAGER_PATH"));
        EXPECT_EQ(dialog_->Button("CONTROL_OK")->text(), text("PROFILE_MANAGER_OK"));
        EXPECT_EQ(dialog_->Button("CONTROL_CANCEL")->text(), text("PROFILE_MANAGER_CANCEL"));
        EXPECT_EQ(dialog_->Button("CONTROL2_APPLY")->text(), text("PROFILE_MANAGER_APPLY"));
        EXPECT_EQ(dialog_->Button("FUNC_ADD")->TipText(), text("PROFILE_MANAGER_ADD"));

        const QList<QAction*> items = Window().Tray()->Menu().actions();
        ASSERT_EQ(items.size(), 3);
        EXPECT_EQ(items[0]->text(), text("MENU_11"));
        EXPECT_EQ(items[1]->text(), text("MENU_22"));
        EXPECT_EQ(items[2]->text(), text("MENU_33"));
    }

    ShippedTexts shipped_;
    std::unique_ptr<ProfileManagerModel> model_;
    std::unique_ptr<CKovantis_DlgProfile> dialog_;
};

TEST_F(ShellTest, LanguageCommandsReapplyEveryTextOfEveryOpenWindowAtOnce)
{
    StartWindow();
    Window().Open();
    model_ = std::make_unique<ProfileManagerModel>(Window().Profiles(), *settings_);
    dialog_ = std::make_unique<CKovantis_DlgProfile>(paths_->SkinsFolder(), *model_, *language_, Window().Jobs());
    ASSERT_TRUE(dialog_->Initialise());
    dialog_->show();
    ASSERT_TRUE(WaitUntil([this] { return !Window().Jobs().Busy(); }));
    ASSERT_NE(Window().Tray(), nullptr);

    Window().RunWindowCommand(kCommandLanguageChinese);
    ASSERT_TRUE(WaitUntil([this] { return !Window().Jobs().Busy(); }));
    ExpectTexts("CHINESE");
    EXPECT_NE(shipped_.Text("CHINESE", "PROFILE_OK"), shipped_.Text("ENGINSH", "PROFILE_OK"));

    Window().RunWindowCommand(kCommandLanguageEnglish);
    ASSERT_TRUE(WaitUntil([this] { return !Window().Jobs().Busy(); }));
    ExpectTexts("ENGINSH");
    EXPECT_TRUE(language_->IsEnglish());
}

TEST_F(ShellTest, HelpFromF1AndTheDefaultLinkOpensTheShippedHelpPage)
{
    StartWindow();
    std::vector<QUrl> opened;
    Window().SetUrlOpener([&opened](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QCoreApplication::sendEvent(&Window(), &f1);
    Window().Control("ZAVRIK_LINK")->click();
    ASSERT_EQ(opened.size(), 2u);
    const QUrl help = QUrl::fromLocalFile(QString::fromStdString(paths_->HelpIndex().string()));
    EXPECT_EQ(opened[0], help);
    EXPECT_EQ(opened[1], help);
    EXPECT_TRUE(std::filesystem::exists(paths_->HelpIndex()));

    // Icon 128 is the window's icon.
    EXPECT_FALSE(Window().windowIcon().isNull());
    EXPECT_EQ(Window().windowIcon().pixmap(32).toImage(),
              ui::CTrayIcon::IconFor(QString::fromStdString(paths_->SkinsFolder().string()), TrayIcon::Normal)
                  .pixmap(32)
                  .toImage());
}

TEST_F(ShellTest, QuittingWithUnappliedChangesAsksFirst)
{
    StartWindow();
    Edit(0, 0x1E, MakeAssignment(AssignmentKind::Disabled));
    int quit = 0;
    QObject::connect(&Window(), &CKovantisDlg::QuitRequested, [&quit] { ++quit; });
    prompter_.AnswerYes(false);
    Window().Quit();
    ASSERT_TRUE(WaitUntil([&] { return quit == 1; }));
    ASSERT_EQ(prompter_.Questions().size(), 1u);
    EXPECT_EQ(prompter_.Questions()[0], language_->Text("MAIN_QUIT_SAVE_PROMPT"));
}

// A stand-in for the desktop's notification area.
class FakeTrayWatcher final : public ui::TrayWatcher {
public:
    bool Available() override { return available; }
    void Appear()
    {
        available = true;
        emit Appeared();
    }
    bool available = false;
};

TEST_F(ShellTest, TrayAClickReportedAsActivationOpensTheWindow)
{
    FakeTrayWatcher watcher;
    watcher.available = true;
    ui::CTrayIcon tray(QString(), {}, nullptr, &watcher);
    ASSERT_TRUE(tray.Create(QStringLiteral("tip")));
    ASSERT_NE(tray.Entry(), nullptr);
    int opened = 0;
    QObject::connect(&tray, &ui::CTrayIcon::OpenRequested, [&opened] { ++opened; });
    emit tray.Entry()->activated(QSystemTrayIcon::Trigger);  // what StatusNotifierItem hosts send
    EXPECT_EQ(opened, 1);
    emit tray.Entry()->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(opened, 2);
    emit tray.Entry()->activated(QSystemTrayIcon::Context);
    emit tray.Entry()->activated(QSystemTrayIcon::MiddleClick);
    EXPECT_EQ(opened, 2);
}

TEST_F(ShellTest, TrayIconAppearsWhenANotificationAreaAppearsLater)
{
    FakeTrayWatcher watcher;
    ui::CTrayIcon tray(QString(), [] { return QStringList{"O", "A", "X"}; }, nullptr, &watcher);
    EXPECT_FALSE(tray.Create(QStringLiteral("first tip")));
    EXPECT_EQ(tray.Entry(), nullptr);
    // Changes meanwhile are kept for the entry.
    tray.SetIcon(TrayIcon::Present);
    tray.SetTooltip(QStringLiteral("second tip"));
    watcher.Appear();
    ASSERT_NE(tray.Entry(), nullptr);
    EXPECT_EQ(tray.Entry()->toolTip(), QStringLiteral("second tip"));
    EXPECT_EQ(tray.CurrentIcon(), TrayIcon::Present);
    EXPECT_EQ(tray.Entry()->contextMenu(), &tray.Menu());
    EXPECT_EQ(tray.Menu().actions().size(), 3);

    // Removed at quit: a notification area appearing afterwards brings nothing back.
    FakeTrayWatcher later;
    ui::CTrayIcon removed(QString(), {}, nullptr, &later);
    EXPECT_FALSE(removed.Create(QStringLiteral("tip")));
    removed.Remove();
    later.Appear();
    EXPECT_EQ(removed.Entry(), nullptr);
}

TEST_F(ShellTest, AMissingPieceEndsSilentlyWithOneLineOnStandardError)
{
    // The program alone in a folder: no device library beside it, no skin.
    char pattern[] = "/tmp/kovantis-alone-XXXXXX";
    const std::filesystem::path folder = ::mkdtemp(pattern);
    std::filesystem::copy_file(BinDir() + "/kovantis", folder / "kovantis");
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), QString::fromStdString(folder.string()));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(folder.string()));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.start(QString::fromStdString((folder / "kovantis").string()), {});
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    const QString error = QString::fromUtf8(program.readAllStandardError()).trimmed();
    EXPECT_TRUE(error.startsWith(QStringLiteral("kovantis: cannot start: the device library libdevlinx.so")))
        << error.toStdString();
    EXPECT_EQ(error.count(QLatin1Char('\n')), 0);
    EXPECT_TRUE(program.readAllStandardOutput().isEmpty());

    // With the library but no skin pictures: the picture is named.
    std::filesystem::copy_file(BinDir() + "/libdevlinx.so", folder / "libdevlinx.so");
    std::filesystem::create_directories(folder / "Skins");
    environment.insert(QStringLiteral("DEVLINX_BACKEND"), QStringLiteral("virtual"));
    environment.insert(QStringLiteral("DEVLINX_VIRTUAL_SOCKET"), QString::fromStdString((folder / "none.sock").string()));
    program.setProcessEnvironment(environment);
    program.start(QString::fromStdString((folder / "kovantis").string()), {});
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitCode(), 0);
    const QString second = QString::fromUtf8(program.readAllStandardError()).trimmed();
    EXPECT_TRUE(second.startsWith(QStringLiteral("kovantis: cannot start: the skin picture "))) << second.toStdString();
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace kovantis::testing

namespace kovantis::testing {
namespace {

// Pictures of both windows for the documentation (scripts/screenshot sets the folder).
TEST_F(ShellTest, Screenshots)
{
    const QString folder = qEnvironmentVariable("KOVANTIS_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "KOVANTIS_SCREENSHOT_DIR is not set";
    StartWindow();
    model_ = std::make_unique<ProfileManagerModel>(Window().Profiles(), *settings_);
    dialog_ = std::make_unique<CKovantis_DlgProfile>(paths_->SkinsFolder(), *model_, *language_, Window().Jobs());
    ASSERT_TRUE(dialog_->Initialise());
    dialog_->show();
    ASSERT_TRUE(WaitUntil([this] { return !Window().Jobs().Busy(); }));
    prompter_.openChoice = (paths_->UserFolder() / "Shooter.kvp").string();
    dialog_->Button("FUNC_LOAD")->click();
    prompter_.openChoice = (paths_->UserFolder() / "Office.kvp").string();
    dialog_->Button("FUNC_LOAD")->click();
    ASSERT_TRUE(WaitUntil([this] { return dialog_->List()->rowCount() == 5; }));
    dialog_->List()->selectRow(3);

    PosixProcessStarter starter;
    FirmwareUpdate update(*paths_, data_->working, Window().Link().Commands(), prompter_, *language_, starter);
    update.SetUpdaterPath((paths_->PackageFolder() / "kovantis-k9-updater").string());
    CKovantis_DlgUpdate updateDialog(paths_->SkinsFolder(), update, *language_, Window().Jobs());
    ASSERT_TRUE(updateDialog.Initialise());
    updateDialog.show();

    for (const auto& [command, suffix] : {std::pair{kCommandLanguageEnglish, ""}, std::pair{kCommandLanguageChinese, "-chinese"}}) {
        Window().RunWindowCommand(command);
        ASSERT_TRUE(WaitUntil([this] { return !Window().Jobs().Busy(); }));
        WaitUntil([] { return false; }, std::chrono::milliseconds(200));
        EXPECT_TRUE(dialog_->grab().save(folder + QStringLiteral("/profile-manager%1.png").arg(QLatin1String(suffix))));
        EXPECT_TRUE(updateDialog.grab().save(folder + QStringLiteral("/firmware-update%1.png").arg(QLatin1String(suffix))));
    }
    dialog_->CloseAsCancel();
}

} // namespace
} // namespace kovantis::testing
