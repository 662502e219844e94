#include "platform/atomic_file.h"

#include "platform/regular_file.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace kovantis {
namespace {

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a write really replaces: renaming over a symbolic link would swap the link for a
// plain file and leave its target stale.
std::string WriteTarget(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) {
        return path;
    }
    return resolved;
}

bool WriteAll(int fd, const uint8_t* data, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A rename only survives a power loss once the folder entry itself has reached the disk.
void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Creates a fresh temporary file beside `target`. O_EXCL with the usual 0666 lets the umask
// decide the permissions of a new file, as for any other file the user's programs create.
int CreateTemporary(const std::string& target, std::string& temporary, mode_t mode)
{
    static std::atomic<unsigned> counter{0};
    std::random_device entropy;
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary = target + ".tmp-" + std::to_string(::getpid()) + "-" +
                    std::to_string(counter.fetch_add(1)) + "-" + std::to_string(entropy());
        const int fd =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

} // namespace

bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> contents,
                         FileAccess access)
{
    const std::string target = WriteTarget(path);
    std::string temporary;
    const bool shared = access == FileAccess::Shared;
    const int fd = CreateTemporary(target, temporary, shared ? 0666 : 0600);
    if (fd < 0) {
        return false;
    }
    struct stat old {};
    if (!shared) {
        ::fchmod(fd, 0600);
    } else if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ::fchmod(fd, old.st_mode & 07777);
    }
    const bool written = WriteAll(fd, contents.data(), contents.size()) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolder(FolderOf(target));
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view contents, FileAccess access)
{
    return WriteFileAtomically(
        path,
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(contents.data()), contents.size()),
        access);
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t max_size)
{
    return ReadRegularFile(path, max_size);
}

} // namespace kovantis
