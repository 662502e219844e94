#include "lighting_fixture.h"

#include <fstream>
#include <random>
#include <sstream>

namespace kovantis::testing {

namespace fs = std::filesystem;

std::vector<SentCommand> DecodeSent(const std::vector<Report>& reports)
{
    std::vector<SentCommand> out;
    for (const Report& r : reports) {
        SentCommand c;
        c.command = r[3];
        c.length = r[4];
        c.address = r[5] | (r[6] << 8);
        const int n = std::min(c.length, 56);
        c.data.assign(r.begin() + 8, r.begin() + 8 + n);
        out.push_back(std::move(c));
    }
    return out;
}

std::vector<int> CommandCodes(const std::vector<SentCommand>& sent)
{
    std::vector<int> codes;
    for (const SentCommand& c : sent) {
        codes.push_back(c.command);
    }
    return codes;
}

TempFolder::TempFolder()
{
    std::random_device random;
    path_ = fs::temp_directory_path() / ("kovantis-lighting-" + std::to_string(random()));
    fs::create_directories(path_);
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    fs::remove_all(path_, ec);
}

void WriteTextFile(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadTextFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

namespace {

PathRoots RootsIn(const fs::path& folder)
{
    fs::create_directories(folder / "prog" / "Skins");
    return PathRoots{folder / "prog", folder / "home", folder / "config", folder / "data"};
}

IniDocument MainIni(const std::string& text)
{
    return IniDocument::Parse(text);
}

} // namespace

LightingRig::LightingRig(const FakeDeviceOptions& options, std::string mainIni)
    : device(options),
      paths(RootsIn(temp.Path())),
      store(paths),
      modes(device.Commands(), store),
      lighting(device.Commands(), modes, view, device.GetClock(), LightingSkinTexts(MainIni(mainIni)))
{
    device.ClearSent();
}

void LightingRig::PressProfileButton(int profile)
{
    hooks.SetCurrentProfile(profile);
    hooks.ReadBackLighting(profile);
    hooks.ReloadUserModes(profile);
    hooks.RefreshPanel();
    hooks.TurnLightingViewOff();
}

void LightingRig::Arrive(int activeProfile)
{
    hooks.SetCurrentProfile(activeProfile);
    const int current = lighting.State().profile;
    hooks.ReadBackLighting(current);
    hooks.ReloadUserModes(current);
    hooks.RefreshPanel();
}

std::vector<SentCommand> LightingRig::TakeSent()
{
    auto sent = DecodeSent(device.Sent());
    device.ClearSent();
    return sent;
}

} // namespace kovantis::testing
