// The keyboard's own factory keymap against the program's compiled-in fallback: the program
// uses its table until the keyboard has reported its own, so a key the two place differently
// would be assigned wrongly on the first Apply.

#include <gtest/gtest.h>

#include "keyboard/default_layout.h"
#include "keyboard/device_key_action.h"
#include "vkbd/factory_keymap.h"

namespace kovantis::vkbd {
namespace {

TEST(FactoryKeymap, TheProgramsFallbackNamesTheKeyboardsKeyAtEveryPosition)
{
    const auto& keyboard = FactoryKeymapBytes();
    const auto program = DefaultLayoutBytes();
    for (int position = 0; position < kKeymapPositions; ++position) {
        const size_t at = static_cast<size_t>(position) * kKeymapEntrySize;
        const DeviceKeyAction ours{keyboard[at], keyboard[at + 1], keyboard[at + 2]};
        const DeviceKeyAction theirs{program[at], program[at + 1], program[at + 2]};
        EXPECT_EQ(ours, theirs) << "position " << position;
    }
}

TEST(FactoryKeymap, EveryColumnKeepsItsUnusedRowsEmpty)
{
    // Groups of eight positions: rows 6 and 7 of a column are not wired.
    const auto& keyboard = FactoryKeymapBytes();
    for (int position = 7; position < kKeymapPositions; position += 8) {
        const size_t at = static_cast<size_t>(position) * kKeymapEntrySize;
        EXPECT_EQ(keyboard[at], 0) << "position " << position;
    }
}

} // namespace
} // namespace kovantis::vkbd
