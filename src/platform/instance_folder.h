#pragma once
// Where the running desktop program keeps its lock file and its socket, and the lock itself.
// The desktop program and kovantis-cli both find them here, so they always agree.
//
// The folder is $XDG_RUNTIME_DIR, which the session makes private to the user. Without one it
// is $TMPDIR/kovantis-<uid> (/tmp unless TMPDIR is set), made 0700 on first use. In a folder
// every user may write, another user could have made that folder first (or a link of that name
// pointing elsewhere) to take the lock away or to listen in on the socket; such a folder is
// refused with a sentence that says why, never used.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>

namespace kovantis {

struct InstancePaths {
    std::filesystem::path folder;
    std::filesystem::path lock;
    std::filesystem::path socket;
};

// The desktop program makes the fallback folder; kovantis-cli only looks (a folder that does not
// exist means nobody runs).
enum class FolderUse { Create, Inspect };

using EnvironmentValue = std::function<std::optional<std::string>(const char* name)>;

// The paths for an environment and a user; nullopt with *error ("the folder F ... : cause")
// when the fallback folder is not safe to use.
std::optional<InstancePaths> InstancePathsFor(const EnvironmentValue& environment, uid_t uid, FolderUse use,
                                              std::string* error);
// The same for this process.
std::optional<InstancePaths> InstancePathsOfProcess(FolderUse use, std::string* error);

// Why `folder` may not hold the lock of user `uid`, or empty when it may: it must be a folder of
// its own (not a link), belong to that user and be writable by nobody else.
std::string PrivateFolderProblem(const std::filesystem::path& folder, uid_t uid);

// Whether a signal could be sent to a process: 0, or the errno kill(pid, 0) gives.
using SignalProbe = std::function<int(long pid)>;
int ProbeProcess(long pid);

// The process id written in the lock file at `path`, when that process is alive and this user's
// (a process that may not be signalled belongs to someone else and never holds our lock). This
// process itself never counts.
std::optional<long> LockHolder(const std::filesystem::path& path, const SignalProbe& probe = ProbeProcess);

// The lock of the running desktop program: an advisory lock on the lock file, which also holds
// the program's process id for LockHolder. The kernel drops the lock when the process ends, so a
// crashed program never leaves a stale one.
class InstanceLock {
public:
    enum class Outcome { Taken, HeldByOther, Failed };

    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Failed comes with *error naming the file and the cause.
    Outcome Acquire(const std::filesystem::path& path, std::string* error);
    bool Held() const { return fd_ >= 0; }
    // Removes the file and gives the lock up.
    void Release();

private:
    std::filesystem::path path_;
    int fd_ = -1;
};

} // namespace kovantis
