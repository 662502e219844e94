#pragma once
// Key events as the window system delivers them to a window: a shortcut override to the focus
// widget first, then the press or release to the window, each carrying the native scan code
// (evdev code + 8) the key capture reads.

#include <QEvent>
#include <QWidget>

#include <cstdint>

namespace kovantis::testing {

struct DeliveredKey {
    bool overrideAccepted = false;  // a shortcut override was taken (no shortcut may fire)
    bool pressAccepted = false;     // the press or release was swallowed or handled
};

DeliveredKey DeliverKey(QWidget& window, QEvent::Type type, int qtKey, uint16_t evdev,
                        Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool autoRepeat = false);
// Press and release.
void TypeKey(QWidget& window, int qtKey, uint16_t evdev, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Shows a window and makes it the active one, as a click on it would.
bool ShowActive(QWidget& window);

} // namespace kovantis::testing
