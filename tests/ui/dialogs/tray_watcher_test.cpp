// The desktop's tray watcher on a private session bus: a StatusNotifierWatcher that appears
// after the program started, first without and then with a host.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QObject>
#include <QProcess>
#include <QThread>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "support/offscreen_ui.h"
#include "ui/shell/tray_watcher.h"

namespace kovantis::testing {
namespace {

// What a panel registers: the watcher service with its host property and signal.
class FakeStatusNotifierWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ HostRegistered)
public:
    bool HostRegistered() const { return host.load(); }
    std::atomic<bool> host{false};
signals:
    void StatusNotifierHostRegistered();
};

// A hang guard only: on a loaded machine the bus may take seconds.
bool Serve(const std::function<bool()>& done)
{
    return WaitUntil(done, std::chrono::seconds(20));
}

// Serves the queue for a while, for messages that must not arrive.
void Pump(int ms)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
}

TEST(DesktopTrayWatcherTest, ANotificationAreaAppearingLaterIsAnnouncedOnceItsHostIsThere)
{
    char pattern[] = "/tmp/kovantis-bus-XXXXXX";
    const std::filesystem::path folder = ::mkdtemp(pattern);
    const QString address = QStringLiteral("unix:path=") + QString::fromStdString((folder / "bus").string());
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                 QStringLiteral("--print-address"), QStringLiteral("--address=") + address});
    if (!daemon.waitForStarted(5000))
        GTEST_SKIP() << "dbus-daemon is not installed";
    // The daemon prints its address once it listens; its socket file exists a moment earlier,
    // when a connection would still be refused.
    while (!daemon.canReadLine())
        ASSERT_TRUE(daemon.waitForReadyRead(20000)) << "dbus-daemon did not start";
    qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "tray_watcher_ui_tests";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);

    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected());
    ui::DesktopTrayWatcher watcher;
    int appeared = 0;
    QObject::connect(&watcher, &ui::TrayWatcher::Appeared, [&appeared] { ++appeared; });
    EXPECT_FALSE(watcher.Available());

    // The panel starts: its watcher first, with no host yet.
    QDBusConnection panel = QDBusConnection::connectToBus(address, QStringLiteral("panel"));
    ASSERT_TRUE(panel.isConnected());
    // Served on a thread of its own: the watcher asks for the property with a blocking call.
    FakeStatusNotifierWatcher service;
    QThread serviceThread;
    service.moveToThread(&serviceThread);
    serviceThread.start();
    ASSERT_TRUE(panel.registerObject(QStringLiteral("/StatusNotifierWatcher"), &service,
                                     QDBusConnection::ExportAllProperties | QDBusConnection::ExportAllSignals));
    ASSERT_TRUE(panel.registerService(QStringLiteral("org.kde.StatusNotifierWatcher")));
    ASSERT_TRUE(Serve([] {
        return QDBusConnection::sessionBus().interface()->isServiceRegistered(
            QStringLiteral("org.kde.StatusNotifierWatcher"));
    }));
    Pump(200);  // the watcher's own word of the registration arrives
    EXPECT_EQ(appeared, 0);
    EXPECT_FALSE(watcher.Available());

    // Its host registers: announced once.
    service.host = true;
    emit service.StatusNotifierHostRegistered();
    EXPECT_TRUE(Serve([&] { return appeared == 1; }));
    EXPECT_TRUE(watcher.Available());
    emit service.StatusNotifierHostRegistered();
    Pump(300);
    EXPECT_EQ(appeared, 1);

    QDBusConnection::disconnectFromBus(QStringLiteral("panel"));
    serviceThread.quit();
    serviceThread.wait();
    daemon.terminate();
    daemon.waitForFinished(5000);
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace kovantis::testing

#include "tray_watcher_test.moc"
