#include "platform/regular_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kovantis {
namespace {

FileProblem KindProblem(mode_t mode)
{
    if (S_ISREG(mode))
        return FileProblem::None;
    if (S_ISDIR(mode))
        return FileProblem::Folder;
    if (S_ISFIFO(mode))
        return FileProblem::Fifo;
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return FileProblem::Device;
    if (S_ISSOCK(mode))
        return FileProblem::Socket;
    return FileProblem::OtherKind;
}

void Set(FileCheck* check, FileProblem problem, int error = 0)
{
    if (check != nullptr)
        *check = FileCheck{problem, error};
}

} // namespace

std::string DescribeFileProblem(const FileCheck& check)
{
    switch (check.problem) {
    case FileProblem::None:
        return "is readable";
    case FileProblem::Missing:
        return "does not exist";
    case FileProblem::Folder:
        return "is a folder, not a file";
    case FileProblem::Fifo:
        return "is a FIFO (named pipe), not a regular file";
    case FileProblem::Device:
        return "is a device, not a regular file";
    case FileProblem::Socket:
        return "is a socket, not a regular file";
    case FileProblem::OtherKind:
        return "is not a regular file";
    case FileProblem::Unreadable:
        return std::string("cannot be opened: ") + std::strerror(check.error);
    case FileProblem::TooLarge:
        return "is too large";
    case FileProblem::ReadFailed:
        return check.error != 0 ? std::string("cannot be read: ") + std::strerror(check.error)
                                : std::string("changed or ended while it was read");
    }
    return "cannot be read";
}

std::string DescribeFileProblem(const std::string& path, const FileCheck& check)
{
    return path + ": " + DescribeFileProblem(check);
}

RegularFile::RegularFile(const std::string& path, FileCheck* check)
{
    struct stat info {};
    // The kind is checked before opening: opening a device node alone may have effects.
    if (::stat(path.c_str(), &info) != 0) {
        Set(check, errno == ENOENT || errno == ENOTDIR ? FileProblem::Missing : FileProblem::Unreadable,
            errno);
        return;
    }
    if (const FileProblem kind = KindProblem(info.st_mode); kind != FileProblem::None) {
        Set(check, kind);
        return;
    }
    // O_NONBLOCK: should the path have been swapped for a FIFO since, the open does not wait
    // for a writer; the second check below catches it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        Set(check, errno == ENOENT ? FileProblem::Missing : FileProblem::Unreadable, errno);
        return;
    }
    if (::fstat(fd, &info) != 0 || KindProblem(info.st_mode) != FileProblem::None) {
        Set(check, KindProblem(info.st_mode) == FileProblem::None ? FileProblem::Unreadable
                                                                  : KindProblem(info.st_mode));
        ::close(fd);
        return;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    fd_ = fd;
    size_ = static_cast<uint64_t>(info.st_size);
    Set(check, FileProblem::None);
}

RegularFile::~RegularFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool RegularFile::ReadAt(uint64_t offset, std::span<uint8_t> out) const
{
    size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = ::pread(fd_, out.data() + done, out.size() - done,
                                  static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool IsRegularFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<std::string> ReadRegularFile(const std::string& path, uint64_t maxSize, FileCheck* check)
{
    const RegularFile file(path, check);
    if (!file.IsOpen())
        return std::nullopt;
    if (file.Size() > maxSize) {
        Set(check, FileProblem::TooLarge);
        return std::nullopt;
    }
    std::string contents(static_cast<size_t>(file.Size()), '\0');
    errno = 0;
    // One pass of the size found at opening; a file that shrank meanwhile is refused, one that
    // grew is read as it was.
    if (!file.ReadAt(0, std::span(reinterpret_cast<uint8_t*>(contents.data()), contents.size()))) {
        Set(check, FileProblem::ReadFailed, errno);
        return std::nullopt;
    }
    return contents;
}

} // namespace kovantis
