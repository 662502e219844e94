// The lighting commands. Each does what the matching control of the lighting panel does to the
// active profile, with exactly the same writes to the keyboard.

#include <array>
#include <cstdio>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "cli/command_registry.h"
#include "cli/session.h"
#include "keyboard/key_table.h"
#include "keyboard/physical_layout.h"
#include "lighting/effect_catalog.h"
#include "lighting/lighting_controller.h"
#include "platform/ini_file.h"
#include "platform/paths.h"

namespace kovantis::cli {
namespace {

int Lighting(Session& session, std::span<const std::string_view> args);

const Command kLighting{
    "lighting",
    "show | effect ID | brightness 0-4 | speed 0-3 | direction left|right | colour R,G,B | "
    "multicolour on|off | report-rate 0-3 | restore | paint KEY R,G,B | mode 0-9",
    "the active profile's lighting, as the lighting panel shows and edits it (speed is the "
    "slider's position, 3 fastest; paint and mode need effect 20)",
    &Lighting};

const CommandRegistration registerLighting(kLighting);

LightingSkinTexts MainSkin(const Paths& paths)
{
    auto doc = IniDocument::Load(paths.ShippedFile("Main.ini").string());
    return LightingSkinTexts(doc ? std::move(*doc) : IniDocument{});
}

// The active profile's lighting as the session's controller holds it, with the names the main
// skin gives the effects.
struct LightingSession {
    explicit LightingSession(Session& session)
        : skin(MainSkin(session.GetPaths())),
          language(session.LanguageValue()),
          modes(session.Core().Modes()),
          lighting(session.Core().Lighting())
    {
    }

    std::string EffectName(int id) const
    {
        const auto name = skin.SkinEffectName(id, language);
        return name ? Utf16ToUtf8(*name) : BuiltInEffectName(id);
    }

