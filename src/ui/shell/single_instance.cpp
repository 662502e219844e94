#include "ui/shell/single_instance.h"

#include <QSocketNotifier>

#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

#include "app/instance_request.h"

namespace kovantis::ui {

SingleInstance::SingleInstance(InstancePaths paths, QObject* parent) : QObject(parent), paths_(std::move(paths)) {}

SingleInstance::~SingleInstance() { Release(); }

InstanceLock::Outcome SingleInstance::Acquire(std::string* error) { return lock_.Acquire(paths_.lock, error); }

bool SingleInstance::Listen(std::string* error)
{
    listening_ = ListenOnInstanceSocket(paths_.socket, error);
    if (listening_ < 0)
        return false;
    listenNotifier_ = new QSocketNotifier(listening_, QSocketNotifier::Read, this);
    connect(listenNotifier_, &QSocketNotifier::activated, this, &SingleInstance::AcceptClients);
    return true;
}

bool SingleInstance::Send(const QString& line, int timeoutMs) const
{
    return SendInstanceLine(paths_.socket, (line + QLatin1Char('\n')).toStdString(),
                            std::chrono::milliseconds(timeoutMs));
}

void SingleInstance::Release()
{
    while (!clients_.empty())
        DropClient(clients_.begin()->first);
    if (listening_ >= 0) {
        listenNotifier_->setEnabled(false);
        listenNotifier_->deleteLater();
        listenNotifier_ = nullptr;
        ::close(listening_);
        listening_ = -1;
        ::unlink(paths_.socket.c_str());
    }
    lock_.Release();
}

void SingleInstance::AcceptClients()
{
    for (int fd = AcceptInstanceClient(listening_); fd >= 0; fd = AcceptInstanceClient(listening_)) {
        Client& client = clients_[fd];
        client.fd = fd;
        client.notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(client.notifier, &QSocketNotifier::activated, this, [this, fd] { ReadClient(fd); });
    }
}

void SingleInstance::ReadClient(int fd)
{
    const auto found = clients_.find(fd);
    if (found == clients_.end())
        return;
    char buffer[512];
    const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
    if (got < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (got <= 0) {
        DropClient(fd);
        return;
    }
    found->second.lines.Add(std::string_view(buffer, static_cast<size_t>(got)));
    std::string line;
    // Looked up anew each time: what a line asks for may have ended the channel.
    for (auto client = found; client != clients_.end() && client->second.lines.Next(&line); client = clients_.find(fd)) {
        // The answer tells the sender its line was taken, before what it asks for runs.
        [[maybe_unused]] const ssize_t sent = ::send(fd, "ok\n", 3, MSG_NOSIGNAL | MSG_DONTWAIT);
        HandleLine(line);
    }
}

void SingleInstance::DropClient(int fd)
{
    const auto found = clients_.find(fd);
    if (found == clients_.end())
        return;
    // This may run inside the notifier's own signal: it goes once control is back in the loop.
    found->second.notifier->setEnabled(false);
    found->second.notifier->deleteLater();
    ::close(fd);
    clients_.erase(found);
}

void SingleInstance::HandleLine(const std::string& line)
{
    const InstanceRequest request = ParseInstanceRequest(line);
    switch (request.kind) {
    case InstanceRequest::Kind::Open:
        emit OpenRequested();
        break;
    case InstanceRequest::Kind::Kill:
        emit KillRequested();
        break;
    case InstanceRequest::Kind::Command:
        emit CommandRequested(request.number);
        break;
    case InstanceRequest::Kind::Message:
        emit MessageRequested(request.number);
        break;
    case InstanceRequest::Kind::None:
        break;
    }
}

} // namespace kovantis::ui
