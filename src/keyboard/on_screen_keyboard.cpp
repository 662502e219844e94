#include "keyboard/on_screen_keyboard.h"

#include <array>

#include <sys/stat.h>
#include <unistd.h>

namespace kovantis {
namespace {

constexpr std::array kPrograms = std::to_array<std::string_view>({
    "onboard", "florence", "matchbox-keyboard", "xvkbd", "kvkbd", "wvkbd-mobintl",
});

} // namespace

std::span<const std::string_view> OnScreenKeyboardPrograms() { return kPrograms; }

bool IsExecutableFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::string FindOnScreenKeyboard(std::string_view searchPath, const ExecutableCheck& isExecutable)
{
    for (std::string_view program : kPrograms) {
        std::string_view rest = searchPath;
        while (true) {
            const size_t colon = rest.find(':');
            const std::string_view folder = rest.substr(0, colon);
            if (!folder.empty() && folder.front() == '/') {
                std::string candidate(folder);
                if (candidate.back() != '/')
                    candidate += '/';
                candidate += program;
                if (isExecutable(candidate))
                    return candidate;
            }
            if (colon == std::string_view::npos)
                break;
            rest.remove_prefix(colon + 1);
        }
    }
    return {};
}

} // namespace kovantis
