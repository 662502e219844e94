// The key table slot by slot: the picker list, the known-but-hidden keys, the empty slots and
// the first-match rules of the lookups.

#include <gtest/gtest.h>

#include <set>

#include "keyboard/hid_usage.h"
#include "keyboard/key_table.h"
#include "keyboard/media_function.h"

namespace kovantis {
namespace {

struct PickerRow {
    int pos;
    std::u16string_view name;
    KeyCode code;
    uint8_t usage;
    uint8_t vk;
    uint8_t vkNumLockOff;  // 0: as vk
};

// Typed from the picker list of the keyboard's documentation, row by row.
constexpr PickerRow kExpectedPicker[] = {
    {0, u"A", 0x01E, 0x04, 0x41, 0}, {1, u"B", 0x030, 0x05, 0x42, 0}, {2, u"C", 0x02E, 0x06, 0x43, 0},
    {3, u"D", 0x020, 0x07, 0x44, 0}, {4, u"E", 0x012, 0x08, 0x45, 0}, {5, u"F", 0x021, 0x09, 0x46, 0},
    {6, u"G", 0x022, 0x0A, 0x47, 0}, {7, u"H", 0x023, 0x0B, 0x48, 0}, {8, u"I", 0x017, 0x0C, 0x49, 0},
    {9, u"J", 0x024, 0x0D, 0x4A, 0}, {10, u"K", 0x025, 0x0E, 0x4B, 0}, {11, u"L", 0x026, 0x0F, 0x4C, 0},
    {12, u"M", 0x032, 0x10, 0x4D, 0}, {13, u"N", 0x031, 0x11, 0x4E, 0}, {14, u"O", 0x018, 0x12, 0x4F, 0},
    {15, u"P", 0x019, 0x13, 0x50, 0}, {16, u"Q", 0x010, 0x14, 0x51, 0}, {17, u"R", 0x013, 0x15, 0x52, 0},
    {18, u"S", 0x01F, 0x16, 0x53, 0}, {19, u"T", 0x014, 0x17, 0x54, 0}, {20, u"U", 0x016, 0x18, 0x55, 0},
    {21, u"V", 0x02F, 0x19, 0x56, 0}, {22, u"W", 0x011, 0x1A, 0x57, 0}, {23, u"X", 0x02D, 0x1B, 0x58, 0},
    {24, u"Y", 0x015, 0x1C, 0x59, 0}, {25, u"Z", 0x02C, 0x1D, 0x5A, 0}, {26, u"1", 0x002, 0x1E, 0x31, 0},
    {27, u"2", 0x003, 0x1F, 0x32, 0}, {28, u"3", 0x004, 0x20, 0x33, 0}, {29, u"4", 0x005, 0x21, 0x34, 0},
    {30, u"5", 0x006, 0x22, 0x35, 0}, {31, u"6", 0x007, 0x23, 0x36, 0}, {32, u"7", 0x008, 0x24, 0x37, 0},
    {33, u"8", 0x009, 0x25, 0x38, 0}, {34, u"9", 0x00A, 0x26, 0x39, 0}, {35, u"0", 0x00B, 0x27, 0x30, 0},
    {36, u"Enter", 0x01C, 0x28, 0x0D, 0}, {37, u"Esc", 0x001, 0x29, 0x1B, 0},
    {38, u"Backspace", 0x00E, 0x2A, 0x08, 0}, {39, u"Tab", 0x00F, 0x2B, 0x09, 0},
    {40, u"Space", 0x039, 0x2C, 0x20, 0}, {41, u"-", 0x00C, 0x2D, 0xBD, 0}, {42, u"=", 0x00D, 0x2E, 0xBB, 0},
    {43, u"[", 0x01A, 0x2F, 0xDB, 0}, {44, u"]", 0x01B, 0x30, 0xDD, 0}, {45, u"\\", 0x02B, 0x31, 0xDC, 0},
    {46, u";", 0x027, 0x33, 0xBA, 0}, {47, u"'", 0x028, 0x34, 0xDE, 0}, {48, u"`", 0x029, 0x35, 0xC0, 0},
    {49, u",", 0x033, 0x36, 0xBC, 0}, {50, u".", 0x034, 0x37, 0xBE, 0}, {51, u"/", 0x035, 0x38, 0xBF, 0},
    {52, u"F1", 0x03B, 0x3A, 0x70, 0}, {53, u"F2", 0x03C, 0x3B, 0x71, 0}, {54, u"F3", 0x03D, 0x3C, 0x72, 0},
    {55, u"F4", 0x03E, 0x3D, 0x73, 0}, {56, u"F5", 0x03F, 0x3E, 0x74, 0}, {57, u"F6", 0x040, 0x3F, 0x75, 0},
    {58, u"F7", 0x041, 0x40, 0x76, 0}, {59, u"F8", 0x042, 0x41, 0x77, 0}, {60, u"F9", 0x043, 0x42, 0x78, 0},
    {61, u"F10", 0x044, 0x43, 0x79, 0}, {62, u"F11", 0x057, 0x44, 0x7A, 0}, {63, u"F12", 0x058, 0x45, 0x7B, 0},
    {64, u"Print Screen", 0x137, 0x46, 0x2C, 0}, {65, u"Pause", 0x045, 0x48, 0x13, 0},
    {66, u"Break", 0x146, 0x48, 0x03, 0}, {67, u"Insert", 0x152, 0x49, 0x2D, 0},
    {68, u"Delete", 0x153, 0x4C, 0x2E, 0}, {69, u"Home", 0x147, 0x4A, 0x24, 0},
    {70, u"End", 0x14F, 0x4D, 0x23, 0}, {71, u"Page Up", 0x149, 0x4B, 0x21, 0},
    {72, u"Page Down", 0x151, 0x4E, 0x22, 0}, {73, u"↑", 0x148, 0x52, 0x26, 0},
    {74, u"↓", 0x150, 0x51, 0x28, 0}, {75, u"←", 0x14B, 0x50, 0x25, 0}, {76, u"→", 0x14D, 0x4F, 0x27, 0},
    {77, u"Scroll Lock", 0x046, 0x47, 0x91, 0}, {78, u"Caps Lock", 0x03A, 0x39, 0x14, 0},
    {79, u"Num Lock", 0x145, 0x53, 0x90, 0}, {80, u"Num /", 0x135, 0x54, 0x6F, 0},
    {81, u"Num *", 0x037, 0x55, 0x6A, 0}, {82, u"Num -", 0x04A, 0x56, 0x6D, 0},
    {83, u"Num +", 0x04E, 0x57, 0x6B, 0}, {84, u"Num Enter", 0x11C, 0x58, 0x0D, 0},
    {85, u"Num 1", 0x04F, 0x59, 0x61, 0x23}, {86, u"Num 2", 0x050, 0x5A, 0x62, 0x28},
    {87, u"Num 3", 0x051, 0x5B, 0x63, 0x22}, {88, u"Num 4", 0x04B, 0x5C, 0x64, 0x25},
    {89, u"Num 5", 0x04C, 0x5D, 0x65, 0x0C}, {90, u"Num 6", 0x04D, 0x5E, 0x66, 0x27},
    {91, u"Num 7", 0x047, 0x5F, 0x67, 0x24}, {92, u"Num 8", 0x048, 0x60, 0x68, 0x26},
    {93, u"Num 9", 0x049, 0x61, 0x69, 0x21}, {94, u"Num 0", 0x052, 0x62, 0x60, 0x2D},
    {95, u"Num .", 0x053, 0x63, 0x6E, 0x2E}, {96, u"K45", 0x056, 0x64, 0xE2, 0},
    {97, u"App", 0x15D, 0x65, 0x5D, 0}, {98, u"Ctrl", 0x01D, 0xE0, 0xA2, 0}, {99, u"Shift", 0x02A, 0xE1, 0xA0, 0},
    {100, u"Alt", 0x038, 0xE2, 0xA4, 0}, {101, u"Win", 0x15B, 0xE3, 0x5B, 0},
    {102, u"Right Ctrl", 0x11D, 0xE4, 0xA3, 0}, {103, u"Right Shift", 0x036, 0xE5, 0xA1, 0},
    {104, u"Right Alt", 0x138, 0xE6, 0xA5, 0}, {105, u"Right Win", 0x15C, 0xE7, 0x5C, 0},
};

struct HiddenRow {
    std::u16string_view name;  // empty: a media function, named by the language
    KeyCode code;
    uint8_t usage;  // 0xFF: a media function, checked through its consumer usage below
    uint8_t vk;
};

constexpr HiddenRow kExpectedHidden[] = {
    {u"Power", 0x15E, 0x81, 0xFF}, {u"Sleep", 0x15F, 0x82, 0x5F}, {u"Wake", 0x163, 0x83, 0xFF},
    {u"Left Button", 0x171, 0, 0x01}, {u"Right Button", 0x172, 0, 0x02}, {u"Middle Button", 0x173, 0, 0x04},
    {u"Double Click", 0x170, 0, 0x8A}, {u"Pan Left", 0x16E, 0, 0x88}, {u"Pan Right", 0x16F, 0, 0x89},
    {u"Zoom-", 0x174, 0xD2, 0x8B}, {u"Zoom+", 0x175, 0xD3, 0x8C}, {u"Copy", 0x176, 0, 0x97},
    {u"Cut", 0x177, 0, 0x98}, {u"Paste", 0x178, 0, 0x99}, {u"Minimize", 0x179, 0, 0x9A},
    {u"Maximize", 0x17A, 0, 0x9B}, {u"Word", 0x17B, 0xD4, 0x9C}, {u"Excel", 0x17C, 0xD5, 0x9D},
    {u"PowerPoint", 0x17D, 0, 0x9E}, {u"Calendar", 0x17E, 0, 0x9F}, {u"Sys Req", 0x054, 0, 0x2C},
    {u"K14", 0x07D, 0x89, 0xFF}, {u"K56", 0x073, 0x87, 0xC1}, {u"K107", 0x07E, 0x85, 0xC2},
    {u"N-CHG (131)", 0x07B, 0x8B, 0xEB}, {u"CHG (132)", 0x079, 0x8A, 0xFF}, {u"ROMA (133)", 0x070, 0x88, 0xFF},
    {u"KL", 0x071, 0x91, 0xE9}, {u"KR", 0x072, 0x90, 0xFF},
    {u"", 0x16B, 0xFF, 0xB6}, {u"", 0x121, 0xFF, 0xB7}, {u"", 0x16C, 0xFF, 0xB4}, {u"", 0x16D, 0xFF, 0xB5},
    {u"", 0x122, 0xFF, 0xB3}, {u"", 0x124, 0xFF, 0xB2}, {u"", 0x110, 0xFF, 0xB1}, {u"", 0x119, 0xFF, 0xB0},
    {u"", 0x130, 0xFF, 0xAF}, {u"", 0x12E, 0xFF, 0xAE}, {u"", 0x120, 0xFF, 0xAD}, {u"", 0x132, 0xFF, 0xAC},
    {u"", 0x167, 0xFF, 0xA8}, {u"", 0x168, 0xFF, 0xA9}, {u"", 0x16A, 0xFF, 0xA6}, {u"", 0x169, 0xFF, 0xA7},
    {u"", 0x166, 0xFF, 0xAB}, {u"", 0x165, 0xFF, 0xAA},
    {u"F13", 0x064, 0, 0x7C},
};

TEST(KeyCodeSlot, ConvertsBothWaysWithE0CodesInTheUpperHalf)
{
    EXPECT_EQ(SlotOf(0x152), 0xD2);
    EXPECT_EQ(KeyCodeOfSlot(0xD2), 0x152);
    EXPECT_EQ(SlotOf(0x045), 0x45);  // Pause
    EXPECT_EQ(SlotOf(0x145), 0xC5);  // Num Lock
    EXPECT_EQ(SlotOf(0x17F), 0xFF);
    EXPECT_EQ(SlotOf(0x100), 0x80);
    for (int slot = 0; slot < kKeySlotCount; ++slot) {
        const KeyCode code = KeyCodeOfSlot(slot);
        EXPECT_EQ(SlotOf(code), slot);
        EXPECT_TRUE(code < 0x80 || (code >= 0x100 && code <= 0x17F)) << std::hex << code;
    }
}

TEST(KeyTable, EveryPickerRowHasItsNameCodeUsageAndVirtualKeys)
{
    ASSERT_EQ(std::size(kExpectedPicker), static_cast<size_t>(kPickerSize));
    for (const PickerRow& row : kExpectedPicker) {
        SCOPED_TRACE(row.pos);
        EXPECT_EQ(KeyCodeAtPickerPosition(row.pos), row.code);
        EXPECT_EQ(PickerPositionOf(row.code), row.pos);
        const KeyTableEntry& entry = KeyTableEntryOf(row.code);
        EXPECT_EQ(entry.name, row.name);
        EXPECT_EQ(entry.usageByte, row.usage);
        EXPECT_EQ(entry.primaryVk, row.vk);
        EXPECT_EQ(entry.secondaryVk, row.vkNumLockOff != 0 ? row.vkNumLockOff : row.vk);
    }
    // Right Shift's second slot shares position 103, and the picker finds the plain one first.
    const KeyTableEntry& extended = KeyTableEntryOf(0x136);
    EXPECT_EQ(extended.name, u"Right Shift");
    EXPECT_EQ(extended.pickerPosition, 103);
    EXPECT_EQ(extended.usageByte, 0xE5);
    EXPECT_EQ(extended.primaryVk, 0xA1);
    EXPECT_EQ(KeyCodeAtPickerPosition(103), 0x036);
    EXPECT_EQ(KeyCodeAtPickerPosition(106), 0);
    EXPECT_EQ(KeyCodeAtPickerPosition(-1), 0);
}

TEST(KeyTable, HiddenSlotsAreKnownInTheirOrderButNotOffered)
{
    ASSERT_EQ(std::size(kExpectedHidden), static_cast<size_t>(kHiddenPositionCount));
    for (size_t i = 0; i < std::size(kExpectedHidden); ++i) {
        const HiddenRow& row = kExpectedHidden[i];
        SCOPED_TRACE(row.code);
        const KeyTableEntry& entry = KeyTableEntryOf(row.code);
        EXPECT_EQ(entry.pickerPosition, 0x8001 + i);
        EXPECT_EQ(entry.name, row.name);
        EXPECT_EQ(entry.primaryVk, row.vk);
        EXPECT_EQ(entry.secondaryVk, row.vk);
        if (row.usage != 0xFF) {
            EXPECT_EQ(entry.usageByte, row.usage);
        } else {
            // A media code's usage is the one its media function sends to the keyboard.
            const auto media = MediaFunctionOfCode(row.code);
            ASSERT_TRUE(media.has_value());
            EXPECT_EQ(KeyCodeToUsage(row.code), (HidUsage{kConsumerPage, kMediaFunctions[*media].consumerUsage}));
        }
    }
}

TEST(KeyTable, AllOtherSlotsAreEmpty)
{
    std::set<KeyCode> known{0x136};
    for (const PickerRow& row : kExpectedPicker) known.insert(row.code);
    for (const HiddenRow& row : kExpectedHidden) known.insert(row.code);
    ASSERT_EQ(known.size(), 155u);
    int empty = 0;
    for (int slot = 0; slot < kKeySlotCount; ++slot) {
        const KeyTableEntry& entry = KeyTable()[slot];
        if (known.contains(KeyCodeOfSlot(slot))) continue;
        ++empty;
        EXPECT_TRUE(entry.name.empty()) << slot;
        EXPECT_EQ(entry.pickerPosition, kEmptySlotPosition) << slot;
        EXPECT_EQ(entry.usageByte, 0) << slot;
        EXPECT_EQ(entry.primaryVk, 0) << slot;
        EXPECT_EQ(entry.secondaryVk, 0) << slot;
    }
    EXPECT_EQ(empty, 256 - 155);
    EXPECT_EQ(PickerPositionOf(0x154), kEmptySlotPosition);
}

TEST(HidUsage, KeyCodesMapToTheirPageByUsageByte)
{
    EXPECT_EQ(KeyCodeToUsage(0x01E), (HidUsage{kKeyboardPage, 0x04}));
    EXPECT_EQ(KeyCodeToUsage(0x15C), (HidUsage{kKeyboardPage, 0xE7}));
    EXPECT_EQ(KeyCodeToUsage(0x07E), (HidUsage{kKeyboardPage, 0x85}));  // K107 is not Generic Desktop
    EXPECT_EQ(KeyCodeToUsage(0x15E), (HidUsage{kGenericDesktopPage, 0x81}));
    EXPECT_EQ(KeyCodeToUsage(0x163), (HidUsage{kGenericDesktopPage, 0x83}));
    EXPECT_EQ(KeyCodeToUsage(0x130), (HidUsage{kConsumerPage, 0x0E9}));
    EXPECT_EQ(KeyCodeToUsage(0x174), (HidUsage{kConsumerPage, 0}));  // Zoom-: a consumer byte, no usage
    EXPECT_EQ(KeyCodeToUsage(0x17C), (HidUsage{kConsumerPage, 0}));
    EXPECT_FALSE(KeyCodeToUsage(0x171).has_value());  // Left Button
    EXPECT_FALSE(KeyCodeToUsage(0x054).has_value());  // Sys Req
    EXPECT_FALSE(KeyCodeToUsage(0x154).has_value());  // empty slot
    EXPECT_FALSE(KeyCodeToUsage(0).has_value());
}

TEST(HidUsage, UsagesMapBackToTheFirstMatchingSlot)
{
    EXPECT_EQ(UsageToKeyCode(kKeyboardPage, 0x48), 0x045);  // Pause, never Break
    EXPECT_EQ(UsageToKeyCode(kKeyboardPage, 0xE5), 0x036);  // the plain Right Shift slot
    EXPECT_EQ(UsageToKeyCode(kKeyboardPage, 0x00), 0);       // slot 0
    EXPECT_EQ(UsageToKeyCode(kKeyboardPage, 0x04), 0x01E);
    EXPECT_EQ(UsageToKeyCode(kKeyboardPage, 0x58), 0x11C);
    EXPECT_EQ(UsageToKeyCode(kKeyboardPage, 0x32), 0);       // no slot carries it
    EXPECT_EQ(UsageToKeyCode(kKeyboardPage, 0x104), 0);      // not "A" by truncation
    EXPECT_EQ(UsageToKeyCode(kConsumerPage, 0x0E9), 0x130);  // media function 6
    EXPECT_EQ(UsageToKeyCode(kConsumerPage, 0x999), 0);
    EXPECT_EQ(UsageToKeyCode(kGenericDesktopPage, 0x82), 0x15F);
    EXPECT_EQ(UsageToKeyCode(kGenericDesktopPage, 0x84), 0);
    EXPECT_EQ(UsageToKeyCode(kGenericDesktopPage, 0x04), 0);  // not a keyboard usage on this page
    EXPECT_EQ(UsageToKeyCode(0x09, 0x01), 0);
    // Every media function's usage leads back to its own code.
    for (const MediaFunction& media : kMediaFunctions) {
        EXPECT_EQ(UsageToKeyCode(kConsumerPage, media.consumerUsage), media.code) << media.languageKey;
    }
    // Every code with a keyboard usage of its own round-trips.
    for (const PickerRow& row : kExpectedPicker) {
        if (row.code == 0x146) continue;  // Break shares Pause's usage
        const auto usage = KeyCodeToUsage(row.code);
        ASSERT_TRUE(usage.has_value()) << row.pos;
        EXPECT_EQ(UsageToKeyCode(usage->page, usage->id), row.code) << row.pos;
    }
}

TEST(MediaFunction, ListHasItsCodesAndUsagesInMenuOrder)
{
    constexpr std::pair<KeyCode, uint16_t> expected[kMediaFunctionCount] = {
        {0x16D, 0x183}, {0x122, 0x0CD}, {0x124, 0x0B7}, {0x110, 0x0B6}, {0x119, 0x0B5}, {0x12E, 0x0EA},
        {0x130, 0x0E9}, {0x120, 0x0E2}, {0x132, 0x223}, {0x167, 0x227}, {0x168, 0x226}, {0x16A, 0x224},
        {0x169, 0x225}, {0x166, 0x22A}, {0x165, 0x221}, {0x16B, 0x194}, {0x121, 0x192}, {0x16C, 0x18A},
    };
    for (int i = 0; i < kMediaFunctionCount; ++i) {
        EXPECT_EQ(kMediaFunctions[i].code, expected[i].first) << i;
        EXPECT_EQ(kMediaFunctions[i].consumerUsage, expected[i].second) << i;
        EXPECT_EQ(MediaFunctionOfCode(expected[i].first), i);
        EXPECT_EQ(MediaFunctionOfUsage(expected[i].second), i);
    }
    EXPECT_EQ(kMediaFunctions[4].languageKey, "MEDIA_Next_TRACK_5");
    EXPECT_FALSE(MediaFunctionOfCode(0x01E).has_value());
    EXPECT_FALSE(MediaFunctionOfUsage(0).has_value());
}

} // namespace
} // namespace kovantis
