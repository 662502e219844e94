#include "ui/key_assignment/key_capture_filter.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QWindow>

namespace kovantis::ui {

KeyCaptureFilter::KeyCaptureFilter(QWidget& window, Sink sink)
    : QObject(&window), window_(&window), sink_(std::move(sink))
{
    // Activation, showing and hiding of the window decide whether the capture runs.
    window.installEventFilter(this);
}

KeyCaptureFilter::~KeyCaptureFilter()
{
    Stop();
}

void KeyCaptureFilter::SetWanted(bool wanted)
{
    wanted_ = wanted;
    Update();
}

KeyEventFacts KeyCaptureFilter::FactsOf(const QKeyEvent& event)
{
    KeyEventFacts facts;
    facts.nativeScanCode = event.nativeScanCode();
    facts.release = event.type() == QEvent::KeyRelease;
    facts.autoRepeat = event.isAutoRepeat();
    facts.held.ctrl = event.modifiers().testFlag(Qt::ControlModifier);
    facts.held.alt = event.modifiers().testFlag(Qt::AltModifier);
    return facts;
}

void KeyCaptureFilter::Update()
{
    const bool run = wanted_ && window_ && window_->isVisible() && window_->isActiveWindow();
    if (run && !running_)
        Start();
    else if (!run && running_)
        Stop();
}

void KeyCaptureFilter::Start()
{
    running_ = true;
    // An input method would turn keys into text before anyone sees them.
    window_->setAttribute(Qt::WA_InputMethodEnabled, false);
    if (QWidget* focus = window_->focusWidget())
        focus->setAttribute(Qt::WA_InputMethodEnabled, false);
    QGuiApplication::inputMethod()->reset();
    qApp->installEventFilter(this);
    window_->grabKeyboard();
    grabbing_ = true;
}

void KeyCaptureFilter::Stop()
{
    running_ = false;
    qApp->removeEventFilter(this);
    if (grabbing_ && window_)
        window_->releaseKeyboard();
    grabbing_ = false;
}

bool KeyCaptureFilter::BelongsToWindow(QObject* object) const
{
    if (!window_)
        return false;
    if (object->isWidgetType())
        return static_cast<QWidget*>(object)->window() == window_;
    if (object->isWindowType())
        return object == window_->windowHandle();
    return false;
}

bool KeyCaptureFilter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == window_) {
        switch (type) {
        case QEvent::ActivationChange:
        case QEvent::WindowActivate:
        case QEvent::WindowDeactivate:
        case QEvent::Show:
        case QEvent::Hide:
            Update();
            break;
        default:
            break;
        }
    }
    if (!running_ || (type != QEvent::ShortcutOverride && type != QEvent::KeyPress && type != QEvent::KeyRelease))
        return false;
    if (!BelongsToWindow(watched))
        return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    const KeyEventFacts facts = FactsOf(key);
    const CaptureDecision decision = DecideKeyCapture(facts);
    if (decision.action == CaptureAction::Pass)
        return false;
    if (type == QEvent::ShortcutOverride) {
        // Accepting it keeps every shortcut from firing; the press itself follows.
        event->accept();
        return true;
    }
    if (sink_)
        sink_(facts, decision);
    return true;
}

} // namespace kovantis::ui
