// Any bytes as the virtual keyboard's state file: loading keeps the memory sound (a state file
// that is not valid changes nothing), the keyboard still answers every command, and what it
// saves loads back to the same memory.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <unistd.h>

#include "vkbd/keyboard_model.h"
#include "vkbd/state_file_io.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kovantis;
    static const std::string file =
        (std::filesystem::temp_directory_path() / ("kovantis-vkbd-state-fuzz-" + std::to_string(::getpid()))).string();
    vkbd::ReplaceFileContents(file, std::span<const uint8_t>(data, size));
    vkbd::KeyboardModel model;
    model.Load(file);
    if (model.ActiveProfile() > 2)
        std::abort();
    std::array<uint8_t, 64> request{};
    request[0] = 0x04;
    for (uint8_t command : {0x03, 0x05, 0x07, 0x09, 0x0F}) {
        request[3] = command;
        request[4] = 56;
        model.HandleCommand(request);
    }
    if (!model.Save(file + ".again"))
        return 0;
    vkbd::KeyboardModel again;
    again.Load(file + ".again");
    if (!std::equal(model.Keymap(0).begin(), model.Keymap(0).end(), again.Keymap(0).begin()) ||
        !std::equal(model.MacroArea().begin(), model.MacroArea().end(), again.MacroArea().begin()))
        std::abort();
    return 0;
}
