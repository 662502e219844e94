// The floor the desktop program's start-up is measured against: a Qt Widgets program that shows
// one window and, once the window is up, writes "ready" and "shown" to the descriptor named by
// KOVANTIS_REPORT_READY, as the desktop program does.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <unistd.h>

namespace {

void ReportReady()
{
    const char* fdText = std::getenv("KOVANTIS_REPORT_READY");
    if (fdText == nullptr || *fdText == '\0')
        return;
    char* end = nullptr;
    const long fd = std::strtol(fdText, &end, 10);
    if (*end != '\0' || fd < 0)
        return;
    // Its window is up already: "shown" follows at once.
    constexpr char kLine[] = "ready\nshown\n";
    [[maybe_unused]] const ssize_t written = write(static_cast<int>(fd), kLine, sizeof kLine - 1);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("startup baseline"));
    // The size of the default skin's main window, so that both pay for a window surface of the
    // same size.
    window.resize(1200, 700);
    window.show();
    // The first pass of the event loop has handled the show.
    QTimer::singleShot(0, &window, &ReportReady);
    return QApplication::exec();
}
