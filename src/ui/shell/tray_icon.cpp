#include "ui/shell/tray_icon.h"

#include <QAction>
#include <QDir>
#include <QFont>

namespace kovantis::ui {

CTrayIcon::CTrayIcon(QString iconFolder, MenuTexts menuTexts, QObject* parent)
    : QObject(parent), iconFolder_(std::move(iconFolder)), menuTexts_(std::move(menuTexts))
{
    connect(&menu_, &QMenu::aboutToShow, this, &CTrayIcon::FillMenu);
}

QIcon CTrayIcon::IconFor(const QString& folder, TrayIcon icon)
{
    return QIcon(QDir(folder).filePath(QStringLiteral("icon_%1.png").arg(static_cast<int>(icon))));
}

bool CTrayIcon::Create(const QString& tooltip)
{
    if (tray_ || !QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    tray_ = std::make_unique<QSystemTrayIcon>(IconFor(iconFolder_, TrayIcon::Normal));
    current_ = TrayIcon::Normal;
    tray_->setToolTip(tooltip.left(127));
    FillMenu();
    tray_->setContextMenu(&menu_);
    connect(tray_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                // Only a double click opens the window; a single click does nothing.
                if (reason == QSystemTrayIcon::DoubleClick)
                    emit OpenRequested();
            });
    tray_->show();
    return true;
}

void CTrayIcon::Remove()
{
    if (tray_) {
        tray_->hide();
        tray_.reset();
    }
}

void CTrayIcon::SetIcon(TrayIcon icon)
{
    if (icon == current_)
        return;
    current_ = icon;
    if (tray_)
        tray_->setIcon(IconFor(iconFolder_, icon));
}

void CTrayIcon::SetTooltip(const QString& tooltip)
{
    if (tray_)
        tray_->setToolTip(tooltip.left(127));
}

void CTrayIcon::FillMenu()
{
    const QStringList texts = menuTexts_ ? menuTexts_() : QStringList();
    auto text = [&texts](int i, const char* fallback) {
        return i < texts.size() && !texts[i].isEmpty() ? texts[i] : QString::fromUtf8(fallback);
    };
    menu_.clear();
    QAction* open = menu_.addAction(text(0, "&Open"), this, &CTrayIcon::OpenRequested);
    QFont bold = open->font();
    bold.setBold(true);
    open->setFont(bold);
    menu_.setDefaultAction(open);
    menu_.addAction(text(1, "&About"), this, &CTrayIcon::AboutRequested);
    menu_.addAction(text(2, "E&xit"), this, &CTrayIcon::ExitRequested);
}

} // namespace kovantis::ui
