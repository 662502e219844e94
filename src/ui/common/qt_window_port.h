#pragma once
// The carrier under the window port on Qt: every call is carried to the UI thread. "Sent" calls
// block until the window has handled them (Qt::BlockingQueuedConnection); "posted" calls are
// queued. A call made on the UI thread itself runs at once, so nothing ever waits for itself.
// The main window's port (ui/main_window/main_window_port.h) derives from it and says, one line
// per request, which of the window's handlers a request reaches and how.

#include "ports/window_port.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>

namespace kovantis::ui {

class QtWindowPort : public WindowPort {
public:
    // `context` lives on the UI thread (the main window).
    explicit QtWindowPort(QObject* context);

    // Runs `call` on the UI thread and returns when it has run.
    void Send(std::function<void()> call);
    // Queues `call` for the UI thread and returns at once.
    void Post(std::function<void()> call);
    // From now on every call returns at once without reaching the window (the window goes
    // away while other threads may still call).
    void Close() { closed_.store(true); }

private:
    QPointer<QObject> context_;
    std::atomic<bool> closed_{false};
};

} // namespace kovantis::ui
