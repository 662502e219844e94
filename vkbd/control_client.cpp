#include "vkbd/control_client.h"

#include "vkbd/options.h"
#include "vkbd/unix_socket.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace kovantis::vkbd {
namespace {

// The answer up to its newline; empty when the connection ended first.
std::string ReadLine(int fd)
{
    std::string line;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return {};
        }
        line.append(buffer, static_cast<size_t>(n));
        if (const auto newline = line.find('\n'); newline != std::string::npos) {
            return line.substr(0, newline);
        }
    }
}

} // namespace

int RunControlClient(std::span<const std::string_view> args,
                     const EnvironmentLookup& environment)
{
    ClientOptions options;
    std::string error;
    switch (ParseClientOptions(args, environment, options, error)) {
    case ParseOutcome::kHelp: std::fputs(HelpText().data(), stdout); return 0;
    case ParseOutcome::kBadUsage:
        std::fprintf(stderr, "kovantis-vkbd ctl: %s\nTry 'kovantis-vkbd --help'.\n",
                     error.c_str());
        return 2;
    case ParseOutcome::kRun: break;
    }
    const int fd = ConnectUnix(options.controlPath, SOCK_STREAM);
    if (fd < 0) {
        std::fprintf(stderr, "kovantis-vkbd ctl: cannot reach %s: %s\n",
                     options.controlPath.c_str(), std::strerror(errno));
        return 1;
    }
    const bool sent = SendLine(fd, options.command);
    const std::string answer = sent ? ReadLine(fd) : std::string();
    ::close(fd);
    if (answer.empty()) {
        std::fprintf(stderr, "kovantis-vkbd ctl: no answer from %s\n",
                     options.controlPath.c_str());
        return 1;
    }
    std::printf("%s\n", answer.c_str());
    return answer.starts_with("ok") ? 0 : 1;
}

} // namespace kovantis::vkbd
