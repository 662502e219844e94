#pragma once
// What the lighting tests share: a keyboard behind the fake device library, a throw-away
// program folder and per-user overlay, and the decoded command reports the program sent.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "lighting/lighting_controller.h"
#include "lighting/lighting_hooks_adapter.h"
#include "lighting/user_mode_store.h"
#include "lighting/user_modes.h"
#include "platform/paths.h"
#include "support/fake_device.h"

namespace kovantis::testing {

// One command report as the keyboard reads it.
struct SentCommand {
    int command = 0;
    int length = 0;
    int address = 0;
    std::vector<uint8_t> data;  // the `length` data bytes
};

std::vector<SentCommand> DecodeSent(const std::vector<Report>& reports);
// The commands only (0x01, 0x06, 0x02, ...).
std::vector<int> CommandCodes(const std::vector<SentCommand>& sent);

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

class MemoryViewSetting final : public LightingViewSetting {
public:
    bool Read() const override { return on; }
    void Write(bool value) override
    {
        on = value;
        ++writes;
    }
    bool on = false;
    int writes = 0;
};

void WriteTextFile(const std::filesystem::path& path, const std::string& text);
std::string ReadTextFile(const std::filesystem::path& path);

struct LightingRig {
    explicit LightingRig(const FakeDeviceOptions& options = {}, std::string mainIni = {});

    // The lighting part of a profile button and of the keyboard's arrival, in the order the
    // profile controller runs its hooks.
    void PressProfileButton(int profile);
    void Arrive(int activeProfile);

    // Every command the program sent since the last call.
    std::vector<SentCommand> TakeSent();

    std::filesystem::path ShippedSkins() const { return temp.Path() / "prog" / "Skins"; }
    std::filesystem::path OverlaySkins() const { return paths.OverlayFolder(); }

    TempFolder temp;
    FakeDevice device;
    Paths paths;
    UserModeStore store;
    UserModes modes;
    MemoryViewSetting view;
    LightingController lighting;
    PanelLightingHooks hooks{lighting};
};

} // namespace kovantis::testing
