#include "keyboard/physical_layout.h"

#include <cstdio>

namespace kovantis {
namespace {

struct MatrixKey {
    int matrixIndex;
    KeyCode code;  // 0 for Fn
    int controlId;
};

// In matrix order, row by row; the positions left out hold no key.
constexpr MatrixKey kMatrix[] = {
    // row 0: Esc, F1 to F12, Print Screen, Scroll Lock, Pause
    {0, 0x001, 1022}, {1, 0x03B, 1010}, {2, 0x03C, 1011}, {3, 0x03D, 1012}, {4, 0x03E, 1013},
    {5, 0x03F, 1014}, {6, 0x040, 1015}, {7, 0x041, 1023}, {8, 0x042, 1024}, {9, 0x043, 1025},
    {10, 0x044, 1026}, {11, 0x057, 1027}, {12, 0x058, 1028}, {14, 0x137, 1091}, {15, 0x046, 1092},
    {16, 0x045, 1093},
    // row 1: ` 1 to 0 - = Backspace, Insert Home Page Up, Num Lock Num / Num * Num -
    {21, 0x029, 1029}, {22, 0x002, 1030}, {23, 0x003, 1031}, {24, 0x004, 1032}, {25, 0x005, 1033},
    {26, 0x006, 1034}, {27, 0x007, 1035}, {28, 0x008, 1036}, {29, 0x009, 1037}, {30, 0x00A, 1038},
    {31, 0x00B, 1039}, {32, 0x00C, 1040}, {33, 0x00D, 1041}, {34, 0x00E, 1043}, {35, 0x152, 1094},
    {36, 0x147, 1095}, {37, 0x149, 1096}, {38, 0x145, 1104}, {39, 0x135, 1105}, {40, 0x037, 1106},
    {41, 0x04A, 1107},
    // row 2: Tab Q to ] \, Delete End Page Down, Num 7 Num 8 Num 9 Num +
    {42, 0x00F, 1056}, {43, 0x010, 1044}, {44, 0x011, 1045}, {45, 0x012, 1046}, {46, 0x013, 1047},
    {47, 0x014, 1048}, {48, 0x015, 1049}, {49, 0x016, 1050}, {50, 0x017, 1051}, {51, 0x018, 1052},
    {52, 0x019, 1053}, {53, 0x01A, 1054}, {54, 0x01B, 1055}, {55, 0x02B, 1042}, {56, 0x153, 1097},
    {57, 0x14F, 1098}, {58, 0x151, 1099}, {59, 0x047, 1108}, {60, 0x048, 1109}, {61, 0x049, 1110},
    {62, 0x04E, 1111},
    // row 3: Caps Lock A to ' Enter, Num 4 Num 5 Num 6
    {63, 0x03A, 1069}, {64, 0x01E, 1058}, {65, 0x01F, 1059}, {66, 0x020, 1060}, {67, 0x021, 1061},
    {68, 0x022, 1062}, {69, 0x023, 1063}, {70, 0x024, 1064}, {71, 0x025, 1065}, {72, 0x026, 1066},
    {73, 0x027, 1067}, {74, 0x028, 1068}, {76, 0x01C, 1070}, {80, 0x04B, 1112}, {81, 0x04C, 1113},
    {82, 0x04D, 1114},
    // row 4: Shift Z to / Right Shift, Up, Num 1 Num 2 Num 3 Num Enter
    {84, 0x02A, 1082}, {86, 0x02C, 1071}, {87, 0x02D, 1072}, {88, 0x02E, 1073}, {89, 0x02F, 1074},
    {90, 0x030, 1075}, {91, 0x031, 1076}, {92, 0x032, 1077}, {93, 0x033, 1078}, {94, 0x034, 1079},
    {95, 0x035, 1080}, {97, 0x036, 1081}, {99, 0x148, 1103}, {101, 0x04F, 1115}, {102, 0x050, 1116},
    {103, 0x051, 1117}, {104, 0x11C, 1118},
    // row 5: Ctrl Win Alt Space Right Alt Fn App Right Win Right Ctrl, Left Down Right, Num 0 Num .
    {105, 0x01D, 1083}, {106, 0x15B, 1084}, {107, 0x038, 1085}, {108, 0x039, 1090}, {109, 0x138, 1086},
    {kFnMatrixIndex, 0, kFnControlId}, {111, 0x15D, 1088}, {112, 0x15C, 1087}, {113, 0x11D, 1089},
    {119, 0x14B, 1100}, {120, 0x150, 1101}, {121, 0x14D, 1102}, {123, 0x052, 1120}, {124, 0x053, 1119},
};

constexpr KeyCode kKeyListOrder[kKeyListSize] = {
    // A to Z
    0x01E, 0x030, 0x02E, 0x020, 0x012, 0x021, 0x022, 0x023, 0x017, 0x024, 0x025, 0x026, 0x032,
    0x031, 0x018, 0x019, 0x010, 0x013, 0x01F, 0x014, 0x016, 0x02F, 0x011, 0x02D, 0x015, 0x02C,
    // 1 to 0, Enter, Esc, Backspace, Tab, Space, - = [ ] \ ; ' ` , . /
    0x002, 0x003, 0x004, 0x005, 0x006, 0x007, 0x008, 0x009, 0x00A, 0x00B,
    0x01C, 0x001, 0x00E, 0x00F, 0x039, 0x00C, 0x00D, 0x01A, 0x01B, 0x02B, 0x027, 0x028, 0x029,
    0x033, 0x034, 0x035,
    // F1 to F12, Print Screen, Pause, Insert, Delete, Home, End, Page Up, Page Down, arrows
    0x03B, 0x03C, 0x03D, 0x03E, 0x03F, 0x040, 0x041, 0x042, 0x043, 0x044, 0x057, 0x058,
    0x137, 0x045, 0x152, 0x153, 0x147, 0x14F, 0x149, 0x151, 0x148, 0x150, 0x14B, 0x14D,
    // Scroll Lock, Caps Lock
    0x046, 0x03A,
    // App, Ctrl, Right Ctrl, Shift, Right Shift, Alt, Right Alt, Win, Right Win
    0x15D, 0x01D, 0x11D, 0x02A, 0x036, 0x038, 0x138, 0x15B, 0x15C,
    // Num 1 to Num 9, Num 0, Num Lock, Num Enter, Num ., Num /, Num *, Num -, Num +
    0x04F, 0x050, 0x051, 0x04B, 0x04C, 0x04D, 0x047, 0x048, 0x049, 0x052,
    0x145, 0x11C, 0x053, 0x135, 0x037, 0x04A, 0x04E,
};

constexpr int kGKeyControls[kGKeyCount] = {1000, 1001, 1002, 1003, 1004, 1140, 1141, 1142, 1143};

constexpr const MatrixKey* MatrixKeyOf(KeyCode code)
{
    for (const MatrixKey& key : kMatrix) {
        if (key.code == code && code != 0) return &key;
    }
    return nullptr;
}

constexpr std::array<PhysicalKey, kKeyListSize> BuildKeyList()
{
    std::array<PhysicalKey, kKeyListSize> list{};
    for (int i = 0; i < kKeyListSize; ++i) {
        const MatrixKey* key = MatrixKeyOf(kKeyListOrder[i]);
        list[i] = {key->code, key->matrixIndex, key->controlId};
    }
    return list;
}

constexpr std::array<PhysicalKey, kKeyListSize> kKeyList = BuildKeyList();

} // namespace

std::span<const PhysicalKey, kKeyListSize> KeyList() { return kKeyList; }

const PhysicalKey* PhysicalKeyOfCode(KeyCode code)
{
    for (const PhysicalKey& key : kKeyList) {
        if (key.code == code) return &key;
    }
    return nullptr;
}

const PhysicalKey* PhysicalKeyOfControl(int controlId)
{
    for (const PhysicalKey& key : kKeyList) {
        if (key.controlId == controlId) return &key;
    }
    return nullptr;
}

int MatrixIndexOfControl(int controlId)
{
    if (controlId == kFnControlId) return kFnMatrixIndex;
    if (GKeyOfControl(controlId)) return kGKeyMatrixIndex;
    const PhysicalKey* key = PhysicalKeyOfControl(controlId);
    return key != nullptr ? key->matrixIndex : 0;
}

KeyCode KeyCodeOfControl(int controlId)
{
    const PhysicalKey* key = PhysicalKeyOfControl(controlId);
    return key != nullptr ? key->code : 0;
}

int GKeyControlId(int g) { return g >= 0 && g < kGKeyCount ? kGKeyControls[g] : 0; }

std::optional<int> GKeyOfControl(int controlId)
{
    for (int g = 0; g < kGKeyCount; ++g) {
        if (kGKeyControls[g] == controlId) return g;
    }
    return std::nullopt;
}

std::string SkinKeyOf(KeyCode code)
{
    char key[16];
    std::snprintf(key, sizeof key, "KEY_%03X", SlotOf(code));
    return key;
}

std::string GKeySkinKey(int g) { return "FUNC_G" + std::to_string(g + 1); }

} // namespace kovantis
