#pragma once
// Where the lighting view (the lamp of the panel) is kept between runs: ovra.ini, section
// KEYCOLOR, DengCheck "1" or "0".

namespace kovantis {

class AppSettings;

class LightingViewSetting {
public:
    virtual ~LightingViewSetting() = default;
    virtual bool Read() const = 0;
    virtual void Write(bool on) = 0;
};

// The program's own: through the per-user settings.
class AppLightingViewSetting final : public LightingViewSetting {
public:
    explicit AppLightingViewSetting(const AppSettings& settings) : settings_(settings) {}
    bool Read() const override;
    void Write(bool on) override;

private:
    const AppSettings& settings_;
};

} // namespace kovantis
