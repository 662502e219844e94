#include "ui/common/ui_job.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QWidget>

namespace kovantis::ui {
namespace {

bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Shortcut:
        return true;
    default:
        return false;
    }
}

} // namespace

JobRunner::JobRunner(QObject* parent) : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

JobRunner::~JobRunner() { Shutdown(); }

void JobRunner::Shutdown()
{
    closing_ = true;
    pending_.clear();
    if (!worker_.joinable())
        return;
    // The job may be waiting for this thread: serve the queue until it is through.
    while (!workerDone_.load())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    worker_.join();
}

void JobRunner::Run(Task job)
{
    if (closing_)
        return;
    pending_.push_back({std::move(job), true});
    Next();
}

void JobRunner::WhenIdle(Task task)
{
    if (Busy())
        pending_.push_back({std::move(task), false});
    else
        task();
}

void JobRunner::Next()
{
    // A task run from here may queue more work; this loop takes it in order.
    if (advancing_)
        return;
    advancing_ = true;
    while (!running_ && !pending_.empty()) {
        Pending next = std::move(pending_.front());
        pending_.pop_front();
        if (!next.onWorker) {
            next.task();
            continue;
        }
        running_ = true;
        workerDone_.store(false);
        worker_ = std::thread([this, task = std::move(next.task)] {
            task();
            workerDone_.store(true);
            QMetaObject::invokeMethod(this, &JobRunner::Finished, Qt::QueuedConnection);
        });
    }
    advancing_ = false;
    if (!Busy()) {
        ReleaseInput();
        emit Idle();
    }
}

void JobRunner::Finished()
{
    if (closing_)
        return;
    worker_.join();
    running_ = false;
    Next();
}

bool JobRunner::eventFilter(QObject* watched, QEvent* event)
{
    if (!running_ || window_.isNull() || !IsUserInput(event->type()) || !watched->isWidgetType())
        return false;
    if (static_cast<QWidget*>(watched)->window() != window_)
        return false;
    held_.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
    return true;
}

void JobRunner::ReleaseInput()
{
    std::vector<HeldEvent> held = std::move(held_);
    held_.clear();
    for (HeldEvent& entry : held) {
        if (!entry.receiver.isNull())
            QCoreApplication::postEvent(entry.receiver.data(), entry.event.release());
    }
}

void JobRunner::RunWhilePumping(const Task& job)
{
    QEventLoop loop;
    std::thread worker([&job, &loop] {
        job();
        // Queued, so the quit lands in the loop even when the job ends before it started.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
}

} // namespace kovantis::ui
