// The device commands: status, set-profile, read-block, keys.

#include <algorithm>
#include <array>
#include <cstdio>
#include <ostream>
#include <vector>

#include "cli/command_registry.h"
#include "cli/hex_dump.h"
#include "cli/json_writer.h"
#include "cli/key_lookup.h"
#include "cli/outcome.h"
#include "cli/people_units.h"
#include "cli/session.h"

namespace kovantis::cli {
namespace {

int Status(Session& session, const Arguments& args);
int SetProfile(Session& session, const Arguments& args);
int ReadBlock(Session& session, const Arguments& args);
int Keys(Session& session, const Arguments& args);

const Command kStatus{
    "status", "", "whether the keyboard is there, its active profile, macro space and effects",
    "Prints, one per line:\n"
    "  device: present | absent\n"
    "  active-profile: 1 to 3\n"
    "  macro-space: bytes of macro memory\n"
    "  effects: the lighting effect numbers the keyboard offers, comma-separated\n"
    "Exit status 1 when no keyboard is found (\"device: absent\" is printed).\n"
    "\n"
    "With --json: {\"device\": \"present\", \"active_profile\": 1, \"macro_space_bytes\": 8192,\n"
    "\"effects\": [1, 2, 3]}; without a keyboard {\"device\": \"absent\"}.\n"
    "\n"
    "Example:\n"
    "  kovantis-cli status\n",
    &Status, true};
const Command kSetProfile{"set-profile", "N", "make profile N (1 to 3) the keyboard's active profile",
                          "Example:\n"
                          "  kovantis-cli set-profile 2\n",
                          &SetProfile};
const Command kReadBlock{
    "read-block", "settings | profile N | keymap N | factory | macro OFFSET COUNT",
    "hex dump of a memory area of the keyboard",
    "Areas:\n"
    "  settings             the 44-byte settings block\n"
    "  profile N            the lighting record of profile N (1 to 3)\n"
    "  keymap N             the 378-byte keymap of profile N (1 to 3)\n"
    "  factory              the factory keymap\n"
    "  macro OFFSET COUNT   COUNT bytes of the macro area from OFFSET (decimal or 0x hex)\n"
    "\n"
    "Example:\n"
    "  kovantis-cli read-block keymap 1\n",
    &ReadBlock};
const Command kKeys{"keys", "", "list the key names that commands taking a KEY accept",
                    "One key a line: its name, its key code (hex) and its place in the per-key\n"
                    "colours (0 to 125). Names are accepted in any letter case and with or without\n"
                    "their spaces (\"Page Up\", \"pageup\"). The keyboard is not needed.\n"
                    "\n"
                    "With --json: {\"keys\": [{\"name\": \"Esc\", \"code\": 1, \"matrix_index\": 0}, ...]}.\n",
                    &Keys, true};

const CommandRegistration registerStatus(kStatus);
const CommandRegistration registerSetProfile(kSetProfile);
const CommandRegistration registerReadBlock(kReadBlock);
const CommandRegistration registerKeys(kKeys);

int UsageError(Session& session, const Command& command, std::string_view message)
{
    return session.UsageError(command, message);
}

int Status(Session& session, const Arguments& args)
{
    if (!args.operands.empty())
        return UsageError(session, kStatus, "status takes no arguments");
    if (Connect(session) != kExitOk) {
        // Only a link that works but finds no keyboard may say it is absent.
        if (session.KeyboardAbsent()) {
            if (args.json)
                JsonWriter(session.Out()).BeginObject().Field("device", "absent").EndObject();
            else
                session.Out() << "device: absent\n";
        }
        return kExitFailed;
    }
    std::array<uint8_t, kSettingsBlockSize> settings{};
    const int read = session.Commands().ReadSettingsBlock(settings);
    if (read != 1)
        return KeyboardFailed(session, "reading the settings block", read);
    const int profile = ProfileNumberOf(settings[kSettingsActiveProfile]);
    const int macroSpace = settings[kSettingsMacroSpace] * kMacroSpaceUnit;
    std::vector<int> effects;
    for (int i = kSettingsEffectList; i < kSettingsBlockSize; ++i) {
        if (settings[static_cast<size_t>(i)] != 0)
            effects.push_back(settings[static_cast<size_t>(i)]);
    }
    std::ostream& out = session.Out();
    if (args.json) {
        JsonWriter json(out);
        json.BeginObject()
            .Field("device", "present")
            .Field("active_profile", profile)
            .Field("macro_space_bytes", macroSpace)
            .Key("effects")
            .BeginArray();
        for (int id : effects)
            json.Number(id);
        json.EndArray().EndObject();
        return kExitOk;
    }
    out << "device: present\n"
        << "active-profile: " << profile << '\n'
        << "macro-space: " << macroSpace << '\n'
        << "effects: ";
    for (size_t i = 0; i < effects.size(); ++i)
        out << (i == 0 ? "" : ",") << effects[i];
    out << '\n';
    return kExitOk;
}

int SetProfile(Session& session, const Arguments& args)
{
    const auto profile = args.operands.size() == 1 ? ParseProfileNumber(args.operands[0]) : std::nullopt;
    if (!profile)
        return UsageError(session, kSetProfile, "set-profile takes one profile number, 1 to 3");
    if (const int connected = Connect(session); connected != kExitOk)
        return connected;
    const int result = session.Commands().SetActiveProfile(*profile);
    if (result != 1)
        return KeyboardFailed(session, "setting the active profile", result);
    session.Out() << "active-profile: " << ProfileNumberOf(*profile) << '\n';
    return kExitOk;
}

// One area as read, with the result and what to call it when it failed.
struct BlockRead {
    std::vector<uint8_t> bytes;
    size_t firstOffset = 0;
    int result = 1;
    const char* what = "";
};

BlockRead ReadProfileRecordBlock(CommandSet& commands, int profile)
{
    BlockRead read{{}, 0, 1, "reading the profile record"};
    // The keyboard hands out profile records inside a transfer bracket.
    read.result = commands.BeginTransfer();
    std::array<uint8_t, kReportDataSize> record{};
    if (read.result == 1)
        read.result = commands.ReadProfileRecord(record, kReportDataSize, profile * kProfileRecordSize);
    const int ended = commands.EndTransfer();
    if (read.result == 1)
        read.result = ended;
    read.bytes.assign(record.begin(), record.begin() + kProfileRecordSize);
    return read;
}

int ReadBlock(Session& session, const Arguments& args)
{
    const std::vector<std::string_view>& words = args.operands;
    const std::string_view area = words.empty() ? std::string_view{} : words[0];
    long offset = 0, count = 0;
    int profile = 0;
    bool valid = false;
    if ((area == "settings" || area == "factory") && words.size() == 1) {
        valid = true;
    } else if ((area == "profile" || area == "keymap") && words.size() == 2) {
        const auto n = ParseProfileNumber(words[1]);
        valid = n.has_value();
        profile = n.value_or(0);
    } else if (area == "macro" && words.size() == 3) {
        const auto o = ParseNumber(words[1], 0, 0xFFFF);
        const auto c = ParseNumber(words[2], 1, 0x10000);
        valid = o && c && *o + *c <= 0x10000;
        offset = o.value_or(0);
        count = c.value_or(0);
    }
    if (!valid) {
        return UsageError(session, kReadBlock,
                          "read-block takes settings, profile 1-3, keymap 1-3, factory or macro OFFSET COUNT "
                          "(OFFSET + COUNT at most 65536)");
    }
    if (const int connected = Connect(session); connected != kExitOk)
        return connected;

    CommandSet& commands = session.Commands();
    BlockRead read;
    if (area == "settings") {
        read = {std::vector<uint8_t>(kSettingsBlockSize), 0, 0, "reading the settings block"};
        read.result = commands.ReadSettingsBlock(std::span<uint8_t, kSettingsBlockSize>(read.bytes));
    } else if (area == "profile") {
        read = ReadProfileRecordBlock(commands, profile);
    } else if (area == "keymap" || area == "factory") {
        read = {std::vector<uint8_t>(kKeymapSize), 0, 0, "reading the keymap"};
        const std::span<uint8_t, kKeymapSize> out(read.bytes);
        read.result = area == "factory" ? commands.ReadDefaultKeymap(out) : commands.ReadKeymapBlock(out, profile);
    } else {
        // The macro area is read from its start; the dump shows the part asked for.
        read = {std::vector<uint8_t>(static_cast<size_t>(offset + count)), static_cast<size_t>(offset), 0,
                "reading the macro area"};
        read.result = commands.ReadMacroArea(read.bytes);
        read.bytes.erase(read.bytes.begin(), read.bytes.begin() + offset);
    }
    if (read.result != 1)
        return KeyboardFailed(session, read.what, read.result);
    session.Out() << HexDump(read.bytes, read.firstOffset);
    return kExitOk;
}

int Keys(Session& session, const Arguments& args)
{
    if (!args.operands.empty())
        return UsageError(session, kKeys, "keys takes no arguments");
    std::ostream& out = session.Out();
    if (args.json) {
        JsonWriter json(out);
        json.BeginObject().Key("keys").BeginArray();
        for (const ListedKey& key : ListedKeys()) {
            json.BeginObject()
                .Field("name", key.name)
                .Field("code", key.code)
                .Field("matrix_index", key.matrixIndex)
                .EndObject();
        }
        json.EndArray().EndObject();
        return kExitOk;
    }
    char code[8];
    for (const ListedKey& key : ListedKeys()) {
        std::snprintf(code, sizeof code, "0x%03X", key.code);
        std::string name = key.name;
        name.resize(std::max<size_t>(name.size(), 14), ' ');
        out << name << ' ' << code << ' ' << key.matrixIndex << '\n';
    }
    return kExitOk;
}

} // namespace
} // namespace kovantis::cli
