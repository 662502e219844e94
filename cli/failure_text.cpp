#include "cli/failure_text.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "device/command_set.h"
#include "device/request_channel.h"

namespace kovantis::cli {
namespace {

std::string SystemReason(int error)
{
    return std::strerror(error);
}

} // namespace

std::string ResultReason(int result)
{
    switch (result) {
    case kSendNoDevice:
        return "no keyboard is connected any more";
    case kSendRefused:
        return "the device library could not send the request (the keyboard is probably gone)";
    case kSendNoReply:
        return "the keyboard did not answer (no reply after three tries)";
    case kResultRefusedFF:
        return "the keyboard refused the request (status FF)";
    case kResultRefusedFE:
        return "the keyboard refused the request (status FE)";
    case kResultBadArgument:
        return "a profile number, length or address was out of range";
    default:
        return "unexpected result " + std::to_string(result);
    }
}

std::optional<std::string> ReadProblem(const std::filesystem::path& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return SystemReason(errno);
    if (S_ISDIR(info.st_mode))
        return SystemReason(EISDIR);
    if (!S_ISREG(info.st_mode))
        return std::string("not a regular file");
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return SystemReason(errno);
    ::close(fd);
    return std::nullopt;
}

std::optional<std::string> WriteProblem(const std::filesystem::path& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return SystemReason(EISDIR);
    std::filesystem::path folder = path.parent_path();
    if (folder.empty())
        folder = ".";
    if (::stat(folder.c_str(), &info) != 0)
        return "cannot use the folder " + folder.string() + ": " + SystemReason(errno);
    if (!S_ISDIR(info.st_mode))
        return folder.string() + " is not a folder";
    // A file is written beside its final name first and then renamed: the folder must take it.
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return "cannot write in the folder " + folder.string() + ": " + SystemReason(errno);
    return std::nullopt;
}

} // namespace kovantis::cli
