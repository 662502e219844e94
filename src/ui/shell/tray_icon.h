#pragma once
// CTrayIcon: the program's entry in the notification area. Its picture tells whether a keyboard
// is present; a click opens the window (StatusNotifierItem hosts of KDE and GNOME report every
// click as an activation, old trays a double click), the right button the tray menu. Without a
// notification area the program runs on, and the icon appears as soon as one does.

#include "ports/window_port.h"
#include "ui/shell/tray_watcher.h"

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>

namespace kovantis::ui {

class CTrayIcon : public QObject {
    Q_OBJECT
public:
    // Texts of the three menu items (keys MENU_11, MENU_22, MENU_33), read each time the menu
    // opens so that a language change applies at once.
    using MenuTexts = std::function<QStringList()>;

    // watcher: where the notification area is asked for; null for the desktop's own.
    CTrayIcon(QString iconFolder, MenuTexts menuTexts, QObject* parent = nullptr,
              TrayWatcher* watcher = nullptr);
    ~CTrayIcon() override;

    // Creates the entry with icon 128. False when there is no notification area yet: the entry
    // is then made, with the icon and tooltip last set, when one appears.
    bool Create(const QString& tooltip);
    bool Exists() const { return tray_ != nullptr; }
    void Remove();

    // Changes the picture only when it differs from the one shown.
    void SetIcon(TrayIcon icon);
    TrayIcon CurrentIcon() const { return current_; }
    void SetTooltip(const QString& tooltip);

    static QIcon IconFor(const QString& folder, TrayIcon icon);
    // How the desktop reported a click on the icon: whether it opens the window.
    static bool OpensWindow(QSystemTrayIcon::ActivationReason reason);
    // -- what tests look at --
    QSystemTrayIcon* Entry() const { return tray_.get(); }
    const QMenu& Menu() const { return menu_; }
    // The texts of the tray menu anew (after a language change).
    void RefreshMenu() { FillMenu(); }

signals:
    void OpenRequested();   // command 32771
    void AboutRequested();  // command 32773
    void ExitRequested();   // command 32774

private:
    void FillMenu();
    void MakeEntry();

    QString iconFolder_;
    MenuTexts menuTexts_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    QMenu menu_;
    TrayIcon current_ = TrayIcon::Normal;
    QString tooltip_;
    bool wanted_ = false;
    TrayWatcher* watcher_ = nullptr;
    std::unique_ptr<TrayWatcher> ownWatcher_;
};

} // namespace kovantis::ui
