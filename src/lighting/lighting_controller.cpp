#include "lighting/lighting_controller.h"

#include <algorithm>

#include "app/text_format.h"
#include "device/command_result.h"
#include "keyboard/keyboard_view_model.h"
#include "keyboard/physical_layout.h"
#include "lighting/transfer.h"
#include "ports/clock.h"

namespace kovantis {

namespace {

constexpr int kRecordReadLength = kReportDataSize;

// The colour position a key picture paints, or -1 for a picture that is no paintable key.
int PaintedIndexOf(int controlId)
{
    if (controlId == kFnControlId) {
        return kFnMatrixIndex;
    }
    if (IsExtraKeyControl(controlId)) {
        return 0;
    }
    const PhysicalKey* key = PhysicalKeyOfControl(controlId);
    return key != nullptr ? key->matrixIndex : -1;
}

} // namespace

std::u16string LightingChangeFailedMessage(int result, const TextSource& texts)
{
    const std::u16string cause = DescribeCommandResult(result, texts);
    return FormatText(texts.TextOr("EXTRA_LIGHTING_FAILED", u"The lighting change may not have reached the keyboard: %s. "
                                                            u"The panel shows what you chose; choose it again to retry."),
                      {std::u16string_view(cause)});
}

LightingController::LightingController(CommandSet& commands, UserModes& userModes, LightingViewSetting& view,
                                       const Clock& clock, LightingSkinTexts skin)
    : commands_(commands), userModes_(userModes), view_(view), clock_(clock), skin_(std::move(skin))
{
}

// -- read-back --

int LightingController::LoadLighting()
{
    effectList_.Clear();
    effectTable_ = EffectTable{};
    std::array<uint8_t, kSettingsBlockSize> settings{};
    const int result = commands_.ReadSettingsBlock(settings);
    if (result != 1) {
        return result;
    }
    effectList_ = EffectList::FromSettingsBlock(settings);
    InTransfer(commands_, [&] {
        for (int p = 0; p < kProfileCount; ++p) {
            std::array<uint8_t, kReportDataSize> record{};
            // A record that could not be read keeps what was last read, rather than whatever
            // a failed reply left in the buffer.
            if (commands_.ReadProfileRecord(record, kRecordReadLength, ProfileBlockAddress(p, 0)) == 1) {
                std::copy_n(record.begin(), kProfileBlockSize, blocks_[static_cast<size_t>(p)].bytes.begin());
            }
        }
    });
    state_.Decode(blocks_[static_cast<size_t>(state_.profile)]);
    state_.lightingView = view_.Read();
    return 1;
}

void LightingController::RefreshLightingPanel()
{
    effectTable_ = EffectTable(effectList_);
    if (state_.colourChoice < 0 || state_.colourChoice > 3) {
        state_.colourChoice = 0;
    }
    if (state_.lightingView) {
        PreviewStepNow();
    } else {
        ShowCaptions();
    }
}

void LightingController::SetCurrentProfile(int profile)
{
    if (profile >= 0 && profile < kProfileCount) {
        state_.profile = profile;
    }
}

void LightingController::ReloadUserModes()
{
    if (effectList_.Offers(kPerKeyEffect)) {
        userModes_.FillUserModeNames(state_.profile);
        userModes_.LoadUserMode(state_.profile);
    }
}

void LightingController::TurnLightingViewOff()
{
    if (state_.lightingView) {
        state_.lightingView = false;
        view_.Write(false);
        ShowCaptions();
    }
}

int LightingController::Reread()
{
    const int result = LoadLighting();
    RefreshLightingPanel();
    return result;
}

// -- controls --

void LightingController::WriteByte(int offset, uint8_t value)
{
    blocks_[static_cast<size_t>(state_.profile)].SetByte(offset, value);
    InTransfer(commands_, [&] { WriteBlockByte(commands_, state_.profile, offset, value); });
}

void LightingController::RunSelection(int effectId)
{
    ShowCaptions();
    const EffectInfo info = EffectInfoOf(effectId);
    ProfileBlock& block = blocks_[static_cast<size_t>(state_.profile)];
    if (info.writes != EffectWrites::Nothing) {
        const auto id = static_cast<uint8_t>(effectId);
        const uint8_t multicolour = state_.multicolour ? 1 : 0;
        block.SetByte(block_field::kEffectId, id);
        if (info.writes == EffectWrites::IdAndMulticolour) {
            block.SetByte(block_field::kMulticolour, multicolour);
        }
        InTransfer(commands_, [&] {
            WriteBlockByte(commands_, state_.profile, block_field::kEffectId, id);
            if (info.writes == EffectWrites::IdAndMulticolour) {
                WriteBlockByte(commands_, state_.profile, block_field::kMulticolour, multicolour);
            }
        });
    }
    state_.effectId = effectId;
    if (effectId == kPerKeyEffect) {
        ShowPerKeyColours();
    }
    ResetPreview();
}

void LightingController::SelectEffect(int comboIndex)
{
    const int id = effectTable_.IdAt(comboIndex);
    if (id >= 0) {
        RunSelection(id);
    }
}

void LightingController::MoveBrightnessSlider(int position)
{
    if (position < 0 || position > kMaxBrightness || position == state_.brightness) {
        return;
    }
    state_.brightness = position;
    WriteByte(block_field::kBrightness, static_cast<uint8_t>(position));
}

void LightingController::MoveSpeedSlider(int position)
{
    // The slider runs from slow to fast; the keyboard counts the other way.
    const int value = kMaxSpeed - position;
    if (position < 0 || position > kMaxSpeed || value == state_.speed) {
        return;
    }
    state_.speed = value;
    WriteByte(block_field::kSpeed, static_cast<uint8_t>(value));
}

void LightingController::PressDirectionPicture(bool first)
{
    state_.direction = first ? kDirectionFirst : kDirectionSecond;
    WriteByte(block_field::kDirection, state_.direction);
}

void LightingController::ChooseEffectColour(Rgb colour)
{
    state_.effectColour = colour;
    state_.multicolour = false;
    state_.breathingMulticolourPicture = false;
    state_.reactiveMulticolourPicture = false;
    ProfileBlock& block = blocks_[static_cast<size_t>(state_.profile)];
    block.SetByte(block_field::kMulticolour, 0);
    block.SetColour(block_field::kEffectColour, colour);
    const uint8_t rgb[3] = {colour.r, colour.g, colour.b};
    InTransfer(commands_, [&] {
        WriteBlockByte(commands_, state_.profile, block_field::kMulticolour, 0);
        WriteBlockField(commands_, state_.profile, block_field::kEffectColour, rgb);
    });
    ShowUniform(colour);
}

void LightingController::ToggleMulticolour()
{
    state_.multicolour = !state_.multicolour;
    state_.breathingMulticolourPicture = state_.multicolour;
    state_.reactiveMulticolourPicture = state_.multicolour;
    WriteByte(block_field::kMulticolour, state_.multicolour ? 1 : 0);
}

void LightingController::ChooseColourPicture(int choice)
{
    if (choice < 0 || choice > 3) {
        return;
    }
    state_.colourChoice = choice;
    WriteByte(block_field::kColourChoice, static_cast<uint8_t>(choice));
}

void LightingController::PressReportRate(int index)
{
    if (index < 0 || index > kMaxReportRate) {
        return;
    }
    state_.reportRate = index;
    WriteByte(block_field::kReportRate, static_cast<uint8_t>(index));
}

bool LightingController::ToggleLightingView()
{
    if (state_.lightingView) {
        TurnLightingViewOff();
        return false;
    }
    if (reselect_ && !reselect_(state_.profile)) {
        return false;
    }
    state_.lightingView = true;
    view_.Write(true);
    PreviewStepNow();
    return true;
}

void LightingController::RestoreLightingDefaults()
{
    if (!state_.lightingView) {
        return;
    }
    RunSelection(1);
    state_.brightness = kRestoreBytes[block_field::kBrightness];
    state_.speed = kRestoreBytes[block_field::kSpeed];
    state_.direction = kRestoreBytes[block_field::kDirection];
    state_.effectColour = kRed;
    state_.multicolour = true;
    state_.breathingMulticolourPicture = true;
    state_.reactiveMulticolourPicture = true;
    // The keyboard takes these from the same write; the panel must not keep showing the old.
    state_.reportRate = kRestoreBytes[block_field::kReportRate];
    state_.colourChoice = kRestoreBytes[block_field::kColourChoice];
    if (effectList_.Offers(kPerKeyEffect)) {
        userModes_.RestoreFromTemplate(state_.profile);
    }
    blocks_[static_cast<size_t>(state_.profile)].Store(0, kRestoreBytes);
    InTransfer(commands_, [&] { WriteBlockField(commands_, state_.profile, 0, kRestoreBytes); });
    PreviewStepNow();
}

// -- effect 20 --

KeyPictureClick LightingController::ClickKeyPicture(int controlId)
{
    const int index = PaintedIndexOf(controlId);
    if (!state_.lightingView || index < 0) {
        return KeyPictureClick::NotLighting;
    }
    if (state_.effectId != kPerKeyEffect || effectTable_.IndexOf(kPerKeyEffect) < 0) {
        return KeyPictureClick::Ignored;
    }
    userModes_.PaintKey(state_.profile, index);
    return KeyPictureClick::Painted;
}

void LightingController::SelectUserMode(int mode)
{
    userModes_.SelectMode(state_.profile, mode);
    ShowPerKeyColours();
}

void LightingController::RenameUserMode(std::u16string_view name)
{
    userModes_.RenameMode(state_.profile, name);
}

void LightingController::ChooseBrushColour(Rgb colour)
{
    userModes_.ChooseBrushColour(state_.profile, colour);
}

void LightingController::ChooseBaseColour(Rgb colour)
{
    userModes_.ChooseBaseColour(state_.profile, colour);
    ShowPerKeyColours();
}

void LightingController::SelectTool(int tool)
{
    userModes_.SelectTool(state_.profile, tool);
}

// -- preview and key pictures --

void LightingController::ShowCaptions()
{
    frame_.content = KeyPictureContent::Captions;
}

void LightingController::ShowPerKeyColours()
{
    if (state_.lightingView) {
        frame_.content = KeyPictureContent::PerKeyColours;
    }
}

void LightingController::ShowUniform(Rgb colour)
{
    if (state_.lightingView) {
        frame_.content = KeyPictureContent::Colours;
        frame_.colours.fill(colour);
    }
}

void LightingController::ResetPreview()
{
    preview_.effectId = -1;
}

void LightingController::PreviewStepNow()
{
    if (preview_.effectId != state_.effectId) {
        // The random parts start from the clock, as a fresh effect should look different.
        preview_.seed = static_cast<uint32_t>(clock_.Now().time_since_epoch().count()) | 1u;
    }
    PreviewStep(state_, preview_, frame_);
}

void LightingController::PreviewTick()
{
    if (state_.lightingView) {
        PreviewStepNow();
    }
}

LightingPanelLook LightingController::Look() const
{
    return BuildLightingPanelLook(state_, effectTable_, skin_, language_, userModes_.View());
}

std::optional<Rgb> LightingController::KeyPictureColour(int controlId) const
{
    switch (frame_.content) {
    case KeyPictureContent::Captions: return std::nullopt;
    case KeyPictureContent::PerKeyColours:
        return userModes_.Colours().At(state_.profile, MatrixIndexOfControl(controlId));
    case KeyPictureContent::Colours: break;
    }
    const int index = PaintedIndexOf(controlId);
    return index >= 0 ? std::optional<Rgb>(frame_.colours[static_cast<size_t>(index)]) : std::nullopt;
}

} // namespace kovantis
