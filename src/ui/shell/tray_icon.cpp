#include "ui/shell/tray_icon.h"

#include <QAction>
#include <QDir>
#include <QFont>

namespace kovantis::ui {

CTrayIcon::CTrayIcon(QString iconFolder, MenuTexts menuTexts, QObject* parent, TrayWatcher* watcher)
    : QObject(parent), iconFolder_(std::move(iconFolder)), menuTexts_(std::move(menuTexts)), watcher_(watcher)
{
    if (watcher_ == nullptr) {
        ownWatcher_ = std::make_unique<DesktopTrayWatcher>();
        watcher_ = ownWatcher_.get();
    }
    connect(&menu_, &QMenu::aboutToShow, this, &CTrayIcon::FillMenu);
    connect(watcher_, &TrayWatcher::Appeared, this, [this] {
        if (wanted_ && !tray_)
            MakeEntry();
    });
}

CTrayIcon::~CTrayIcon() = default;

bool CTrayIcon::OpensWindow(QSystemTrayIcon::ActivationReason reason)
{
    // StatusNotifierItem hosts send only Trigger for a click; a double click on an old-style
    // tray sends Trigger then DoubleClick, and showing a shown window again changes nothing.
    return reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick;
}

QIcon CTrayIcon::IconFor(const QString& folder, TrayIcon icon)
{
    return QIcon(QDir(folder).filePath(QStringLiteral("icon_%1.png").arg(static_cast<int>(icon))));
}

bool CTrayIcon::Create(const QString& tooltip)
{
    tooltip_ = tooltip.left(127);
    wanted_ = true;
    if (tray_)
        return true;
    if (!watcher_->Available())
        return false;
    MakeEntry();
    return true;
}

void CTrayIcon::MakeEntry()
{
    tray_ = std::make_unique<QSystemTrayIcon>(IconFor(iconFolder_, current_));
    tray_->setToolTip(tooltip_);
    FillMenu();
    tray_->setContextMenu(&menu_);
    connect(tray_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (OpensWindow(reason))
            emit OpenRequested();
    });
    tray_->show();
}

void CTrayIcon::Remove()
{
    wanted_ = false;
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
    tooltip_ = tooltip.left(127);
    if (tray_)
        tray_->setToolTip(tooltip_);
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
