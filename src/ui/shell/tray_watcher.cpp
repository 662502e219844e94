#include "ui/shell/tray_watcher.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSystemTrayIcon>
#include <QTimer>

namespace kovantis::ui {
namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");

// Whether a session bus can be there at all: its address is given, or the session's runtime
// folder holds its socket, or an X display could start one. Without any of them the bus is
// never asked, and the program pays nothing for it.
bool SessionBusConceivable()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") || !qEnvironmentVariableIsEmpty("DISPLAY"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(QDir(runtime).filePath(QStringLiteral("bus")));
}

} // namespace

DesktopTrayWatcher::DesktopTrayWatcher(QObject* parent) : TrayWatcher(parent)
{
    // Connecting to the bus and asking it costs round trips: they start once the program is up,
    // and their answers come back as events, so that nothing waits for the panel.
    QTimer::singleShot(0, this, &DesktopTrayWatcher::WatchBus);
}

void DesktopTrayWatcher::WatchBus()
{
    if (!SessionBusConceivable())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    serviceWatcher_ = new QDBusServiceWatcher(kWatcherService, bus, QDBusServiceWatcher::WatchForRegistration, this);
    connect(serviceWatcher_, &QDBusServiceWatcher::serviceRegistered, this, &DesktopTrayWatcher::WatcherRegistered);
    // A watcher whose host registers after it: the host's signal says when.
    bus.connect(kWatcherService, kWatcherPath, kWatcherService, QStringLiteral("StatusNotifierHostRegistered"), this,
                SLOT(WatcherRegistered()));
    WatcherRegistered();
}

bool DesktopTrayWatcher::Available()
{
    if (hostRegistered_)
        return true;
    // An old-style (XEmbed) tray exists only on X11; asking Qt there fixes its choice of icon
    // kind, which is right: an XEmbed tray that exists now is the one to use.
    return QGuiApplication::platformName() == QLatin1String("xcb") && QSystemTrayIcon::isSystemTrayAvailable();
}

void DesktopTrayWatcher::WatcherRegistered()
{
    if (announced_)
        return;
    QDBusMessage ask = QDBusMessage::createMethodCall(kWatcherService, kWatcherPath,
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    ask << kWatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    auto* pending = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(ask), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *call;
        if (announced_ || reply.isError() || !reply.value().variant().toBool())
            return;
        hostRegistered_ = true;
        announced_ = true;
        emit Appeared();
    });
}

} // namespace kovantis::ui
