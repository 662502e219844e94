#pragma once
// Whether a notification area is there to take the program's icon, and word when one appears.
//
// KDE Plasma, GNOME (with its AppIndicator extension) and most panels of today host icons as
// StatusNotifierItems: a host registers with the org.kde.StatusNotifierWatcher service on the
// session bus. A program started at log-in (autostart with /Start) often runs before the panel
// does, so the watcher may appear later; it is watched on the bus, without polling, and asked
// without waiting for its answer. Qt picks its
// kind of tray icon once, when the first one is made, so no icon is made (and Qt is not asked)
// until a host is there; on X11 an old-style tray present at start is taken as well.

#include <QObject>

class QDBusServiceWatcher;

namespace kovantis::ui {

class TrayWatcher : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // True when an icon made now would show.
    virtual bool Available() = 0;

signals:
    // A notification area appeared (emitted once it can take an icon).
    void Appeared();
};

// The real one: the StatusNotifierWatcher on the session bus, and on X11 Qt's own check.
class DesktopTrayWatcher final : public TrayWatcher {
    Q_OBJECT
public:
    explicit DesktopTrayWatcher(QObject* parent = nullptr);
    bool Available() override;

private slots:
    // The watcher service appeared, or a host registered with it: asks whether a host is there.
    void WatcherRegistered();

private:
    void WatchBus();

    QDBusServiceWatcher* serviceWatcher_ = nullptr;
    // A host answered; an icon made now shows.
    bool hostRegistered_ = false;
    bool announced_ = false;
};

} // namespace kovantis::ui
