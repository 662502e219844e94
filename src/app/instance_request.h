#pragma once
// The lines the running desktop program takes on its instance socket:
//   "OPEN"         show the window (a second start)
//   "KILL"         quit (/Kill)
//   "COMMAND <n>"  a window command, decimal (32784/32785 language, 32780 firmware update)
//   "MESSAGE <n>"  a window message, decimal or 0x hexadecimal (0x1E = 30: apply)

#include <string_view>

namespace kovantis {

struct InstanceRequest {
    enum class Kind { None, Open, Kill, Command, Message };
    Kind kind = Kind::None;
    int number = 0;
};

// Kind::None for anything else; white space around the line is ignored.
InstanceRequest ParseInstanceRequest(std::string_view line);

} // namespace kovantis
