#pragma once
// CTrayIcon: the program's entry in the notification area. Its picture tells whether a keyboard
// is present; a double click opens the window, the right button the tray menu. Without a
// notification area there is no icon and the program runs on.

#include "ports/window_port.h"

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

    CTrayIcon(QString iconFolder, MenuTexts menuTexts, QObject* parent = nullptr);

    // Creates the entry with icon 128; false (and no icon) when there is no notification area.
    bool Create(const QString& tooltip);
    bool Exists() const { return tray_ != nullptr; }
    void Remove();

    // Changes the picture only when it differs from the one shown.
    void SetIcon(TrayIcon icon);
    TrayIcon CurrentIcon() const { return current_; }
    void SetTooltip(const QString& tooltip);

    static QIcon IconFor(const QString& folder, TrayIcon icon);

signals:
    void OpenRequested();   // command 32771
    void AboutRequested();  // command 32773
    void ExitRequested();   // command 32774

private:
    void FillMenu();

    QString iconFolder_;
    MenuTexts menuTexts_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    QMenu menu_;
    TrayIcon current_ = TrayIcon::Normal;
};

} // namespace kovantis::ui
