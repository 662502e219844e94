#include "lighting/lighting_view_setting.h"

#include "app/app_settings.h"

namespace kovantis {

bool AppLightingViewSetting::Read() const
{
    return settings_.LightingView();
}

void AppLightingViewSetting::Write(bool on)
{
    settings_.SetLightingView(on);
}

} // namespace kovantis
