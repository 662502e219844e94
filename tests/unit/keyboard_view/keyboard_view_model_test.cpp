#include "keyboard/keyboard_view_model.h"

#include <gtest/gtest.h>

#include "keyboard/physical_layout.h"
#include "support/fake_ports.h"

namespace kovantis {
namespace {

constexpr KeyCode kKeyA = 0x01E;
constexpr KeyCode kKeyF1 = 0x03B;
constexpr int kF1Control = 1010;

class KeyboardViewModelTest : public ::testing::Test {
protected:
    KeyboardViewModelTest()
    {
        texts_.Set("KEY_PROMPT_SET", u" -> ");
        texts_.Set("KEY_PROMPT_SINGLE", u"Key(");
        InitBank(bank_);
    }
    KeyTextSources Sources() { return {names_, texts_, macroNames_}; }
    const KeyButtonState& ButtonOf(int controlId)
    {
        const KeyButtonState* button = model_.Button(controlId);
        EXPECT_NE(button, nullptr) << controlId;
        return *button;
    }
    const KeyButtonState& KeyButton(KeyCode code) { return ButtonOf(PhysicalKeyOfCode(code)->controlId); }

    KeyNames names_;
    testing::FakeTexts texts_;
    MacroNameLookup macroNames_ = [](uint32_t) { return std::u16string(u"M"); };
    Bank bank_{};
    KeyboardViewModel model_;
};

TEST_F(KeyboardViewModelTest, HasEveryButtonOnceWithItsSkinKey)
{
    int keys = 0, gKeys = 0, fn = 0, extras = 0;
    for (const KeyButtonState& button : model_.Buttons()) {
        EXPECT_EQ(model_.Button(button.controlId), &button) << "duplicate id " << button.controlId;
        switch (button.kind) {
        case KeyButtonKind::Key: ++keys; EXPECT_EQ(button.skinKey, SkinKeyOf(button.code)); break;
        case KeyButtonKind::GKey: ++gKeys; break;
        case KeyButtonKind::Fn: ++fn; EXPECT_EQ(button.skinKey, "KEY_FN"); break;
        case KeyButtonKind::Extra: ++extras; EXPECT_EQ(button.skinKey, "KEY_D" + std::to_string(extras)); break;
        }
    }
    EXPECT_EQ(keys, 104);
    EXPECT_EQ(gKeys, 9);
    EXPECT_EQ(fn, 1);
    EXPECT_EQ(extras, 6);
    EXPECT_EQ(KeyButton(kKeyA).skinKey, "KEY_01E");
    EXPECT_EQ(ButtonOf(1000).skinKey, "FUNC_G1");
    EXPECT_EQ(ButtonOf(1143).skinKey, "FUNC_G9");
}

TEST_F(KeyboardViewModelTest, RefreshMarksAssignedKeysAndDescribesThem)
{
    bank_[SlotOf(kKeyA)] = MakeAssignment(AssignmentKind::Key, 0x030);  // A sends B
    bank_[GKeyRecord(1, GKeyBank::B)] = MakeAssignment(AssignmentKind::Disabled);
    model_.RefreshKeyButtons(bank_, GKeyBank::A, Sources());

    EXPECT_TRUE(KeyButton(kKeyA).assigned);
    EXPECT_EQ(KeyButton(kKeyA).tooltip, u"A -> Key(B)");
    EXPECT_FALSE(KeyButton(kKeyF1).assigned);
    EXPECT_EQ(KeyButton(kKeyF1).tooltip, u"F1");
    // G2 is assigned in bank B only: no mark while bank A is active.
    EXPECT_FALSE(ButtonOf(GKeyControlId(1)).assigned);
    EXPECT_EQ(ButtonOf(GKeyControlId(1)).tooltip, u"G2");
    // Fn and D1 never show an assignment.
    EXPECT_FALSE(ButtonOf(kFnControlId).assigned);
    EXPECT_TRUE(ButtonOf(1016).tooltip.empty());
}

TEST_F(KeyboardViewModelTest, BankChangeRelabelsAndRemarksTheGKeysOnly)
{
    bank_[GKeyRecord(1, GKeyBank::B)] = MakeAssignment(AssignmentKind::Disabled);
    bank_[SlotOf(kKeyA)] = MakeAssignment(AssignmentKind::Disabled);
    model_.RefreshKeyButtons(bank_, GKeyBank::A, Sources());
    EXPECT_EQ(ButtonOf(1000).caption, u"A1");
    EXPECT_EQ(ButtonOf(1004).caption, u"A5");
    EXPECT_EQ(model_.IndicatorLook(), BankIndicatorLook::BankA);

    bank_[SlotOf(kKeyA)] = KeyAssignment{};  // a key change is not picked up by a bank change
    model_.SetBank(GKeyBank::B);
    model_.RefreshGBankMarks(bank_, GKeyBank::B, Sources());
    EXPECT_EQ(ButtonOf(1000).caption, u"B1");
    EXPECT_EQ(ButtonOf(1004).caption, u"B5");
    for (int g = 5; g < 9; ++g)
        EXPECT_TRUE(ButtonOf(GKeyControlId(g)).caption.empty()) << g;
    EXPECT_TRUE(ButtonOf(GKeyControlId(1)).assigned);
    EXPECT_EQ(ButtonOf(GKeyControlId(1)).tooltip, u"G2 -> ");
    EXPECT_TRUE(KeyButton(kKeyA).assigned);
    EXPECT_EQ(model_.IndicatorLook(), BankIndicatorLook::BankB);

    model_.SetBank(GKeyBank::A);
    model_.RefreshGBankMarks(bank_, GKeyBank::A, Sources());
    EXPECT_EQ(ButtonOf(1000).caption, u"A1");
    EXPECT_FALSE(ButtonOf(GKeyControlId(1)).assigned);
    EXPECT_EQ(model_.IndicatorLook(), BankIndicatorLook::BankA);
}

TEST_F(KeyboardViewModelTest, FlipTradesF1ToF4ForD1ToD6)
{
    auto usable = [&](int id) { return ButtonOf(id).usable; };
    for (int id = kF1Control; id < kF1Control + 4; ++id)
        EXPECT_TRUE(usable(id)) << id;
    for (int id = 1016; id <= 1021; ++id)
        EXPECT_FALSE(usable(id)) << id;
    EXPECT_FALSE(model_.ArrowsPointUp());

    model_.SetFlip(true);
    for (int id = kF1Control; id < kF1Control + 4; ++id)
        EXPECT_FALSE(usable(id)) << id;
    for (int id = 1016; id <= 1021; ++id)
        EXPECT_TRUE(usable(id)) << id;
    EXPECT_TRUE(usable(1014)) << "F5 stays";
    EXPECT_TRUE(model_.ArrowsPointUp());

    model_.SetFlip(false);
    EXPECT_TRUE(usable(kF1Control));
    EXPECT_FALSE(usable(1016));
}

TEST_F(KeyboardViewModelTest, ClickTargetsFollowKeySlotAndGBank)
{
    auto a = model_.BeginEditing(KeyButton(kKeyA).controlId);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->record, 0x1E);
    EXPECT_FALSE(a->macroOnly);
    EXPECT_EQ(KeyButton(kKeyA).pictures, KeyPictureSet::Editing);
    model_.EndEditing(KeyButton(kKeyA).controlId);
    EXPECT_EQ(KeyButton(kKeyA).pictures, KeyPictureSet::Key);

