#pragma once
// One running instance per user. The running instance holds the lock file and listens on a Unix
// socket in the instance folder (platform/instance_folder.h); a second start sends it a line
// (app/instance_request.h) and ends.

#include <QObject>
#include <QString>

#include <map>
#include <memory>
#include <string>

#include "platform/instance_channel.h"
#include "platform/instance_folder.h"

class QSocketNotifier;

namespace kovantis::ui {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(InstancePaths paths, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the lock. Failed comes with *error naming the file and the cause.
    InstanceLock::Outcome Acquire(std::string* error);
    // Starts listening for other instances; call after Acquire took the lock.
    bool Listen(std::string* error);
    // Sends one line to the running instance; true when it was taken.
    bool Send(const QString& line, int timeoutMs = 2000) const;
    // Gives the lock and the socket up (quit).
    void Release();

signals:
    void OpenRequested();
    void KillRequested();
    void CommandRequested(int command);
    void MessageRequested(int message);

private:
    struct Client {
        int fd = -1;
        QSocketNotifier* notifier = nullptr;
        LineCollector lines;
    };

    void AcceptClients();
    void ReadClient(int fd);
    void DropClient(int fd);
    void HandleLine(const std::string& line);

    InstancePaths paths_;
    InstanceLock lock_;
    int listening_ = -1;
    QSocketNotifier* listenNotifier_ = nullptr;
    std::map<int, Client> clients_;
};

} // namespace kovantis::ui
