#pragma once
// One running instance per user. The running instance holds a lock file and listens on a local
// socket in the runtime folder (mode 0600); a second start sends it a line and ends.
//
// Lines understood: "OPEN" (show the window), "KILL" (quit), "COMMAND <n>" (a window command,
// e.g. 32784/32785 language, 32780 firmware update), "MESSAGE <n>" (0x1E = 30: apply).

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

namespace kovantis::ui {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // The folder of the lock file and the socket: $XDG_RUNTIME_DIR, else /tmp.
    static QString RuntimeFolder();
    static QString LockPath();
    static QString SocketPath();

    // Takes the lock. False when another live instance holds it.
    bool Acquire();
    // Starts listening for other instances; call after Acquire succeeded.
    bool Listen();
    // Sends one line to the running instance; true when it was delivered.
    static bool Send(const QString& line, int timeoutMs = 2000);
    // Gives the lock and the socket up (quit).
    void Release();

signals:
    void OpenRequested();
    void KillRequested();
    void CommandRequested(int command);
    void MessageRequested(int message);

private:
    void HandleConnection();
    void HandleLine(const QByteArray& line);

    std::unique_ptr<QLockFile> lock_;
    QLocalServer server_;
};

} // namespace kovantis::ui
