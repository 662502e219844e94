#include "ui/common/qt_window_port.h"

#include <QMetaObject>
#include <QThread>

namespace kovantis::ui {

QtWindowPort::QtWindowPort(QObject* context, WindowPortTarget& target)
    : context_(context), target_(target)
{
}

void QtWindowPort::Send(std::function<void()> call)
{
    if (closed_.load() || context_.isNull())
        return;
    auto guarded = [this, call = std::move(call)] {
        if (!closed_.load())
            call();
    };
    if (QThread::currentThread() == context_->thread())
        guarded();
    else
        QMetaObject::invokeMethod(context_.data(), std::move(guarded), Qt::BlockingQueuedConnection);
}

void QtWindowPort::Post(std::function<void()> call)
{
    if (closed_.load() || context_.isNull())
        return;
    QMetaObject::invokeMethod(
        context_.data(),
        [this, call = std::move(call)] {
            if (!closed_.load())
                call();
        },
        Qt::QueuedConnection);
}

void QtWindowPort::ReloadActiveProfile() { Send([this] { target_.OnReloadActiveProfile(); }); }
void QtWindowPort::CloseEditors() { Send([this] { target_.OnCloseEditors(); }); }
void QtWindowPort::RefreshBankKeys(int bank) { Send([this, bank] { target_.OnRefreshBankKeys(bank); }); }
void QtWindowPort::PostOpen() { Post([this] { target_.OnOpen(); }); }
void QtWindowPort::PostLightingReread() { Post([this] { target_.OnLightingReread(); }); }
void QtWindowPort::PostHide() { Post([this] { target_.OnHide(); }); }
void QtWindowPort::PostTrayIcon(TrayIcon icon) { Post([this, icon] { target_.OnTrayIcon(icon); }); }
void QtWindowPort::PostApplyEnabled(bool enabled) { Post([this, enabled] { target_.OnApplyEnabled(enabled); }); }
void QtWindowPort::PostRefreshKeys() { Post([this] { target_.OnRefreshKeys(); }); }
void QtWindowPort::PostProgress(bool running) { Post([this, running] { target_.OnProgress(running); }); }
void QtWindowPort::PostProfileChecked(int profile)
{
    Post([this, profile] { target_.OnProfileChecked(profile); });
}
void QtWindowPort::PostProfileCaption(const std::u16string& caption, const std::u16string& tooltip)
{
    Post([this, caption, tooltip] { target_.OnProfileCaption(caption, tooltip); });
}

} // namespace kovantis::ui