    const auto insert = model_.BeginEditing(PhysicalKeyOfCode(0x152)->controlId);
    ASSERT_TRUE(insert);
    EXPECT_EQ(insert->record, 0xD2);

    EXPECT_EQ(model_.BeginEditing(GKeyControlId(0))->record, 256);
    const auto g9 = model_.BeginEditing(GKeyControlId(8));
    EXPECT_EQ(g9->record, 264);
    EXPECT_TRUE(g9->macroOnly);
    model_.SetBank(GKeyBank::B);
    EXPECT_EQ(model_.BeginEditing(GKeyControlId(0))->record, 265);
    const auto macroButton = model_.BeginEditing(kMacroEditControlId);
    ASSERT_TRUE(macroButton);
    EXPECT_EQ(macroButton->record, 273);
    EXPECT_TRUE(macroButton->macroOnly);
    EXPECT_EQ(ButtonOf(GKeyControlId(8)).pictures, KeyPictureSet::Editing);

    EXPECT_FALSE(model_.BeginEditing(kFnControlId));
    EXPECT_FALSE(model_.BeginEditing(1016));
    EXPECT_FALSE(model_.BeginEditing(4242));
    EXPECT_EQ(ButtonOf(kFnControlId).pictures, KeyPictureSet::Key);

    EXPECT_TRUE(KeyboardViewModel::ClickPaintsInLightingView(KeyButton(kKeyA).controlId));
    EXPECT_TRUE(KeyboardViewModel::ClickPaintsInLightingView(kFnControlId));
    EXPECT_TRUE(KeyboardViewModel::ClickPaintsInLightingView(1016));
    EXPECT_FALSE(KeyboardViewModel::ClickPaintsInLightingView(GKeyControlId(0)));
    EXPECT_FALSE(KeyboardViewModel::ClickPaintsInLightingView(kMacroEditControlId));
}

TEST_F(KeyboardViewModelTest, RestoreDefaultsClearsKeysAndTheActiveGBankOnly)
{
    for (auto& record : bank_)
        record = MakeAssignment(AssignmentKind::Disabled);
    KeyboardViewModel::RestoreDefaultRecords(bank_, GKeyBank::B);
    for (const PhysicalKey& key : KeyList())
        EXPECT_EQ(bank_[SlotOf(key.code)], KeyAssignment{}) << key.code;
    for (int g = 0; g < 9; ++g) {
        EXPECT_EQ(bank_[GKeyRecord(g, GKeyBank::B)], KeyAssignment{}) << g;
        EXPECT_EQ(bank_[GKeyRecord(g, GKeyBank::A)].kind, AssignmentKind::Disabled) << g;
    }
    // Slots no key of the list uses and the unused records stay.
    EXPECT_EQ(bank_[0x00].kind, AssignmentKind::Disabled);
    EXPECT_EQ(bank_[300].kind, AssignmentKind::Disabled);

    model_.RefreshKeyButtons(bank_, GKeyBank::B, Sources());
    EXPECT_FALSE(KeyButton(kKeyA).assigned);
    EXPECT_EQ(KeyButton(kKeyA).tooltip, u"A");
    EXPECT_FALSE(ButtonOf(GKeyControlId(0)).assigned);
}

} // namespace
} // namespace kovantis
