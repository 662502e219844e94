#pragma once
// The lighting panel as the profile buttons and the keyboard's arrival drive it.

#include "lighting/lighting_controller.h"
#include "profiles/lighting_hooks.h"

namespace kovantis {

class PanelLightingHooks final : public LightingHooks {
public:
    explicit PanelLightingHooks(LightingController& lighting) : lighting_(lighting) {}

    void SetCurrentProfile(int profile) override { lighting_.SetCurrentProfile(profile); }
    void ReadBackLighting(int profile) override
    {
        lighting_.SetCurrentProfile(profile);
        lighting_.LoadLighting();
    }
    void ReloadUserModes(int profile) override
    {
        lighting_.SetCurrentProfile(profile);
        lighting_.ReloadUserModes();
    }
    void RefreshPanel() override { lighting_.RefreshLightingPanel(); }
    void TurnLightingViewOff() override { lighting_.TurnLightingViewOff(); }

private:
    LightingController& lighting_;
};

} // namespace kovantis
