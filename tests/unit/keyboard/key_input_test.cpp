// Keystrokes to key codes: the virtual-key table with its exceptions, the rules of
// KeyCodeFromMessage, and the Linux key events that feed it.

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <set>
#include <vector>

#include "keyboard/evdev_keys.h"
#include "keyboard/key_message.h"
#include "keyboard/key_table.h"
#include "keyboard/media_function.h"
#include "keyboard/physical_layout.h"
#include "keyboard/virtual_key_table.h"

namespace kovantis {
namespace {

constexpr uint32_t Data(KeyCode scan)
{
    return 1u | ((scan & 0xFFu) << 16) | ((scan & 0x100u) ? (1u << 24) : 0u);
}

TEST(VirtualKeyTable, GivesTheFirstSlotOrTheDesktopsOwnMeaning)
{
    const auto& table = VirtualKeyTable();
    // Side-less modifiers are the left keys.
    EXPECT_EQ(table[0x10], SlotOf(0x02A));
    EXPECT_EQ(table[0x11], SlotOf(0x01D));
    EXPECT_EQ(table[0x12], SlotOf(0x038));
    // VK_SNAPSHOT is Print Screen although Sys Req comes first in slot order.
    EXPECT_EQ(table[0x2C], SlotOf(0x137));
    EXPECT_EQ(table[0x8B], SlotOf(0x152));
    EXPECT_EQ(table[0x8C], SlotOf(0x153));
    EXPECT_EQ(table[0x9C], SlotOf(0x154));
    EXPECT_EQ(table[0x9D], SlotOf(0x155));
    EXPECT_TRUE(KeyTable()[table[0x9C]].name.empty());
    for (int vk : {0x01, 0x02, 0x04, 0x88, 0x89, 0x8A, 0x97, 0x98, 0x99, 0x9A, 0x9B, 0x9E, 0x9F, 0xFF}) {
        EXPECT_EQ(table[vk], 0) << vk;
    }
    // First slot in slot order wins.
    EXPECT_EQ(table[0x0D], SlotOf(0x01C));  // Enter before Num Enter
    EXPECT_EQ(table[0xA1], SlotOf(0x036));  // Right Shift before its E0 twin
    EXPECT_EQ(table[0x41], SlotOf(0x01E));
    EXPECT_EQ(table[0x24], SlotOf(0x147));  // Home: a keypad key's secondary VK does not count
    EXPECT_EQ(table[0x61], SlotOf(0x04F));
    EXPECT_EQ(table[0x03], SlotOf(0x146));
    EXPECT_EQ(table[0xAF], SlotOf(0x130));
    EXPECT_EQ(table[0x5F], SlotOf(0x15F));
    EXPECT_EQ(table[0x00], 0);
    EXPECT_EQ(table[0x07], 0);
}

TEST(KeyCodeFromMessage, PrefersTheScanCodeWhenItAgreesWithTheVirtualKey)
{
    EXPECT_EQ(KeyCodeFromMessage(0x41, Data(0x01E)), 0x01E);
    EXPECT_EQ(KeyCodeFromMessage(0x2D, Data(0x152)), 0x152);   // Insert
    EXPECT_EQ(KeyCodeFromMessage(0x0D, Data(0x11C)), 0x11C);   // Num Enter, not Enter
    EXPECT_EQ(KeyCodeFromMessage(0x90, Data(0x145)), 0x145);   // Num Lock
    EXPECT_EQ(KeyCodeFromMessage(0x13, Data(0x045)), 0x045);   // Pause
    EXPECT_EQ(KeyCodeFromMessage(0x2C, Data(0x137)), 0x137);   // Print Screen
    EXPECT_EQ(KeyCodeFromMessage(0x03, Data(0x146)), 0x146);   // Break
    EXPECT_EQ(KeyCodeFromMessage(0x11, Data(0x11D)), 0x11D);   // VK_CONTROL of Right Ctrl: by scan
    // Keypad 7 with Num Lock off reports VK_HOME; it stays the keypad key, not Home.
    EXPECT_EQ(KeyCodeFromMessage(0x24, Data(0x047)), 0x047);
    // Right Shift, whatever flag or VK it comes with.
    EXPECT_EQ(KeyCodeFromMessage(0xA1, Data(0x036)), 0x036);
    EXPECT_EQ(KeyCodeFromMessage(0x10, Data(0x036)), 0x036);
    EXPECT_EQ(KeyCodeFromMessage(0xA1, Data(0x136)), 0x036);
    EXPECT_EQ(KeyCodeFromMessage(0x10, Data(0x136)), 0x036);
}

TEST(KeyCodeFromMessage, FallsBackToTheVirtualKey)
{
    // VK 0xFF: the scan code alone names the key.
    EXPECT_EQ(KeyCodeFromMessage(0xFF, Data(0x15E)), 0x15E);
    EXPECT_EQ(KeyCodeFromMessage(0x1FF, Data(0x07D)), 0x07D);  // only the VK's low byte counts
    // No scan code (injected keystrokes): the VK's slot.
    EXPECT_EQ(KeyCodeFromMessage(0x41, 0), 0x01E);
    EXPECT_EQ(KeyCodeFromMessage(0x12, 0), 0x038);
    EXPECT_EQ(KeyCodeFromMessage(0x01, 0), 0);
    // A scan code that disagrees with the VK: the VK wins.
    EXPECT_EQ(KeyCodeFromMessage(0x42, Data(0x01E)), 0x030);
    EXPECT_EQ(KeyCodeFromMessage(0x07, Data(0x01E)), 0);
    // The zoom VK names Insert, whatever the scan.
    EXPECT_EQ(KeyCodeFromMessage(0x8B, Data(0x01E)), 0x152);
}

TEST(EvdevKeys, TranslatesToTheMessagesOfAPcKeyboard)
{
    const auto a = KeyMessageFromEvdev(KEY_A);
    ASSERT_TRUE(a.has_value());
    EXPECT_EQ(a->vk, 0x41);
    EXPECT_EQ(a->data, 0x001E0001u);
    const auto insert = KeyMessageFromEvdev(KEY_INSERT);
    ASSERT_TRUE(insert.has_value());
    EXPECT_EQ(insert->vk, 0x2D);
    EXPECT_EQ(insert->data, 0x01520001u);  // make code 0x52 with the extended bit
    const auto pause = KeyMessageFromEvdev(KEY_PAUSE);
    ASSERT_TRUE(pause.has_value());
    EXPECT_EQ(pause->vk, 0x13);
    EXPECT_EQ(pause->data, 0x00450001u);  // no extended bit
    const auto numLock = KeyMessageFromEvdev(KEY_NUMLOCK);
    ASSERT_TRUE(numLock.has_value());
    EXPECT_EQ(numLock->vk, 0x90);
    EXPECT_EQ(numLock->data, 0x01450001u);
    const auto printScreen = KeyMessageFromEvdev(KEY_SYSRQ);
    ASSERT_TRUE(printScreen.has_value());
    EXPECT_EQ(printScreen->vk, 0x2C);
    EXPECT_EQ(printScreen->data, 0x01370001u);
    const auto released = KeyMessageFromEvdev(KEY_A, {}, true);
    ASSERT_TRUE(released.has_value());
    EXPECT_EQ(released->data, 0xC01E0001u);

    EXPECT_EQ(KeyCodeOfEvdev(KEY_PAUSE, {.ctrl = true}), 0x146);
    EXPECT_EQ(KeyCodeOfEvdev(KEY_SYSRQ, {.alt = true}), 0x054);
    EXPECT_EQ(KeyCodeOfEvdev(KEY_SYSRQ, {.ctrl = true}), 0x137);
    EXPECT_EQ(KeyCodeOfEvdev(KEY_RIGHTSHIFT), 0x036);
    EXPECT_EQ(KeyCodeOfEvdev(KEY_KPENTER), 0x11C);
    EXPECT_EQ(KeyCodeOfEvdev(KEY_KPSLASH), 0x135);
    EXPECT_EQ(KeyCodeOfEvdev(KEY_LEFTMETA), 0x15B);
    EXPECT_EQ(KeyCodeOfEvdev(KEY_COMPOSE), 0x15D);
    EXPECT_EQ(KeyCodeOfEvdev(KEY_102ND), 0x056);
    EXPECT_EQ(KeyCodeOfEvdev(KEY_VOLUMEUP), 0x130);
    EXPECT_EQ(KeyCodeOfEvdev(KEY_F14), 0);
    EXPECT_FALSE(KeyMessageFromEvdev(BTN_LEFT).has_value());

    // The window system's native scan code is the evdev code + 8.
    EXPECT_EQ(KeyMessageFromNativeScanCode(KEY_A + 8)->data, a->data);
    EXPECT_EQ(KeyMessageFromNativeScanCode(KEY_NUMLOCK + 8)->data, numLock->data);
    EXPECT_FALSE(KeyMessageFromNativeScanCode(7).has_value());
    EXPECT_FALSE(KeyMessageFromNativeScanCode(0xFFFFFFFFu).has_value());
}

// Every key a PC keyboard can produce reaches the capture as the key code the key table names.
TEST(EvdevKeys, EveryPcKeyArrivesAsItsKeyCode)
{
    std::vector<KeyCode> producible;
    for (const PhysicalKey& key : KeyList()) producible.push_back(key.code);
    for (const MediaFunction& media : kMediaFunctions) producible.push_back(media.code);
    for (KeyCode code : {0x146, 0x056, 0x054, 0x064, 0x15E, 0x15F, 0x163, 0x07D, 0x073, 0x07E, 0x07B, 0x079,
                         0x070, 0x071, 0x072}) {
        producible.push_back(code);
    }
    std::set<KeyCode> reached;
    for (uint16_t evdev = 0; evdev < KEY_MAX; ++evdev) {
        for (HeldModifiers held : {HeldModifiers{}, HeldModifiers{true, false}, HeldModifiers{false, true}}) {
            const auto message = KeyMessageFromEvdev(evdev, held);
            if (!message) continue;
            const KeyCode code = KeyCodeOfEvdev(evdev, held);
            EXPECT_FALSE(KeyTableEntryOf(code).pickerPosition == kEmptySlotPosition) << evdev;
            EXPECT_EQ(KeyCodeFromMessage(message->vk, message->data), code) << evdev;
            reached.insert(code);
        }
    }
    for (KeyCode code : producible) EXPECT_TRUE(reached.contains(code)) << std::hex << code;
}

} // namespace
} // namespace kovantis
