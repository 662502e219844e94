#pragma once
// What the profile buttons and the keyboard's arrival ask of the lighting panel. The lighting
// area implements it; the defaults do nothing, so profiles work without a panel (the
// command-line program, tests).

namespace kovantis {

class LightingHooks {
public:
    virtual ~LightingHooks() = default;
    // The profile whose lighting the panel edits and whose bank the keyboard view shows.
    virtual void SetCurrentProfile(int profile) { (void)profile; }
    // Read back the lighting of all profiles from the keyboard and decode this one.
    virtual void ReadBackLighting(int profile) { (void)profile; }
    // When the keyboard offers the per-key effect: refill the user-mode names of this profile and
    // reload and send its current user mode.
    virtual void ReloadUserModes(int profile) { (void)profile; }
    virtual void RefreshPanel() {}
    // Switch the lighting view off (and hide the panel) when it is on.
    virtual void TurnLightingViewOff() {}
};

} // namespace kovantis
