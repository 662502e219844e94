#include "ui/shell/single_instance.h"

#include <QDir>
#include <QLocalSocket>

#include <unistd.h>

namespace kovantis::ui {

SingleInstance::SingleInstance(QObject* parent) : QObject(parent)
{
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::HandleConnection);
}

SingleInstance::~SingleInstance() { Release(); }

QString SingleInstance::RuntimeFolder()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(QString::fromLocal8Bit(runtime)).exists())
        return QString::fromLocal8Bit(runtime);
    return QStringLiteral("/tmp");
}

QString SingleInstance::LockPath()
{
    const QString folder = RuntimeFolder();
    if (folder == QLatin1String("/tmp"))
        return QStringLiteral("/tmp/kovantis-%1.lock").arg(getuid());
    return folder + QStringLiteral("/kovantis.lock");
}

QString SingleInstance::SocketPath()
{
    const QString folder = RuntimeFolder();
    if (folder == QLatin1String("/tmp"))
        return QStringLiteral("/tmp/kovantis-%1.sock").arg(getuid());
    return folder + QStringLiteral("/kovantis.sock");
}

bool SingleInstance::Acquire()
{
    lock_ = std::make_unique<QLockFile>(LockPath());
    // A lock left by a crashed instance is stale at once: its PID no longer runs.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        return true;
    lock_.reset();
    return false;
}

bool SingleInstance::Listen()
{
    // The lock is ours, so a socket file left behind belongs to a dead instance.
    QLocalServer::removeServer(SocketPath());
    return server_.listen(SocketPath());
}

bool SingleInstance::Send(const QString& line, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(SocketPath());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(line.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // Wait for the instance to acknowledge, so that "KILL" has been taken before we exit.
    socket.waitForReadyRead(timeoutMs);
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::Release()
{
    if (server_.isListening())
        server_.close();
    if (lock_) {
        lock_->unlock();
        lock_.reset();
    }
}

void SingleInstance::HandleConnection()
{
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                const QByteArray line = socket->readLine(256).trimmed();
                socket->write("ok\n");
                socket->flush();
                HandleLine(line);
            }
        });
    }
}

void SingleInstance::HandleLine(const QByteArray& line)
{
    if (line == "OPEN") {
        emit OpenRequested();
    } else if (line == "KILL") {
        emit KillRequested();
    } else if (line.startsWith("COMMAND ")) {
        bool ok = false;
        const int command = line.mid(8).toInt(&ok);
        if (ok)
            emit CommandRequested(command);
    } else if (line.startsWith("MESSAGE ")) {
        bool ok = false;
        const int message = line.mid(8).toInt(&ok, 0);
        if (ok)
            emit MessageRequested(message);
    }
}

} // namespace kovantis::ui
