#include "ui/common/qt_window_port.h"

#include <QMetaObject>
#include <QThread>

namespace kovantis::ui {

QtWindowPort::QtWindowPort(QObject* context) : context_(context) {}

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

} // namespace kovantis::ui
