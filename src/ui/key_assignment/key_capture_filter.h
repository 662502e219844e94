#pragma once
// Key capture for one window: while wanted and while the window is the active window, every key
// event bound for it is seen before any widget, shortcut or dialog handling, and what the key
// capture decision keeps from the desktop is swallowed (so Enter, Esc and Tab confirm, cancel
// and move nothing) and reported. The keyboard is grabbed for as long as the capture runs, so
// on X11 the keys a desktop keeps for itself (Super, Menu, Print Screen) come to the window
// too; the grab goes with the window's activation, so another window is never left without its
// keyboard. Input methods are kept out of the captured window.
//
// The key assignment dialog takes first presses from it; the macro recorder takes presses and
// releases.

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

#include "keyboard/key_capture.h"

class QKeyEvent;

namespace kovantis::ui {

class KeyCaptureFilter final : public QObject {
    Q_OBJECT
public:
    // Called for every event the capture keeps from the desktop (never for Pass).
    using Sink = std::function<void(const KeyEventFacts& event, const CaptureDecision& decision)>;

    KeyCaptureFilter(QWidget& window, Sink sink);
    ~KeyCaptureFilter() override;

    // The owner wants keys captured now (a page that records keys is shown). The capture runs
    // while this holds and the window is visible and active.
    void SetWanted(bool wanted);
    bool Wanted() const { return wanted_; }
    // Whether the capture is running now, and whether the keyboard is grabbed for it.
    bool Running() const { return running_; }
    bool Grabbing() const { return grabbing_; }

    // The facts of a key event as the capture decision takes them.
    static KeyEventFacts FactsOf(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Update();
    void Start();
    void Stop();
    bool BelongsToWindow(QObject* object) const;

    QPointer<QWidget> window_;
    Sink sink_;
    bool wanted_ = false;
    bool running_ = false;
    bool grabbing_ = false;
};

} // namespace kovantis::ui
