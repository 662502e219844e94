// The factory layout, and records to keymap and back.

#include <gtest/gtest.h>

#include "keyboard/default_layout.h"
#include "keyboard/key_table.h"
#include "keyboard/keymap_codec.h"

namespace kovantis {
namespace {

using Bytes3 = std::array<uint8_t, 3>;

Bytes3 At(const Keymap& keymap, int k) { return {keymap[3 * k], keymap[3 * k + 1], keymap[3 * k + 2]}; }

void Put(Keymap& keymap, int k, Bytes3 bytes)
{
    for (int i = 0; i < 3; ++i) keymap[3 * k + i] = bytes[i];
}

// Which key the compiled-in layout puts at each position, from the documented groups of eight;
// 0 for "none" and for the fixed-role entries.
constexpr KeyCode kLayoutKeys[kKeymapPositions] = {
    0, 0, 0, 0, 0, 0, 0, 0,
    0x001, 0x029, 0x00F, 0x03A, 0x02A, 0x01D, 0, 0,
    0x03B, 0x002, 0x010, 0x01E, 0x02C, 0x15B, 0, 0,
    0x03C, 0x003, 0x011, 0x01F, 0x02D, 0x038, 0, 0,
    0x03D, 0x004, 0x012, 0x020, 0x02E, 0x039, 0x137, 0,
    0x03E, 0x005, 0x013, 0x021, 0x02F, 0x138, 0x046, 0,
    0x03F, 0x006, 0x014, 0x022, 0x030, 0, 0x00D, 0,
    0x040, 0x007, 0x015, 0x023, 0x031, 0x15D, 0x045, 0,
    0x041, 0x008, 0x016, 0x024, 0x032, 0x11D, 0x152, 0,
    0x042, 0x009, 0x017, 0x025, 0x033, 0x14B, 0x147, 0,
    0x043, 0x00A, 0x018, 0x026, 0x034, 0x150, 0x149, 0,
    0x044, 0x00B, 0x019, 0x027, 0x035, 0x148, 0x153, 0,
    0x057, 0x00C, 0x01A, 0x028, 0x036, 0x14D, 0x14F, 0,
    0x058, 0x00D, 0x01B, 0x02B, 0x01C, 0x00E, 0x151, 0,
    0x110, 0x145, 0x047, 0x04B, 0x04F, 0x052, 0x04A, 0,
    0x122, 0x135, 0x048, 0x04C, 0x050, 0x053,
};

constexpr int kPosA = 19;
constexpr int kPosEquals1 = 54;
constexpr int kPosEquals2 = 105;

const Keymap& Default() { return CompiledDefaultLayout(); }

Bank ZeroBank()
{
    Bank bank{};
    return bank;
}

int PositionIsIdMinusOne(uint32_t id) { return static_cast<int>(id) - 1; }

TEST(DefaultLayout, HoldsTheDocumentedKeysAndFixedEntries)
{
    ASSERT_EQ(DefaultLayoutBytes().size(), 378u);
    EXPECT_EQ(DefaultLayoutBytes().data(), Default().data());
    for (int k = 0; k < kKeymapPositions; ++k) {
        SCOPED_TRACE(k);
        const Bytes3 bytes = At(Default(), k);
        EXPECT_EQ(DecodeDeviceAction({bytes[0], bytes[1], bytes[2]}), kLayoutKeys[k]);
        if (k < 6) {
            EXPECT_EQ(bytes, (Bytes3{5, 0, 0}));
        } else if (k == 53) {
            EXPECT_EQ(bytes, (Bytes3{5, 2, 2}));
        } else if (kLayoutKeys[k] == 0) {
            EXPECT_EQ(bytes, (Bytes3{0, 0, 0}));
        }
    }
    // Modifiers by their bit, the two consumer keys by their usage, other keys by usage byte.
    EXPECT_EQ(At(Default(), 12), (Bytes3{2, 1, 0x02}));
    EXPECT_EQ(At(Default(), 13), (Bytes3{2, 1, 0x01}));
    EXPECT_EQ(At(Default(), 21), (Bytes3{2, 1, 0x08}));
    EXPECT_EQ(At(Default(), 29), (Bytes3{2, 1, 0x04}));
    EXPECT_EQ(At(Default(), 45), (Bytes3{2, 1, 0x40}));
    EXPECT_EQ(At(Default(), 69), (Bytes3{2, 1, 0x10}));
    EXPECT_EQ(At(Default(), 100), (Bytes3{2, 1, 0x20}));
    EXPECT_EQ(At(Default(), 112), (Bytes3{3, 0xB6, 0}));
    EXPECT_EQ(At(Default(), 120), (Bytes3{3, 0xCD, 0}));
    EXPECT_EQ(At(Default(), kPosA), (Bytes3{2, 2, 0x04}));
    EXPECT_EQ(At(Default(), 38), (Bytes3{2, 2, 0x46}));
    EXPECT_EQ(At(Default(), 113), (Bytes3{2, 2, 0x53}));
}

TEST(DecodeDeviceAction, NamesTheKeyOfEachActionType)
{
    EXPECT_EQ(DecodeDeviceAction({2, 2, 0x04}), 0x01E);
    EXPECT_EQ(DecodeDeviceAction({2, 2, 0x48}), 0x045);
    EXPECT_EQ(DecodeDeviceAction({2, 2, 0x00}), 0);
    EXPECT_EQ(DecodeDeviceAction({2, 1, 0x00}), 0);
    EXPECT_EQ(DecodeDeviceAction({2, 1, 0x06}), 0x02A);  // the lowest set bit
    EXPECT_EQ(DecodeDeviceAction({2, 1, 0x80}), 0x15C);
    EXPECT_EQ(DecodeDeviceAction({2, 7, 0x10}), 0x11D);  // any sub-type but 2 is a modifier mask
    EXPECT_EQ(DecodeDeviceAction({3, 0xE9, 0x00}), 0x130);
    EXPECT_EQ(DecodeDeviceAction({3, 0x83, 0x01}), 0x16D);
    EXPECT_EQ(DecodeDeviceAction({3, 0x99, 0x09}), 0);
    EXPECT_EQ(DecodeDeviceAction({4, 0x82, 0x00}), 0x15F);
    EXPECT_EQ(DecodeDeviceAction({4, 0x84, 0x00}), 0);
    EXPECT_EQ(DecodeDeviceAction({4, 0x81, 0x01}), 0);
    EXPECT_EQ(DecodeDeviceAction({5, 0, 0}), 0);
    EXPECT_EQ(DecodeDeviceAction({5, 1, 4}), 0);
    EXPECT_EQ(DecodeDeviceAction({0, 2, 4}), 0);
    EXPECT_EQ(DecodeDeviceAction({0xFF, 0xFF, 0xFF}), 0);
}

TEST(EncodeKeymap, AnEmptyBankGivesExactlyTheDefaultLayout)
{
    const MacroPositionLookup none = [](uint32_t) { return 0; };
    EXPECT_EQ(EncodeKeymap(ZeroBank(), Default(), none), Default());
    Bank initialised;
    InitBank(initialised);  // G-key records never reach the keymap
    EXPECT_EQ(EncodeKeymap(initialised, Default(), none), Default());
    // Whatever the layout: one of another model.
    Keymap other{};
    Put(other, 0, {2, 2, 0x05});
    Put(other, 125, {4, 0x81, 0});
    EXPECT_EQ(EncodeKeymap(ZeroBank(), other, none), other);
}

TEST(EncodeKeymap, EachKindWritesItsAction)
{
    const MacroPositionLookup macros = [](uint32_t id) { return id == 7 ? 4 : id == 8 ? 300 : 0; };
    const auto encodeA = [&](KeyAssignment record) {
        Bank bank = ZeroBank();
        bank[SlotOf(0x01E)] = record;
        const Keymap keymap = EncodeKeymap(bank, Default(), macros);
        for (int k = 0; k < kKeymapPositions; ++k) {
            if (k != kPosA) {
                EXPECT_EQ(At(keymap, k), At(Default(), k)) << k;
            }
        }
        return At(keymap, kPosA);
    };
    EXPECT_EQ(encodeA(MakeAssignment(AssignmentKind::Disabled)), (Bytes3{0, 0, 0}));
    EXPECT_EQ(encodeA(MakeAssignment(AssignmentKind::Key, 0x030)), (Bytes3{2, 2, 0x05}));
    EXPECT_EQ(encodeA(MakeAssignment(AssignmentKind::Key, 0x036)), (Bytes3{2, 1, 0x20}));
    EXPECT_EQ(encodeA(MakeAssignment(AssignmentKind::Key, 0x01D)), (Bytes3{2, 1, 0x01}));
    EXPECT_EQ(encodeA(MakeAssignment(AssignmentKind::Key, 0x15C)), (Bytes3{2, 1, 0x80}));
    EXPECT_EQ(encodeA(MakeAssignment(AssignmentKind::Key, 0x136)), (Bytes3{2, 2, 0xE5}));  // not a modifier code
    EXPECT_EQ(encodeA(MakeAssignment(AssignmentKind::Key, 0x130)), (Bytes3{2, 2, 0x00}));  // media code
    EXPECT_EQ(encodeA(MakeAssignment(AssignmentKind::Key, 0x15E)), (Bytes3{2, 2, 0x00}));  // Generic Desktop
    EXPECT_EQ(encodeA(MakeAssignment(AssignmentKind::Key, 0x171)), (Bytes3{2, 2, 0x00}));  // no usage
    EXPECT_EQ(encodeA(MakeAssignment(AssignmentKind::Key, 0x1001E)), (Bytes3{2, 2, 0x00}));
    EXPECT_EQ(encodeA(MakeAssignment(AssignmentKind::LaunchProgram, 22)), (Bytes3{2, 2, 0x04}));
    EXPECT_EQ(encodeA(MakeAssignment(AssignmentKind::PlayMacro, 7, 5)), (Bytes3{5, 1, 4}));
    EXPECT_EQ(encodeA(MakeAssignment(AssignmentKind::PlayMacro, 9)), (Bytes3{5, 1, 0}));  // no such macro
    EXPECT_EQ(encodeA(MakeAssignment(AssignmentKind::PlayMacro, 8)), (Bytes3{5, 1, 0}));  // beyond a byte
    EXPECT_EQ(encodeA(MakeAssignment(AssignmentKind::StopMacro)), (Bytes3{5, 2, 0}));
    EXPECT_EQ(encodeA(MakeAssignment(AssignmentKind::TextBlock, 22)), (Bytes3{0, 0, 0}));
    EXPECT_EQ(encodeA(MakeAssignment(AssignmentKind::Media, 0)), (Bytes3{3, 0x83, 0x01}));
    EXPECT_EQ(encodeA(MakeAssignment(AssignmentKind::Media, 6)), (Bytes3{3, 0xE9, 0x00}));
    EXPECT_EQ(encodeA(MakeAssignment(AssignmentKind::Media, 17)), (Bytes3{3, 0x8A, 0x01}));
    EXPECT_EQ(encodeA(MakeAssignment(AssignmentKind::Function, 10)), (Bytes3{5, 5, 10}));
    // A damaged media index keeps the factory function instead of reading past the media list.
    EXPECT_EQ(encodeA(MakeAssignment(AssignmentKind::Media, 18)), (Bytes3{2, 2, 0x04}));
    EXPECT_EQ(encodeA(MakeAssignment(AssignmentKind::Media, 0xFFFFFFFF)), (Bytes3{2, 2, 0x04}));
}

// A kind outside 0 to 8 can only come from a damaged file. It gives the position its own
// default, never the bytes of the position before it.
TEST(EncodeKeymap, AnUnknownKindKeepsThePositionsDefault)
{
    Bank bank = ZeroBank();
    bank[SlotOf(0x01E)] = MakeAssignment(AssignmentKind::Disabled);              // position 19
    bank[SlotOf(0x02C)] = MakeAssignment(static_cast<AssignmentKind>(9), 0x30);  // position 20, next
    bank[SlotOf(0x15B)] = MakeAssignment(static_cast<AssignmentKind>(0xFFFF));   // position 21
    const Keymap keymap = EncodeKeymap(bank, Default(), {});
    EXPECT_EQ(At(keymap, 19), (Bytes3{0, 0, 0}));
    EXPECT_EQ(At(keymap, 20), At(Default(), 20));
    EXPECT_EQ(At(keymap, 21), At(Default(), 21));
    for (int k = 22; k < kKeymapPositions; ++k) EXPECT_EQ(At(keymap, k), At(Default(), k)) << k;
}

TEST(EncodeKeymap, PositionsFollowTheKeyTheirDefaultNames)
{
    Bank bank;
    bank.fill(MakeAssignment(AssignmentKind::Disabled));
    const Keymap keymap = EncodeKeymap(bank, Default(), {});
    for (int k = 0; k < kKeymapPositions; ++k) {
        // Entries that name no key (05 00 00, 05 02 02, none) can never be changed.
        const Bytes3 expected = kLayoutKeys[k] == 0 ? At(Default(), k) : Bytes3{0, 0, 0};
        EXPECT_EQ(At(keymap, k), expected) << k;
    }
    // Both positions of "=" come from the one record.
    Bank equals = ZeroBank();
    equals[SlotOf(0x00D)] = MakeAssignment(AssignmentKind::Key, 0x030);
    const Keymap twice = EncodeKeymap(equals, Default(), {});
    EXPECT_EQ(At(twice, kPosEquals1), (Bytes3{2, 2, 0x05}));
    EXPECT_EQ(At(twice, kPosEquals2), (Bytes3{2, 2, 0x05}));
    // The consumer entries name media codes, whose slots hold their records.
    Bank media = ZeroBank();
    media[SlotOf(0x110)] = MakeAssignment(AssignmentKind::Media, 7);
    EXPECT_EQ(At(EncodeKeymap(media, Default(), {}), 112), (Bytes3{3, 0xE2, 0x00}));
}

TEST(DecodeKeymap, ReadsBackWhatTheKeyboardHolds)
{
    Keymap keymap = Default();
    Put(keymap, 0, {2, 2, 0x05});             // names no key by default: ignored
    Put(keymap, kPosA, {2, 1, 0x00});         // modifier mask 0: Key with value 0
    Put(keymap, 16, {3, 0xE9, 0x00});         // F1: Media 6
    Put(keymap, 17, {3, 0x99, 0x09});         // 1: no media function sends it
    Put(keymap, 18, {4, 0x81, 0x00});         // Q: a Generic Desktop action the program cannot name
    Put(keymap, 20, {2, 2, 0x32});            // Z: a usage no slot carries
    Put(keymap, 24, {5, 1, 0});               // F2: macro position 0 is id 1
    Put(keymap, 25, {5, 2, 0});               // 2: stop macro
    Put(keymap, 26, {5, 5, 9});               // W: function 9
    Put(keymap, 27, {2, 1, 0x24});            // S: Alt (lowest bit of 0x24)
    Put(keymap, kPosEquals1, {2, 2, 0x05});   // "=" twice: the later position wins
    Put(keymap, kPosEquals2, {2, 2, 0x06});
    const Bank bank = DecodeKeymap(keymap, Default());

    EXPECT_EQ(bank[SlotOf(0x01E)], MakeAssignment(AssignmentKind::Key, 0));
    EXPECT_EQ(bank[SlotOf(0x03B)], MakeAssignment(AssignmentKind::Media, 6));
    EXPECT_EQ(bank[SlotOf(0x002)], MakeAssignment(AssignmentKind::Disabled));
    EXPECT_EQ(bank[SlotOf(0x010)], MakeAssignment(AssignmentKind::Disabled));
    EXPECT_EQ(bank[SlotOf(0x02C)], MakeAssignment(AssignmentKind::Disabled));
    EXPECT_EQ(bank[SlotOf(0x03C)], MakeAssignment(AssignmentKind::PlayMacro, 1));
    EXPECT_EQ(bank[SlotOf(0x003)], MakeAssignment(AssignmentKind::StopMacro));
    EXPECT_EQ(bank[SlotOf(0x011)], MakeAssignment(AssignmentKind::Function, 9));
    EXPECT_EQ(bank[SlotOf(0x01F)], MakeAssignment(AssignmentKind::Key, 0x038));
    EXPECT_EQ(bank[SlotOf(0x00D)], MakeAssignment(AssignmentKind::Key, 0x02E));
    int changed = 0;
    for (int r = 0; r < kKeyRecordCount; ++r) changed += bank[r].kind != AssignmentKind::Default;
    EXPECT_EQ(changed, 10);
    // G-key records start with their ids.
    EXPECT_EQ(bank[256].extra, 0x0301);
    EXPECT_EQ(bank[273].extra, 0x1309);

    // The later of two differing positions replaces the record whole, value included.
    Put(keymap, kPosEquals2, {0, 0, 0});
    EXPECT_EQ(DecodeKeymap(keymap, Default())[SlotOf(0x00D)], MakeAssignment(AssignmentKind::Disabled));
    // An unchanged later position leaves the earlier one's record.
    Put(keymap, kPosEquals2, At(Default(), kPosEquals2));
    EXPECT_EQ(DecodeKeymap(keymap, Default())[SlotOf(0x00D)], MakeAssignment(AssignmentKind::Key, 0x030));
}

TEST(DecodeKeymap, EncodeThenDecodeKeepsWhatTheKeyboardCanHold)
{
    const KeyAssignment kinds[] = {
        MakeAssignment(AssignmentKind::Default),      MakeAssignment(AssignmentKind::Disabled),
        MakeAssignment(AssignmentKind::Key, 0x030),   MakeAssignment(AssignmentKind::Key, 0x15C),
        MakeAssignment(AssignmentKind::Key, 0x152),   MakeAssignment(AssignmentKind::PlayMacro, 5),
        MakeAssignment(AssignmentKind::StopMacro),    MakeAssignment(AssignmentKind::Media, 0),
        MakeAssignment(AssignmentKind::Media, 17),    MakeAssignment(AssignmentKind::Function, 0),
        MakeAssignment(AssignmentKind::Function, 10),
    };
    for (const KeyAssignment& record : kinds) {
        SCOPED_TRACE(static_cast<int>(record.kind));
        Bank bank;
        InitBank(bank);
        bank[SlotOf(0x01E)] = record;
        bank[SlotOf(0x15B)] = record;
        EXPECT_EQ(DecodeKeymap(EncodeKeymap(bank, Default(), PositionIsIdMinusOne), Default()), bank);
    }
    // LaunchProgram survives only in the profile: the keyboard keeps its default.
    Bank launch;
    InitBank(launch);
    launch[SlotOf(0x01E)] = MakeAssignment(AssignmentKind::LaunchProgram, 22);
    EXPECT_EQ(DecodeKeymap(EncodeKeymap(launch, Default(), {}), Default())[SlotOf(0x01E)],
              MakeAssignment(AssignmentKind::Default));
    // A TextBlock types nothing on the keyboard: it comes back Disabled.
    launch[SlotOf(0x01E)] = MakeAssignment(AssignmentKind::TextBlock, 22);
    EXPECT_EQ(DecodeKeymap(EncodeKeymap(launch, Default(), {}), Default())[SlotOf(0x01E)],
              MakeAssignment(AssignmentKind::Disabled));

    // Every key of the layout can be given every other key with a keyboard usage and read back.
    for (int k = 0; k < kKeymapPositions; ++k) {
        if (kLayoutKeys[k] == 0) continue;
        Bank bank;
        InitBank(bank);
        const KeyCode target = kLayoutKeys[k] == 0x030 ? 0x02E : 0x030;
        bank[SlotOf(kLayoutKeys[k])] = MakeAssignment(AssignmentKind::Key, target);
        EXPECT_EQ(DecodeKeymap(EncodeKeymap(bank, Default(), {}), Default()), bank) << k;
    }
}

} // namespace
} // namespace kovantis
