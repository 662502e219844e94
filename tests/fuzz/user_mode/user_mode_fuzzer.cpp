// Any bytes as a user lighting-mode file (the per-user overlay copy, which anyone can edit):
// reading the present mode, the names and any mode never misbehaves and gives values in
// range; a write keeps the file readable.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <unistd.h>

#include "lighting/user_mode_file.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kovantis;
    static const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("kovantis-user-mode-fuzz-" + std::to_string(::getpid()));
    static const Paths paths(PathRoots{root / "bin", root, root / "config", root / "data"});
    static const UserModeStore store(paths);
    const std::string file = paths.WritablePath(UserModeStore::FileName(0)).string();
    WriteFileAtomically(file, std::string_view(reinterpret_cast<const char*>(data), size));

    const UserModeFile modes(store, 0);
    const int present = modes.ReadPresentMode();
    if (present < 0 || present >= kUserModeCount)
        std::abort();
    modes.ReadNames();
    // Every mode is read by the same code; one a run, chosen by the input, keeps the runs quick.
    const UserModeContent content = modes.ReadMode(static_cast<int>(size % kUserModeCount));
    if (content.settings.tool < 0 || content.settings.tool > 1)
        std::abort();
    if (size > 0 && data[0] == 'W') {
        modes.WriteName(data[size - 1] % kUserModeCount, u"fuzz");
        modes.ReadNames();
    }
    return 0;
}
