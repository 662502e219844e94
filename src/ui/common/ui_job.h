#pragma once
// Long exchanges with the keyboard (Apply, a profile switch, import, the read-back on arrival)
// run on a worker thread so that the window never freezes: while one runs, the UI thread keeps
// repainting, animating the progress picture and answering calls from other threads, and the
// user's input to the window waits until the job is done (it is held back, then delivered).
//
// Jobs never overlap: one asked for while another runs is queued behind it, and so is UI work
// that needs what the running job holds (the profile data) or that must follow it.
// No nested event loop is ever run, so a modal box opened meanwhile blocks nothing else.

#include <QEvent>
#include <QObject>
#include <QPointer>

#include <atomic>

#include <deque>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class QWidget;

namespace kovantis::ui {

class JobRunner : public QObject {
    Q_OBJECT
public:
    using Task = std::function<void()>;

    explicit JobRunner(QObject* parent = nullptr);
    ~JobRunner() override;

    // User input to this window waits while a job runs.
    void HoldInputOf(QWidget* window) { window_ = window; }

    // While a job runs or work waits behind it.
    bool Busy() const { return running_ || !pending_.empty(); }

    // Starts `job` on a worker thread, or queues it behind the running one. Returns at once.
    void Run(Task job);
    // Runs `task` on the UI thread now, or when busy after everything queued so far.
    void WhenIdle(Task task);

    // Drops what is queued and waits for the running job, serving the UI thread's queue
    // meanwhile; nothing runs afterwards.
    void Shutdown();

    // Runs `job` on a worker thread and returns when it is done, serving the UI thread's queue
    // (all but user input) meanwhile. For the window's last moments, not queued behind anything.
    static void RunWhilePumping(const Task& job);

signals:
    void Idle();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Pending {
        Task task;
        bool onWorker;
    };
    struct HeldEvent {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
    };
    void Next();
    void Finished();
    void ReleaseInput();

    std::deque<Pending> pending_;
    std::thread worker_;
    bool running_ = false;
    bool advancing_ = false;
    bool closing_ = false;
    std::atomic<bool> workerDone_{true};
    QPointer<QWidget> window_;
    std::vector<HeldEvent> held_;
};

} // namespace kovantis::ui
