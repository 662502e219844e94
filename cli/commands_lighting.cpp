// The lighting commands. Each does what the matching control of the lighting panel does to the
// active profile, with exactly the same writes to the keyboard.

#include <array>
#include <cstdio>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "cli/command_registry.h"
#include "cli/json_writer.h"
#include "cli/key_lookup.h"
#include "cli/outcome.h"
#include "cli/people_units.h"
#include "cli/session.h"
#include "keyboard/key_table.h"
#include "keyboard/physical_layout.h"
#include "lighting/effect_catalog.h"
#include "lighting/lighting_controller.h"
#include "platform/ini_file.h"
#include "platform/paths.h"

namespace kovantis::cli {
namespace {

int Lighting(Session& session, const Arguments& args);

const Command kLighting{
    "lighting",
    "show | effect ID | brightness 0-4 | speed 0-3 | direction WAY | colour R,G,B | multicolour on|off | "
    "report-rate HZ | restore | paint KEY R,G,B | mode 0-9",
    "the active profile's lighting and report rate, as the desktop program's lighting panel edits them",
    "Sub-commands (each but show writes to the keyboard at once and then prints the state):\n"
    "  show                  the lighting of the active profile and the effects offered\n"
    "  effect ID             select effect ID (a number that show lists)\n"
    "  brightness 0-4        0 is off, 4 brightest\n"
    "  speed 0-3             the slider's position, 3 fastest\n"
    "  direction WAY         left|right, up|down or spread|converge, as the effect moves\n"
    "  colour R,G,B          the effect's colour, three numbers 0 to 255\n"
    "  multicolour on|off    many colours instead of one\n"
    "  report-rate HZ        125, 250, 500 or 1000 Hz\n"
    "  restore               the keyboard's default lighting for this profile\n"
    "  paint KEY R,G,B       give one key a colour (effect 20; 'kovantis-cli keys' lists the names)\n"
    "  mode 0-9              choose one of the ten user modes of per-key colours (effect 20)\n"
    "\n"
    "With --json, show writes {\"profile\", \"effect\": {\"id\", \"name\"}, \"brightness\", \"speed\",\n"
    "\"speed_keyboard_value\", \"direction\", \"multicolour\", \"colour\": [R, G, B], \"colour_choice\",\n"
    "\"report_rate_hz\", \"user_mode\"?: {\"number\", \"name\"}, \"block\", \"offered_effects\": [{\"id\",\n"
    "\"name\"}]}.\n"
    "\n"
    "Examples:\n"
    "  kovantis-cli lighting effect 20\n"
    "  kovantis-cli lighting paint \"Page Up\" 255,128,0\n"
    "  kovantis-cli lighting report-rate 1000\n",
    &Lighting, true};

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

void PrintState(Session& session, const LightingSession& ls)
{
    const LightingController& l = ls.lighting;
    const LightingState& s = l.State();
    std::ostream& out = session.Out();
    out << "profile: " << ProfileNumberOf(s.profile) << '\n'
        << "effect: " << s.effectId << " (" << ls.EffectName(s.effectId) << ")\n"
        << "brightness: " << s.brightness << '\n'
        << "speed: " << kMaxSpeed - s.speed << " (keyboard value " << s.speed << ")\n"
        << "direction: " << DirectionName(s.effectId, s.direction == kDirectionFirst) << '\n'
        << "multicolour: " << (s.multicolour ? "on" : "off") << '\n'
        << "colour: " << Utf16ToUtf8(FormatRgb(s.effectColour)) << '\n'
        << "colour-choice: " << s.colourChoice << '\n'
        << "report-rate: " << ReportRateHzOf(s.reportRate) << " Hz\n";
    if (l.Effects().Offers(kPerKeyEffect)) {
        const UserModeView& modes = l.Modes().View();
        out << "user-mode: " << modes.mode << " (" << Utf16ToUtf8(modes.names[static_cast<size_t>(modes.mode)])
            << ")\n";
    }
}

void WriteShowJson(Session& session, const LightingSession& ls)
{
    const LightingController& l = ls.lighting;
    const LightingState& s = l.State();
    JsonWriter json(session.Out());
    json.BeginObject()
        .Field("profile", ProfileNumberOf(s.profile))
        .Key("effect")
        .BeginObject()
        .Field("id", s.effectId)
        .Field("name", ls.EffectName(s.effectId))
        .EndObject()
        .Field("brightness", s.brightness)
        .Field("speed", kMaxSpeed - s.speed)
        .Field("speed_keyboard_value", s.speed)
        .Field("direction", DirectionName(s.effectId, s.direction == kDirectionFirst))
        .Field("multicolour", s.multicolour)
        .Key("colour")
        .BeginArray()
        .Number(s.effectColour.r)
        .Number(s.effectColour.g)
        .Number(s.effectColour.b)
        .EndArray()
        .Field("colour_choice", s.colourChoice)
        .Field("report_rate_hz", ReportRateHzOf(s.reportRate));
    if (l.Effects().Offers(kPerKeyEffect)) {
        const UserModeView& modes = l.Modes().View();
        json.Key("user_mode")
            .BeginObject()
            .Field("number", modes.mode)
            .Field("name", Utf16ToUtf8(modes.names[static_cast<size_t>(modes.mode)]))
            .EndObject();
    }
    json.Field("block", Hex(l.Block(s.profile).bytes)).Key("offered_effects").BeginArray();
    const EffectTable& table = l.Table();
    for (int j = 0; j < table.size(); ++j) {
        json.BeginObject().Field("id", table.IdAt(j)).Field("name", ls.EffectName(table.IdAt(j))).EndObject();
    }
    json.EndArray().EndObject();
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
    std::function<int(Session&, LightingSession&)> run;  // empty when the arguments are wrong
    std::string error;
};

Action Invalid(std::string error)
{
    return {{}, std::move(error)};
}

Action Parse(const std::vector<std::string_view>& args)
{
    if (args.empty()) {
        return Invalid("lighting needs a sub-command");
    }
    const std::string_view verb = args[0];
    const bool one = args.size() == 2;
    const auto number = [&](long low, long high) { return one ? ParseDecimal(args[1], low, high) : std::nullopt; };
    const auto needs = [&verb](std::string_view what) {
        return Invalid("lighting " + std::string(verb) + " takes " + std::string(what));
    };

    if (verb == "show") {
        if (args.size() != 1) {
            return needs("no arguments");
        }
        return {[](Session& s, LightingSession& ls) {
                    PrintShow(s, ls);
                    return kExitOk;
                }, {}};
    }
    if (verb == "restore") {
        if (args.size() != 1) {
            return needs("no arguments");
        }
        return {[](Session&, LightingSession& ls) {
                    ls.lighting.RestoreLightingDefaults();
                    return kExitOk;
                }, {}};
    }
    if (verb == "effect") {
        const auto id = number(1, 255);
        if (!id) {
            return needs("one effect number ('kovantis-cli lighting show' lists those offered)");
        }
        return {[id = static_cast<int>(*id)](Session& s, LightingSession& ls) {
                    const int index = ls.lighting.Table().IndexOf(id);
                    if (index < 0) {
                        s.Err() << "kovantis-cli: the keyboard does not offer effect " << id
                                << " ('kovantis-cli lighting show' lists those it does)\n";
                        return kExitFailed;
                    }
                    ls.lighting.SelectEffect(index);
                    return kExitOk;
                }, {}};
    }
    if (verb == "brightness") {
        const auto p = number(0, kMaxBrightness);
        if (!p) {
            return needs("one number from 0 (off) to " + std::to_string(kMaxBrightness) + " (brightest)");
        }
        return {[p = static_cast<int>(*p)](Session&, LightingSession& ls) {
                    ls.lighting.MoveBrightnessSlider(p);
                    return kExitOk;
                }, {}};
    }
    if (verb == "speed") {
        const auto p = number(0, kMaxSpeed);
        if (!p) {
            return needs("one number from 0 (slowest) to " + std::to_string(kMaxSpeed) + " (fastest)");
        }
        return {[p = static_cast<int>(*p)](Session&, LightingSession& ls) {
                    ls.lighting.MoveSpeedSlider(p);
                    return kExitOk;
                }, {}};
    }
    if (verb == "report-rate") {
        const auto choice = one ? ParseReportRate(args[1]) : std::nullopt;
        if (!choice) {
            return needs("a rate in Hz: 125, 250, 500 or 1000");
        }
        return {[choice = *choice](Session&, LightingSession& ls) {
                    ls.lighting.PressReportRate(choice);
                    return kExitOk;
                }, {}};
    }
    if (verb == "direction") {
        const auto first = one ? ParseDirection(args[1]) : std::nullopt;
        if (!first) {
            return needs("left, right, up, down, spread or converge");
        }
        return {[first = *first](Session&, LightingSession& ls) {
                    ls.lighting.PressDirectionPicture(first);
                    return kExitOk;
                }, {}};
    }
    if (verb == "colour" || verb == "color") {
        const auto colour = one ? ParseRgb(args[1]) : std::nullopt;
        if (!colour) {
            return needs("a colour R,G,B of three numbers 0 to 255, such as 255,128,0");
        }
        return {[colour = *colour](Session&, LightingSession& ls) {
                    ls.lighting.ChooseEffectColour(colour);
                    return kExitOk;
                }, {}};
    }
    if (verb == "multicolour" || verb == "multicolor") {
        const auto on = one ? ParseOnOff(args[1]) : std::nullopt;
        if (!on) {
            return needs("on or off");
        }
        return {[on = *on](Session&, LightingSession& ls) {
                    // The panel's picture toggles; a state it already has needs no write.
                    if (ls.lighting.State().multicolour != on) {
                        ls.lighting.ToggleMulticolour();
                    }
                    return kExitOk;
                }, {}};
    }
    if (verb == "mode") {
        const auto mode = number(0, kUserModeCount - 1);
        if (!mode) {
            return needs("one user mode number, 0 to " + std::to_string(kUserModeCount - 1));
        }
        return {[mode = static_cast<int>(*mode)](Session& s, LightingSession& ls) {
                    if (ls.lighting.State().effectId != kPerKeyEffect) {
                        s.Err() << "kovantis-cli: user modes belong to effect 20; the profile shows effect "
                                << ls.lighting.State().effectId << " (kovantis-cli lighting effect 20)\n";
                        return kExitFailed;
                    }
                    ls.lighting.SelectUserMode(mode);
                    return kExitOk;
                }, {}};
    }
    if (verb == "paint") {
        if (args.size() != 3) {
            return needs("a key name and a colour R,G,B");
        }
        const auto key = FindKey(args[1]);
        if (!key) {
            return Invalid("no key is named '" + std::string(args[1]) + "' ('kovantis-cli keys' lists the names)");
        }
        const auto colour = ParseRgb(args[2]);
        if (!colour) {
            return needs("a colour R,G,B of three numbers 0 to 255 after the key");
        }
        return {[control = key->controlId, colour = *colour](Session& s, LightingSession& ls) {
                    LightingController& l = ls.lighting;
                    if (l.State().effectId != kPerKeyEffect) {
                        s.Err() << "kovantis-cli: keys are painted in effect 20; the profile shows effect "
                                << l.State().effectId << " (kovantis-cli lighting effect 20)\n";
                        return kExitFailed;
                    }
                    // The brush tool with the colour given, then the click on the key picture.
                    l.ChooseBrushColour(colour);
                    if (l.Modes().View().settings.tool != 0) {
                        l.SelectTool(0);
                    }
                    l.ClickKeyPicture(control);
                    return kExitOk;
                }, {}};
    }
    return Invalid("unknown lighting sub-command '" + std::string(verb) + "'");
}

int Lighting(Session& session, const Arguments& args)
{
    const Action action = Parse(args.operands);
    if (!action.run) {
        return session.UsageError(kLighting, action.error);
    }
    if (args.json && args.operands[0] != "show") {
        return session.UsageError(kLighting, "--json goes with lighting show");
    }
    if (const int connected = Connect(session); connected != kExitOk) {
        return connected;
    }
    CommandSet& commands = session.Commands();
    const int active = commands.GetActiveProfile();
    if (active < 0) {
        return KeyboardFailed(session, "reading the active profile", active);
    }
    LightingSession ls(session);
    ls.lighting.SetCurrentProfile(active);
    if (const int read = ls.lighting.LoadLighting(); read != 1) {
        return KeyboardFailed(session, "reading the lighting", read);
    }
    ls.lighting.RefreshLightingPanel();
    if (ls.lighting.Effects().Offers(kPerKeyEffect)) {
        // The keyboard already holds the current mode's colours: read them, send nothing.
        ls.modes.FillUserModeNames(active);
        ls.modes.ReadUserMode(active);
    }
    if (args.json) {
        WriteShowJson(session, ls);
        return kExitOk;
    }
    commands.TakeLastFailure();  // the reads above succeeded; what follows are the writes
    const int result = action.run(session, ls);
    if (result == kExitOk && args.operands[0] != "show") {
        // The lighting controller, like the panel it serves, goes on whatever the keyboard
        // answers; a command that exits 0 must have been taken by the keyboard.
        if (const int failed = commands.TakeLastFailure(); failed != 1) {
            return KeyboardFailed(session, "writing the lighting", failed);
        }
        PrintState(session, ls);
    }
    return result;
}

} // namespace
} // namespace kovantis::cli
