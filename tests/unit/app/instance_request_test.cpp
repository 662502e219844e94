// What the running desktop program does with a line from its instance socket.

#include <gtest/gtest.h>

#include "app/instance_request.h"

namespace kovantis {
namespace {

using Kind = InstanceRequest::Kind;

TEST(InstanceRequest, KnownLinesAndNumbersElseNothing)
{
    struct Case {
        const char* line;
        Kind kind;
        int number;
    };
    for (const Case& c : {Case{"OPEN", Kind::Open, 0},
                          Case{"  KILL\r", Kind::Kill, 0},
                          Case{"COMMAND 32784", Kind::Command, 32784},
                          Case{"MESSAGE 0x1E", Kind::Message, 30},
                          Case{"MESSAGE 30", Kind::Message, 30},
                          // Window commands are decimal; a leading zero is not octal there.
                          Case{"COMMAND 032784", Kind::Command, 32784},
                          Case{"open", Kind::None, 0},
                          Case{"OPENED", Kind::None, 0},
                          Case{"COMMAND", Kind::None, 0},
                          Case{"COMMAND ", Kind::None, 0},
                          Case{"COMMAND 12x", Kind::None, 0},
                          Case{"COMMAND 0x10", Kind::None, 0},
                          Case{"COMMAND 99999999999", Kind::None, 0},
                          Case{"MESSAGE zz", Kind::None, 0},
                          Case{"", Kind::None, 0}}) {
        const InstanceRequest request = ParseInstanceRequest(c.line);
        EXPECT_EQ(request.kind, c.kind) << c.line;
        if (c.kind == Kind::Command || c.kind == Kind::Message) {
            EXPECT_EQ(request.number, c.number) << c.line;
        }
    }
}

} // namespace
} // namespace kovantis
