#pragma once
// The lighting panel's logic: one operation per control, the read-back of the keyboard's
// lighting blocks, the refresh of the panel, restore, the preview and the per-key colours of
// effect 20. Every control change is written to the keyboard at once as one bracketed
// transfer; the state changes whatever the keyboard answers (a disconnected keyboard leaves the
// panel showing the new value). Not thread-safe: the desktop program runs the calls that write
// to the keyboard as jobs on its worker thread, one at a time, and reads the state and runs the
// preview ticks on the UI thread only while no job runs (ui/common/ui_job.h).

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "device/command_set.h"
#include "lighting/effect_list.h"
#include "lighting/lighting_panel_look.h"
#include "lighting/lighting_state.h"
#include "lighting/lighting_view_setting.h"
#include "lighting/preview_engine.h"
#include "lighting/profile_block.h"
#include "lighting/skin_texts.h"
#include "lighting/user_modes.h"
#include "ports/text_source.h"

namespace kovantis {

class Clock;

// What a click on a key picture means to the lighting.
enum class KeyPictureClick {
    NotLighting,  // the function view has it (open key assignment editing)
    Ignored,      // lighting view with an effect other than 20: nothing happens
    Painted,      // the key took the current tool's colour
};

// What the user is told when a change of the panel did not reach the keyboard.
std::u16string LightingChangeFailedMessage(int result, const TextSource& texts);

class LightingController {
public:
    LightingController(CommandSet& commands, UserModes& userModes, LightingViewSetting& view,
                       const Clock& clock, LightingSkinTexts skin);

    // The language value (0, 1 or other) that picks the skin's names and labels.
    void SetLanguage(int language) { language_ = language; }
    // The result of the last exchange with the keyboard that failed since the last call (1 when
    // none did). The state follows the user's change whatever the keyboard answers; the caller
    // asks afterwards, so that a change the keyboard did not take is not passed over in silence.
    int TakeExchangeFailure() { return commands_.TakeLastFailure(); }
    // Turning the lighting view on re-selects the current profile on the keyboard through this
    // (the profile switch, which refuses while an editor is open); false keeps the view off.
    void SetProfileReselector(std::function<bool(int profile)> reselect) { reselect_ = std::move(reselect); }

    // -- read-back --

    // Reads the effect list and all three blocks and decodes the current profile's. Gives the
    // settings-block read's result when it fails (1 on success); the effect list is then empty.
    int LoadLighting();
    void RefreshLightingPanel();
    // The profile whose block the panel edits (0..2; other values are ignored).
    void SetCurrentProfile(int profile);
    // When the keyboard offers effect 20: the current profile's mode names, and its current mode
    // loaded and sent (whatever effect the keyboard shows).
    void ReloadUserModes();
    // A profile button turns the view off before it switches.
    void TurnLightingViewOff();
    // The keyboard changed its lighting on its own, or the language changed: read back, refresh.
    int Reread();

    // -- the panel's controls --

    void SelectEffect(int comboIndex);
    void MoveBrightnessSlider(int position);
    void MoveSpeedSlider(int position);
    // The first (1149: byte 3 = 0xFF) or second (1150: 0x00) direction picture.
    void PressDirectionPicture(bool first);
    // Either colour button (1152, 1155): the colour, multicolour off.
    void ChooseEffectColour(Rgb colour);
    // Either multicolour picture (1156, 1175).
    void ToggleMulticolour();
    // Effect 17's colour pictures 1194..1197: 0 red, 1 yellow, 2 green, 3 blue.
    void ChooseColourPicture(int choice);
    // Report-rate buttons 1147, 1168, 1169, 1170: index 0..3.
    void PressReportRate(int index);
    // The lamp (1167). Returns the view's new state.
    bool ToggleLightingView();
    // The restore command's lighting part: only while the lighting view is on.
    void RestoreLightingDefaults();

    // -- effect 20 --

    KeyPictureClick ClickKeyPicture(int controlId);
    void SelectUserMode(int mode);
    void RenameUserMode(std::u16string_view name);
    void ChooseBrushColour(Rgb colour);
    void ChooseBaseColour(Rgb colour);
    void SelectTool(int tool);

    // -- the preview --

    // The 50 ms preview timer runs only while this holds, so a hidden window costs nothing.
    bool PreviewShouldRun(bool windowVisible) const { return windowVisible && state_.lightingView; }
    // One timer tick: with the lighting view on, the preview's next step.
    void PreviewTick();

    // -- what to draw --

    LightingPanelLook Look() const;
    // The colour a key picture shows, nullopt when it shows its caption.
    std::optional<Rgb> KeyPictureColour(int controlId) const;
    KeyPictureContent KeyPictures() const { return frame_.content; }

    const LightingState& State() const { return state_; }
    const ProfileBlock& Block(int profile) const { return blocks_[static_cast<size_t>(profile)]; }
    const EffectList& Effects() const { return effectList_; }
    const EffectTable& Table() const { return effectTable_; }
    const UserModes& Modes() const { return userModes_; }

private:
    void RunSelection(int effectId);
    void WriteByte(int offset, uint8_t value);
    void ShowCaptions();
    void ShowPerKeyColours();
    void ShowUniform(Rgb colour);
    void PreviewStepNow();
    void ResetPreview();

    CommandSet& commands_;
    UserModes& userModes_;
    LightingViewSetting& view_;
    const Clock& clock_;
    LightingSkinTexts skin_;
    std::function<bool(int)> reselect_;
    int language_ = 0;

    LightingState state_;
    std::array<ProfileBlock, kProfileCount> blocks_{};
    EffectList effectList_;
    EffectTable effectTable_;
    PreviewState preview_;
    PreviewFrame frame_;
};

} // namespace kovantis
