// window-command: hands a window command or message to the running desktop program, as other
// programs may (32780 firmware update, 32784 Chinese, 32785 English; 30 = 0x1E applies).

#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "cli/command_registry.h"
#include "cli/session.h"

namespace kovantis::cli {
namespace {

constexpr long kMessageApply = 0x1E;

int WindowCommand(Session& session, const Arguments& args);

const Command kWindowCommand{"window-command", "N",
                             "send window command N to the running desktop program (30: apply)",
                             "N is one of the numbers the desktop program's window takes from outside:\n"
                             "  30      apply the working data to the keyboard\n"
                             "  32780   open the firmware update dialog\n"
                             "  32784   switch to Chinese\n"
                             "  32785   switch to English\n"
                             "\n"
                             "Example:\n"
                             "  kovantis-cli window-command 30\n",
                             &WindowCommand};
const CommandRegistration registerWindowCommand(kWindowCommand);

// Where the desktop program listens: beside its lock file in the runtime folder.
std::string DesktopSocketPath()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime != '\0')
        return std::string(runtime) + "/kovantis.sock";
    return "/tmp/kovantis-" + std::to_string(getuid()) + ".sock";
}

// Writes one line and waits for the program's "ok".
bool SendLine(const std::string& path, const std::string& line)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    for (size_t sent = 0; ok && sent < line.size();) {
        const ssize_t n = send(fd, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
        ok = n > 0;
        sent += ok ? static_cast<size_t>(n) : 0;
    }
    std::string answer;
    char c = 0;
    while (ok && answer.size() < 16 && recv(fd, &c, 1, 0) == 1 && c != '\n')
        answer += c;
    close(fd);
    return ok && answer == "ok";
}

int WindowCommand(Session& session, const Arguments& args)
{
    const auto number = args.operands.size() == 1 ? ParseNumber(args.operands[0], 0, 0xFFFF) : std::nullopt;
    if (!number)
        return session.UsageError(kWindowCommand, "window-command takes one number, 0 to 65535");
    const std::string line =
        std::string(*number == kMessageApply ? "MESSAGE " : "COMMAND ") + std::to_string(*number) + "\n";
    const std::string path = DesktopSocketPath();
    if (!SendLine(path, line)) {
        session.Err() << "kovantis-cli: the desktop program does not answer on " << path
                      << " (is it running?)\n";
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace
} // namespace kovantis::cli
