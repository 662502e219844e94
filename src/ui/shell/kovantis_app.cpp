#include "ui/shell/kovantis_app.h"

#include <QApplication>
#include <QEvent>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "app/app_settings.h"
#include "app/command_line.h"
#include "app/language_table.h"
#include "profiles/profile_data.h"
#include "platform/device_library.h"
#include "platform/instance_folder.h"
#include "platform/paths.h"
#include "platform/settings_store.h"
#include "ui/main_window/main_window.h"
#include "ui/shell/single_instance.h"

#ifndef KOVANTIS_VERSION
#define KOVANTIS_VERSION "0"
#endif

namespace kovantis {
namespace {

// The first instance may be starting up itself and not listen yet.
bool SendToRunningInstance(const ui::SingleInstance& instance, const QString& line)
{
    constexpr int kAttempts = 40;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (instance.Send(line))
            return true;
        QThread::msleep(50);
    }
    return false;
}

// Calls `then` once, when the window has been shown and is done with its start-up jobs (it
// shows the keyboard's profile then). Nothing runs while the window stays hidden in the tray.
class ShownWatch : public QObject {
public:
    ShownWatch(CKovantisDlg& window, std::function<void()> then)
        : QObject(&window), window_(window), then_(std::move(then))
    {
        window.installEventFilter(this);
        QObject::connect(&poll_, &QTimer::timeout, this, [this] { Check(); });
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show && !poll_.isActive())
            poll_.start(100);
        return false;
    }

private:
    void Check()
    {
        if (!window_.isVisible()) {
            poll_.stop();
            return;
        }
        if (window_.Jobs().Busy())
            return;
        poll_.stop();
        window_.removeEventFilter(this);
        then_();
        deleteLater();
    }

    CKovantisDlg& window_;
    std::function<void()> then_;
    QTimer poll_;
};

void WhenShowingTheKeyboard(CKovantisDlg& window, std::function<void()> then)
{
    new ShownWatch(window, std::move(then));
}

// KOVANTIS_REPORT_READY=<fd>: write "ready" there once the window is ready and hidden, and
// "shown" once it shows the keyboard, so that scripts and benchmarks can tell when start-up is
// over.
void ReportReadiness(CKovantisDlg& window)
{
    const char* fdText = std::getenv("KOVANTIS_REPORT_READY");
    if (fdText == nullptr || *fdText == '\0')
        return;
    char* end = nullptr;
    const long fd = std::strtol(fdText, &end, 10);
    if (*end != '\0' || fd < 0 || fd > INT_MAX)
        return;
    const auto say = [fd](std::string_view line) {
        [[maybe_unused]] const ssize_t written = write(static_cast<int>(fd), line.data(), line.size());
    };
    QObject::connect(&window, &CKovantisDlg::Ready, &window, [say, &window] {
        say("ready\n");
        WhenShowingTheKeyboard(window, [say] { say("shown\n"); });
    });
}

// KOVANTIS_SCREENSHOT=<file.png>: once the window shows the keyboard, save a picture of it
// there and quit (scripts/screenshot). KOVANTIS_SCREENSHOT_DELAY_MS (500 unless given) is how
// long the window stays up first, time for the script to click on it.
void TakeScreenshotWhenShown(CKovantisDlg& window)
{
    const QString path = qEnvironmentVariable("KOVANTIS_SCREENSHOT");
    if (path.isEmpty())
        return;
    WhenShowingTheKeyboard(window, [&window, path] {
        bool given = false;
        const int delay = qEnvironmentVariableIntValue("KOVANTIS_SCREENSHOT_DELAY_MS", &given);
        QTimer::singleShot(given ? std::clamp(delay, 0, 60000) : 500, &window, [&window, path] {
            if (!window.grab().save(path))
                std::cerr << "kovantis: cannot write " << path.toStdString() << '\n';
            window.Quit();
        });
    });
}

void ReportMissingPiece(const std::string& what)
{
    std::cerr << "kovantis: cannot start: " << what << '\n';
}

} // namespace

