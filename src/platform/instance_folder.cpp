#include "platform/instance_folder.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kovantis {
namespace {

namespace fs = std::filesystem;

constexpr const char* kLockName = "kovantis.lock";
constexpr const char* kSocketName = "kovantis.sock";

std::optional<fs::path> AbsoluteValue(const EnvironmentValue& environment, const char* name)
{
    const std::optional<std::string> value = environment(name);
    if (!value || value->empty() || !value->starts_with('/'))
        return std::nullopt;
    return fs::path(*value);
}

bool IsFolder(const fs::path& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

InstancePaths PathsIn(const fs::path& folder)
{
    return {folder, folder / kLockName, folder / kSocketName};
}

std::string ModeText(mode_t mode)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

} // namespace

std::string PrivateFolderProblem(const fs::path& folder, uid_t uid)
{
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0)
        return std::strerror(errno);
    if (S_ISLNK(info.st_mode))
        return "it is a symbolic link, not a folder of its own";
    if (!S_ISDIR(info.st_mode))
        return "it is not a folder";
    if (info.st_uid != uid)
        return "it belongs to user " + std::to_string(info.st_uid) + ", not to you (user " + std::to_string(uid) + ")";
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return "other users may write in it (mode " + ModeText(info.st_mode) + ")";
    return {};
}

std::optional<InstancePaths> InstancePathsFor(const EnvironmentValue& environment, uid_t uid, FolderUse use,
                                              std::string* error)
{
    if (const std::optional<fs::path> runtime = AbsoluteValue(environment, "XDG_RUNTIME_DIR"); runtime && IsFolder(*runtime))
        return PathsIn(*runtime);
    const fs::path base = AbsoluteValue(environment, "TMPDIR").value_or("/tmp");
    const fs::path folder = base / ("kovantis-" + std::to_string(uid));
    if (use == FolderUse::Inspect) {
        struct stat info {};
        if (::lstat(folder.c_str(), &info) != 0 && errno == ENOENT)
            return PathsIn(folder);
    } else if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        if (error)
            *error = "cannot make the folder " + folder.string() + ": " + std::strerror(errno);
        return std::nullopt;
    }
    if (const std::string problem = PrivateFolderProblem(folder, uid); !problem.empty()) {
        if (error)
            *error = "the folder " + folder.string() + " cannot hold the lock of the running program: " + problem +
                     " (remove it, or set XDG_RUNTIME_DIR to a folder of your own)";
        return std::nullopt;
    }
    return PathsIn(folder);
}

std::optional<InstancePaths> InstancePathsOfProcess(FolderUse use, std::string* error)
{
    return InstancePathsFor(
        [](const char* name) {
            const char* value = std::getenv(name);
            return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
        },
        ::getuid(), use, error);
}

int ProbeProcess(long pid)
{
    return ::kill(static_cast<pid_t>(pid), 0) == 0 ? 0 : errno;
}

std::optional<long> LockHolder(const fs::path& path, const SignalProbe& probe)
{
    std::ifstream file(path);
    std::string line;
    if (!file || !std::getline(file, line))
        return std::nullopt;
    long pid = 0;
    const auto [end, failed] = std::from_chars(line.data(), line.data() + line.size(), pid);
    if (failed != std::errc() || end != line.data() + line.size() || pid <= 0 || pid == ::getpid())
        return std::nullopt;
    if (probe(pid) == 0)
        return pid;
    return std::nullopt;
}

InstanceLock::~InstanceLock() { Release(); }

InstanceLock::Outcome InstanceLock::Acquire(const fs::path& path, std::string* error)
{
    Release();
    const auto fail = [&](const char* what) {
        if (error)
            *error = std::string("cannot ") + what + " the lock file " + path.string() + ": " + std::strerror(errno);
        return Outcome::Failed;
    };
    // The file may be replaced between opening and locking it by a program that just quit (it
    // removes the file while still holding the lock): the lock only counts on the file that is
    // there afterwards.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0)
            return fail("open");
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int cause = errno;
            ::close(fd);
            if (cause == EWOULDBLOCK)
                return Outcome::HeldByOther;
            errno = cause;
            return fail("lock");
        }
        struct stat opened {};
        struct stat named {};
        if (::fstat(fd, &opened) == 0 && ::stat(path.c_str(), &named) == 0 && opened.st_ino == named.st_ino &&
            opened.st_dev == named.st_dev) {
            const std::string text = std::to_string(::getpid()) + "\nkovantis\n";
            if (::ftruncate(fd, 0) != 0 || ::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
                const int cause = errno;
                ::close(fd);
                errno = cause;
                return fail("write");
            }
            fd_ = fd;
            path_ = path;
            return Outcome::Taken;
        }
        ::close(fd);
    }
    errno = EAGAIN;
    return fail("keep");
}

void InstanceLock::Release()
{
    if (fd_ < 0)
        return;
    // Removed while still locked, so that nobody takes a lock on a file about to go.
    ::unlink(path_.c_str());
    ::close(fd_);
    fd_ = -1;
}

} // namespace kovantis
