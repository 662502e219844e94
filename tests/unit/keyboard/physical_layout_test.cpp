// The keyboard's matrix, its buttons on the main window and the order the key list visits them.

#include <gtest/gtest.h>

#include <set>

#include "keyboard/key_table.h"
#include "keyboard/physical_layout.h"

namespace kovantis {
namespace {

TEST(PhysicalLayout, ControlsGiveTheirMatrixIndexAndKeyCode)
{
    struct Expected {
        int control;
        int matrix;
        KeyCode code;
    };
    // A sample from every row and every block of the documented layout.
    constexpr Expected kSample[] = {
        {1022, 0, 0x001},   {1010, 1, 0x03B},   {1028, 12, 0x058},  {1091, 14, 0x137},  {1093, 16, 0x045},
        {1029, 21, 0x029},  {1043, 34, 0x00E}, {1094, 35, 0x152}, {1104, 38, 0x145}, {1107, 41, 0x04A},
        {1056, 42, 0x00F},  {1042, 55, 0x02B},  {1097, 56, 0x153},  {1111, 62, 0x04E},  {1069, 63, 0x03A},
        {1068, 74, 0x028},  {1070, 76, 0x01C},  {1114, 82, 0x04D},  {1082, 84, 0x02A},  {1071, 86, 0x02C},
        {1081, 97, 0x036},  {1103, 99, 0x148},  {1118, 104, 0x11C}, {1083, 105, 0x01D}, {1090, 108, 0x039},
        {1086, 109, 0x138}, {1088, 111, 0x15D}, {1087, 112, 0x15C}, {1089, 113, 0x11D}, {1100, 119, 0x14B},
        {1102, 121, 0x14D}, {1120, 123, 0x052}, {1119, 124, 0x053},
    };
    for (const Expected& key : kSample) {
        EXPECT_EQ(MatrixIndexOfControl(key.control), key.matrix) << key.control;
        EXPECT_EQ(KeyCodeOfControl(key.control), key.code) << key.control;
    }
    EXPECT_EQ(MatrixIndexOfControl(kFnControlId), 110);
    EXPECT_EQ(KeyCodeOfControl(kFnControlId), 0);
    for (int g = 0; g < kGKeyCount; ++g) {
        EXPECT_EQ(MatrixIndexOfControl(GKeyControlId(g)), 125);
        EXPECT_EQ(KeyCodeOfControl(GKeyControlId(g)), 0);
        EXPECT_EQ(GKeyOfControl(GKeyControlId(g)), g);
    }
    EXPECT_EQ(GKeyControlId(0), 1000);
    EXPECT_EQ(GKeyControlId(4), 1004);
    EXPECT_EQ(GKeyControlId(5), 1140);
    EXPECT_EQ(GKeyControlId(8), 1143);
    EXPECT_EQ(GKeyControlId(9), 0);
    EXPECT_FALSE(GKeyOfControl(1005).has_value());
    EXPECT_EQ(MatrixIndexOfControl(1016), 0);  // D1
    EXPECT_EQ(MatrixIndexOfControl(4242), 0);
    EXPECT_EQ(KeyCodeOfControl(4242), 0);
}

TEST(PhysicalLayout, KeyListHoldsEveryKeyOnceInItsOrder)
{
    const auto list = KeyList();
    std::set<KeyCode> codes;
    std::set<int> matrix;
    std::set<int> controls;
    for (const PhysicalKey& key : list) {
        codes.insert(key.code);
        matrix.insert(key.matrixIndex);
        controls.insert(key.controlId);
        EXPECT_LT(KeyTableEntryOf(key.code).pickerPosition, kPickerSize) << key.code;
        EXPECT_EQ(PhysicalKeyOfCode(key.code), &key);
        EXPECT_EQ(PhysicalKeyOfControl(key.controlId), &key);
    }
    EXPECT_EQ(codes.size(), 104u);
    EXPECT_EQ(matrix.size(), 104u);
    EXPECT_EQ(controls.size(), 104u);
    // The picker keys the keyboard lacks, Fn and the empty matrix positions are not in it.
    EXPECT_FALSE(codes.contains(0x146));
    EXPECT_FALSE(codes.contains(0x056));
    for (int empty : {13, 17, 18, 19, 20, 75, 77, 78, 79, 83, 85, 96, 98, 100, 114, 115, 116, 117, 118, 122, 110, 125}) {
        EXPECT_FALSE(matrix.contains(empty)) << empty;
    }
    // Picker order from A to Caps Lock first, then the modifiers, then the keypad.
    EXPECT_EQ(list[0].code, 0x01E);
    EXPECT_EQ(list[25].code, 0x02C);
    EXPECT_EQ(list[65].code, 0x045);  // Pause, with Break skipped after it
    EXPECT_EQ(list[66].code, 0x152);
    EXPECT_EQ(list[77].code, 0x03A);
    const KeyCode tail[] = {0x15D, 0x01D, 0x11D, 0x02A, 0x036, 0x038, 0x138, 0x15B, 0x15C,
                            0x04F, 0x050, 0x051, 0x04B, 0x04C, 0x04D, 0x047, 0x048, 0x049, 0x052,
                            0x145, 0x11C, 0x053, 0x135, 0x037, 0x04A, 0x04E};
    for (size_t i = 0; i < std::size(tail); ++i) EXPECT_EQ(list[78 + i].code, tail[i]) << i;
    for (int i = 0; i < 78; ++i) {
        EXPECT_LT(KeyTableEntryOf(list[i].code).pickerPosition, KeyTableEntryOf(list[i + 1].code).pickerPosition) << i;
    }
}

TEST(PhysicalLayout, SkinKeysNameTheSlotInUpperCaseHex)
{
    EXPECT_EQ(SkinKeyOf(0x01E), "KEY_01E");
    EXPECT_EQ(SkinKeyOf(0x152), "KEY_0D2");
    EXPECT_EQ(SkinKeyOf(0x15C), "KEY_0DC");
    EXPECT_EQ(SkinKeyOf(0x001), "KEY_001");
    EXPECT_EQ(GKeySkinKey(0), "FUNC_G1");
    EXPECT_EQ(GKeySkinKey(8), "FUNC_G9");
    EXPECT_EQ(kFnSkinKey, "KEY_FN");
}

} // namespace
} // namespace kovantis