    LightingSkinTexts skin;
    int language;
    UserModes& modes;
    LightingController& lighting;
};

std::string Hex(std::span<const uint8_t> bytes)
{
    std::string text;
    char digits[4];
    for (uint8_t b : bytes) {
        std::snprintf(digits, sizeof digits, "%02X", b);
        text += text.empty() ? "" : " ";
        text += digits;
    }
    return text;
}

const char* DirectionName(int effectId, bool first)
{
    switch (DirectionPicturesOf(effectId)) {
    case DirectionPictures::UpDown: return first ? "up" : "down";
    case DirectionPictures::SpreadConverge: return first ? "spread" : "converge";
    case DirectionPictures::LeftRight: break;
    }
    return first ? "left" : "right";
}

std::optional<bool> ParseDirection(std::string_view word)
{
    if (word == "left" || word == "up" || word == "spread") {
        return true;
    }
    if (word == "right" || word == "down" || word == "converge") {
        return false;
    }
    return std::nullopt;
}

std::optional<bool> ParseOnOff(std::string_view word)
{
    if (word == "on") {
        return true;
    }
    if (word == "off") {
        return false;
    }
    return std::nullopt;
}

char16_t Lower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool SameName(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

// The key picture a key name stands for: a name of the key table ("A", "Page Up", "Num 1") or
// "Fn"; nullopt for anything else.
std::optional<int> KeyControlOf(std::string_view name)
{
    const std::u16string wanted = Utf8ToUtf16(name);
    if (SameName(wanted, u"Fn")) {
        return kFnControlId;
    }
    for (const PhysicalKey& key : KeyList()) {
        if (SameName(wanted, KeyTableEntryOf(key.code).name)) {
            return key.controlId;
        }
    }
    return std::nullopt;
}

void PrintState(Session& session, const LightingSession& ls)
{
    const LightingController& l = ls.lighting;
    const LightingState& s = l.State();
    std::ostream& out = session.Out();
    out << "profile: " << s.profile << '\n'
        << "effect: " << s.effectId << " (" << ls.EffectName(s.effectId) << ")\n"
        << "brightness: " << s.brightness << '\n'
        << "speed: " << kMaxSpeed - s.speed << " (keyboard value " << s.speed << ")\n"
        << "direction: " << DirectionName(s.effectId, s.direction == kDirectionFirst) << '\n'
        << "multicolour: " << (s.multicolour ? "on" : "off") << '\n'
        << "colour: " << Utf16ToUtf8(FormatRgb(s.effectColour)) << '\n'
        << "colour-choice: " << s.colourChoice << '\n'
        << "report-rate: " << s.reportRate << '\n';
    if (l.Effects().Offers(kPerKeyEffect)) {
        const UserModeView& modes = l.Modes().View();
        out << "user-mode: " << modes.mode << " (" << Utf16ToUtf8(modes.names[static_cast<size_t>(modes.mode)])
            << ")\n";
    }
}

void PrintShow(Session& session, const LightingSession& ls)
{
    PrintState(session, ls);
    const LightingController& l = ls.lighting;
    std::ostream& out = session.Out();
    out << "block: " << Hex(l.Block(l.State().profile).bytes) << '\n' << "offered-effects:\n";
    const EffectTable& table = l.Table();
    for (int j = 0; j < table.size(); ++j) {
        out << "  " << table.IdAt(j) << ' ' << ls.EffectName(table.IdAt(j)) << '\n';
    }
}

// One sub-command: its arguments are checked before the keyboard is touched.
struct Action {
    bool valid = false;
    std::function<int(Session&, LightingSession&)> run;
};

Action Invalid()
{
    return {};
}

Action Parse(std::span<const std::string_view> args)
{
    if (args.empty()) {
        return Invalid();
    }
    const std::string_view verb = args[0];
    const bool one = args.size() == 2;
    const auto number = [&](long low, long high) { return one ? ParseNumber(args[1], low, high) : std::nullopt; };

    if (verb == "show" && args.size() == 1) {
        return {true, [](Session& s, LightingSession& ls) {
                    PrintShow(s, ls);
                    return kExitOk;
                }};
    }
    if (verb == "restore" && args.size() == 1) {
        return {true, [](Session&, LightingSession& ls) {
                    ls.lighting.RestoreLightingDefaults();
                    return kExitOk;
                }};
    }
    if (verb == "effect") {
        const auto id = number(1, 255);
        if (!id) {
            return Invalid();
        }
        return {true, [id = static_cast<int>(*id)](Session& s, LightingSession& ls) {
                    const int index = ls.lighting.Table().IndexOf(id);
                    if (index < 0) {
                        s.Err() << "kovantis-cli: the keyboard does not offer effect " << id << '\n';
                        return kExitFailed;
                    }
                    ls.lighting.SelectEffect(index);
                    return kExitOk;
                }};
    }
    if (verb == "brightness") {
        const auto p = number(0, kMaxBrightness);
        if (!p) {
            return Invalid();
        }
        return {true, [p = static_cast<int>(*p)](Session&, LightingSession& ls) {
                    ls.lighting.MoveBrightnessSlider(p);
                    return kExitOk;
                }};
    }
    if (verb == "speed") {
        const auto p = number(0, kMaxSpeed);
        if (!p) {
            return Invalid();
        }
        return {true, [p = static_cast<int>(*p)](Session&, LightingSession& ls) {
                    ls.lighting.MoveSpeedSlider(p);
                    return kExitOk;
                }};
    }
    if (verb == "report-rate") {
        const auto i = number(0, kMaxReportRate);
        if (!i) {
            return Invalid();
        }
        return {true, [i = static_cast<int>(*i)](Session&, LightingSession& ls) {
                    ls.lighting.PressReportRate(i);
                    return kExitOk;
                }};
    }
    if (verb == "direction" && one) {
        const auto first = ParseDirection(args[1]);
        if (!first) {
            return Invalid();
        }
        return {true, [first = *first](Session&, LightingSession& ls) {
                    ls.lighting.PressDirectionPicture(first);
                    return kExitOk;
                }};
    }
    if (verb == "colour" && one) {
        const auto colour = ParseRgb(args[1]);
        if (!colour) {
            return Invalid();
        }
        return {true, [colour = *colour](Session&, LightingSession& ls) {
                    ls.lighting.ChooseEffectColour(colour);
                    return kExitOk;
                }};
    }
    if (verb == "multicolour" && one) {
        const auto on = ParseOnOff(args[1]);
        if (!on) {
            return Invalid();
        }
        return {true, [on = *on](Session&, LightingSession& ls) {
                    // The panel's picture toggles; a state it already has needs no write.
                    if (ls.lighting.State().multicolour != on) {
                        ls.lighting.ToggleMulticolour();
                    }
                    return kExitOk;
                }};
    }
    if (verb == "mode") {
        const auto mode = number(0, kUserModeCount - 1);
        if (!mode) {
            return Invalid();
        }
        return {true, [mode = static_cast<int>(*mode)](Session& s, LightingSession& ls) {
                    if (ls.lighting.State().effectId != kPerKeyEffect) {
                        s.Err() << "kovantis-cli: user modes belong to effect 20; the profile shows effect "
                                << ls.lighting.State().effectId << '\n';
                        return kExitFailed;
                    }
                    ls.lighting.SelectUserMode(mode);
                    return kExitOk;
                }};
    }
    if (verb == "paint" && args.size() == 3) {
        const auto control = KeyControlOf(args[1]);
        const auto colour = ParseRgb(args[2]);
        if (!control || !colour) {
            return Invalid();
        }
        return {true, [control = *control, colour = *colour](Session& s, LightingSession& ls) {
                    LightingController& l = ls.lighting;
                    if (l.State().effectId != kPerKeyEffect) {
                        s.Err() << "kovantis-cli: keys are painted in effect 20; the profile shows effect "
                                << l.State().effectId << '\n';
                        return kExitFailed;
                    }
                    // The brush tool with the colour given, then the click on the key picture.
                    l.ChooseBrushColour(colour);
                    if (l.Modes().View().settings.tool != 0) {
                        l.SelectTool(0);
                    }
                    l.ClickKeyPicture(control);
                    return kExitOk;
                }};
    }
    return Invalid();
}

int Lighting(Session& session, std::span<const std::string_view> args)
{
    const Action action = Parse(args);
    if (!action.valid) {
        return session.UsageError(kLighting, "lighting: unknown sub-command or bad arguments");
    }
    if (const int connected = session.ConnectKeyboard(); connected != kExitOk) {
        return connected;
    }
    CommandSet& commands = session.Commands();
    const int active = commands.GetActiveProfile();
    if (active < 0) {
        return session.Failure("reading the active profile", active);
    }
    LightingSession ls(session);
    ls.lighting.SetCurrentProfile(active);
    if (const int read = ls.lighting.LoadLighting(); read != 1) {
        return session.Failure("reading the lighting", read);
    }
    ls.lighting.RefreshLightingPanel();
    if (ls.lighting.Effects().Offers(kPerKeyEffect)) {
        // The keyboard already holds the current mode's colours: read them, send nothing.
        ls.modes.FillUserModeNames(active);
        ls.modes.ReadUserMode(active);
    }
    const int result = action.run(session, ls);
    if (result == kExitOk && args[0] != "show") {
        PrintState(session, ls);
    }
    return result;
}

} // namespace
} // namespace kovantis::cli
