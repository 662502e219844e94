// window-command: hands a window command or message to the running desktop program, as other
// programs may (32780 firmware update, 32784 Chinese, 32785 English; 30 = 0x1E applies).

#include <chrono>
#include <optional>
#include <string>

#include "cli/command_registry.h"
#include "cli/session.h"
#include "platform/instance_channel.h"
#include "platform/instance_folder.h"

namespace kovantis::cli {
namespace {

constexpr long kMessageApply = 0x1E;
constexpr std::chrono::seconds kAnswerTimeout{2};

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

int WindowCommand(Session& session, const Arguments& args)
{
    const auto number = args.operands.size() == 1 ? ParseNumber(args.operands[0], 0, 0xFFFF) : std::nullopt;
    if (!number)
        return session.UsageError(kWindowCommand, "window-command takes one number, 0 to 65535");
    const std::string line =
        std::string(*number == kMessageApply ? "MESSAGE " : "COMMAND ") + std::to_string(*number) + "\n";
    std::string folderError;
    const std::optional<InstancePaths> instance = InstancePathsOfProcess(FolderUse::Inspect, &folderError);
    if (!instance) {
        session.Err() << "kovantis-cli: cannot reach the desktop program: " << folderError << '\n';
        return kExitFailed;
    }
    if (!SendInstanceLine(instance->socket, line, kAnswerTimeout)) {
        session.Err() << "kovantis-cli: the desktop program does not answer on " << instance->socket.string()
                      << " (is it running?)\n";
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace
} // namespace kovantis::cli