int RunKovantis(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const std::vector<CommandLineSwitch> switches = ParseCommandLine(arguments);
    const StartupDecision asked = DecideStartup(switches, false);
    if (asked.printHelp) {
        std::cout << CommandLineHelp("kovantis");
        return 0;
    }
    if (asked.printVersion) {
        std::cout << "kovantis " KOVANTIS_VERSION "\n";
        return 0;
    }
    // An argument the program does not know never opens a window the user did not ask for.
    if (const std::vector<std::string> unknown = UnknownArguments(arguments); !unknown.empty()) {
        std::cerr << "kovantis: unrecognized argument '" << unknown.front() << "'\nTry 'kovantis --help'.\n";
        return 2;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kovantis"));
    QApplication::setApplicationVersion(QStringLiteral(KOVANTIS_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("kovantis"));
    // The program lives on in the notification area when its window closes.
    QApplication::setQuitOnLastWindowClosed(false);

    // Unlike a missing piece below, a lock that cannot be taken is said and ends with a failure:
    // the user has something to mend (the folder names it), and a script must not take it for
    // a program that started or handed over.
    std::string lockError;
    std::optional<InstancePaths> instancePaths = InstancePathsOfProcess(FolderUse::Create, &lockError);
    std::optional<ui::SingleInstance> instance;
    InstanceLock::Outcome claim = InstanceLock::Outcome::Failed;
    if (instancePaths) {
        instance.emplace(*instancePaths);
        claim = instance->Acquire(&lockError);
    }
    if (claim == InstanceLock::Outcome::Failed) {
        std::cerr << "kovantis: cannot start: " << lockError << '\n';
        return 1;
    }
    const bool otherRunning = claim == InstanceLock::Outcome::HeldByOther;
    const StartupDecision decision = DecideStartup(switches, otherRunning);
    if (decision.killRunning) {
        SendToRunningInstance(*instance, QStringLiteral("KILL"));
        return 0;
    }
    if (decision.nothingToEnd) {
        std::cout << NothingToEndText("kovantis");
        return 0;
    }
    if (otherRunning) {
        SendToRunningInstance(*instance, QStringLiteral("OPEN"));
        return 0;
    }
    if (!instance->Listen(&lockError)) {
        std::cerr << "kovantis: cannot start: " << lockError << '\n';
        return 1;
    }

    const Paths paths = Paths::FromEnvironment();
    LanguageTable language(paths);
    language.Load();
    const SettingsStore store(paths.SettingsStoreFile());
    const AppSettings settings(paths, store, language);
    ProfileDataPair data;

    // A missing piece ends the program at once with exit code 0, as it always has; one line on
    // standard error tells a user who started it from a terminal which piece it was.
    std::string libraryError;
    const std::optional<DeviceFunctions> functions = DeviceLibrary::Load(kDeviceLibraryName, &libraryError);
    if (!functions) {
        ReportMissingPiece("the device library " + std::string(kDeviceLibraryName) + ": " + libraryError);
        return 0;
    }

    CKovantisDlg window(MainWindowSetup{paths, language, settings, data, *functions, decision.startHidden});
    if (!window.Initialise()) {
        ReportMissingPiece(window.StartFailure());
        return 0;
    }
    ReportReadiness(window);
    QObject::connect(&window, &CKovantisDlg::QuitRequested, &window, [&instance] {
        instance->Release();
        // exit, not quit: quitting first asks every window to close, which the main window
        // answers by hiding.
        QApplication::exit(0);
    });
    // Queued: what a line asks for may open a modal box, which must not run inside the
    // socket's own handler.
    QObject::connect(&*instance, &ui::SingleInstance::OpenRequested, &window, &CKovantisDlg::Open,
                     Qt::QueuedConnection);
    QObject::connect(&*instance, &ui::SingleInstance::KillRequested, &window, &CKovantisDlg::Quit,
                     Qt::QueuedConnection);
    QObject::connect(&*instance, &ui::SingleInstance::CommandRequested, &window,
                     &CKovantisDlg::RunWindowCommand, Qt::QueuedConnection);
    QObject::connect(&*instance, &ui::SingleInstance::MessageRequested, &window,
                     &CKovantisDlg::RunWindowMessage, Qt::QueuedConnection);

    TakeScreenshotWhenShown(window);

    const int code = QApplication::exec();
    // The device library keeps its threads to the end and is never told; the process ends
    // here without unwinding the link under them.
    std::fflush(nullptr);
    std::_Exit(code);
}

} // namespace kovantis
