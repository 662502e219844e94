#include "ui/shell/tray_watcher.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QSystemTrayIcon>

namespace kovantis::ui {
namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");

} // namespace

DesktopTrayWatcher::DesktopTrayWatcher(QObject* parent) : TrayWatcher(parent)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    serviceWatcher_ = new QDBusServiceWatcher(kWatcherService, bus, QDBusServiceWatcher::WatchForRegistration, this);
    connect(serviceWatcher_, &QDBusServiceWatcher::serviceRegistered, this, &DesktopTrayWatcher::WatcherRegistered);
    // A watcher whose host registers after it: the host's signal says when.
    bus.connect(kWatcherService, kWatcherPath, kWatcherService, QStringLiteral("StatusNotifierHostRegistered"), this,
                SLOT(WatcherRegistered()));
}

bool DesktopTrayWatcher::HostRegistered() const
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(kWatcherService))
        return false;
    QDBusInterface watcher(kWatcherService, kWatcherPath, kWatcherService, bus);
    return watcher.isValid() && watcher.property("IsStatusNotifierHostRegistered").toBool();
}

bool DesktopTrayWatcher::Available()
{
    if (HostRegistered())
        return true;
    // An old-style (XEmbed) tray exists only on X11; asking Qt there fixes its choice of icon
    // kind, which is right: an XEmbed tray that exists now is the one to use.
    return QGuiApplication::platformName() == QLatin1String("xcb") && QSystemTrayIcon::isSystemTrayAvailable();
}

void DesktopTrayWatcher::WatcherRegistered()
{
    if (announced_ || !HostRegistered())
        return;
    announced_ = true;
    emit Appeared();
}

} // namespace kovantis::ui
