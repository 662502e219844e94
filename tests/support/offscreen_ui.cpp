#include "support/offscreen_ui.h"

#include <QApplication>
#include <QThread>

namespace kovantis::testing {

QApplication& OffscreenApplication()
{
    static int argc = 1;
    static char name[] = "kovantis-ui-tests";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *application;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

} // namespace kovantis::testing
