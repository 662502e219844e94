#include "key_events.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWindow>

#include <chrono>
#include <thread>

namespace kovantis::testing {

DeliveredKey DeliverKey(QWidget& window, QEvent::Type type, int qtKey, uint16_t evdev,
                        Qt::KeyboardModifiers modifiers, bool autoRepeat)
{
    constexpr uint32_t kScanOffset = 8;
    DeliveredKey delivered;
    QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : &window;
    if (type == QEvent::KeyPress) {
        QKeyEvent shortcut(QEvent::ShortcutOverride, qtKey, modifiers, evdev + kScanOffset, 0, 0, QString(), autoRepeat);
        shortcut.ignore();
        QCoreApplication::sendEvent(focus, &shortcut);
        delivered.overrideAccepted = shortcut.isAccepted();
    }
    QKeyEvent event(type, qtKey, modifiers, evdev + kScanOffset, 0, 0, QString(), autoRepeat);
    QWindow* handle = window.windowHandle();
    QObject* receiver = handle != nullptr ? static_cast<QObject*>(handle) : static_cast<QObject*>(focus);
    delivered.pressAccepted = QCoreApplication::sendEvent(receiver, &event) && event.isAccepted();
    QCoreApplication::processEvents();
    return delivered;
}

void TypeKey(QWidget& window, int qtKey, uint16_t evdev, Qt::KeyboardModifiers modifiers)
{
    DeliverKey(window, QEvent::KeyPress, qtKey, evdev, modifiers);
    DeliverKey(window, QEvent::KeyRelease, qtKey, evdev, modifiers);
}

bool ShowActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    for (int i = 0; i < 200 && !window.isActiveWindow(); ++i) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return window.isActiveWindow();
}

} // namespace kovantis::testing
