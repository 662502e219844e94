// The device commands: status, set-profile, read-block.

#include <array>
#include <ostream>
#include <vector>

#include "cli/command_registry.h"
#include "cli/hex_dump.h"
#include "cli/session.h"

namespace kovantis::cli {
namespace {

int Status(Session& session, std::span<const std::string_view> args);
int SetProfile(Session& session, std::span<const std::string_view> args);
int ReadBlock(Session& session, std::span<const std::string_view> args);

const Command kStatus{"status", "",
                      "device presence, active profile, macro space in bytes, offered effects",
                      &Status};
const Command kSetProfile{"set-profile", "N", "make profile N (0 to 2) the active one",
                          &SetProfile};
const Command kReadBlock{"read-block", "settings|profile N|keymap N|factory|macro OFFSET COUNT",
                         "hex dump of a memory area of the keyboard", &ReadBlock};

const CommandRegistration registerStatus(kStatus);
const CommandRegistration registerSetProfile(kSetProfile);
const CommandRegistration registerReadBlock(kReadBlock);

int Status(Session& session, std::span<const std::string_view> args)
{
    if (!args.empty())
        return session.UsageError(kStatus, "status takes no arguments");
    if (session.ConnectKeyboard() != kExitOk) {
        // Only a link that works but finds no keyboard may say it is absent.
        if (session.KeyboardAbsent())
            session.Out() << "device: absent\n";
        return kExitFailed;
    }
    std::array<uint8_t, kSettingsBlockSize> settings{};
    const int read = session.Commands().ReadSettingsBlock(settings);
    if (read != 1)
        return session.Failure("reading the settings block", read);
    std::ostream& out = session.Out();
    out << "device: present\n"
        << "active-profile: " << int{settings[kSettingsActiveProfile]} << '\n'
        << "macro-space: " << settings[kSettingsMacroSpace] * kMacroSpaceUnit << '\n'
        << "effects: ";
    bool first = true;
    for (int i = kSettingsEffectList; i < kSettingsBlockSize; ++i) {
        if (settings[i] == 0)
            continue;
        out << (first ? "" : ",") << int{settings[i]};
        first = false;
    }
    out << '\n';
    return kExitOk;
}

int SetProfile(Session& session, std::span<const std::string_view> args)
{
    const auto profile = args.size() == 1 ? ParseNumber(args[0], 0, kProfileCount - 1)
                                          : std::nullopt;
    if (!profile)
        return session.UsageError(kSetProfile, "set-profile takes one profile number, 0 to 2");
    if (const int connected = session.ConnectKeyboard(); connected != kExitOk)
        return connected;
    const int result = session.Commands().SetActiveProfile(static_cast<int>(*profile));
    if (result != 1)
        return session.Failure("setting the active profile", result);
    session.Out() << "active-profile: " << *profile << '\n';
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
        read.result = commands.ReadProfileRecord(record, kReportDataSize,
                                                 profile * kProfileRecordSize);
    const int ended = commands.EndTransfer();
    if (read.result == 1)
        read.result = ended;
    read.bytes.assign(record.begin(), record.begin() + kProfileRecordSize);
    return read;
}

int ReadBlock(Session& session, std::span<const std::string_view> args)
{
    const std::string_view area = args.empty() ? std::string_view{} : args[0];
    long number = 0, offset = 0, count = 0;
    bool valid = false;
    if ((area == "settings" || area == "factory") && args.size() == 1) {
        valid = true;
    } else if ((area == "profile" || area == "keymap") && args.size() == 2) {
        const auto n = ParseNumber(args[1], 0, kProfileCount - 1);
        valid = n.has_value();
        number = n.value_or(0);
    } else if (area == "macro" && args.size() == 3) {
        const auto o = ParseNumber(args[1], 0, 0xFFFF);
        const auto c = ParseNumber(args[2], 1, 0x10000);
        valid = o && c && *o + *c <= 0x10000;
        offset = o.value_or(0);
        count = c.value_or(0);
    }
    if (!valid)
        return session.UsageError(kReadBlock, "read-block: unknown area or bad numbers");
    if (const int connected = session.ConnectKeyboard(); connected != kExitOk)
        return connected;

    CommandSet& commands = session.Commands();
    BlockRead read;
    if (area == "settings") {
        read = {std::vector<uint8_t>(kSettingsBlockSize), 0, 0, "reading the settings block"};
        read.result = commands.ReadSettingsBlock(std::span<uint8_t, kSettingsBlockSize>(read.bytes));
    } else if (area == "profile") {
        read = ReadProfileRecordBlock(commands, static_cast<int>(number));
    } else if (area == "keymap" || area == "factory") {
        read = {std::vector<uint8_t>(kKeymapSize), 0, 0, "reading the keymap"};
        const std::span<uint8_t, kKeymapSize> out(read.bytes);
        read.result = area == "factory" ? commands.ReadDefaultKeymap(out)
                                        : commands.ReadKeymapBlock(out, static_cast<int>(number));
    } else {
        // The macro area is read from its start; the dump shows the part asked for.
        read = {std::vector<uint8_t>(static_cast<size_t>(offset + count)),
                static_cast<size_t>(offset), 0, "reading the macro area"};
        read.result = commands.ReadMacroArea(read.bytes);
        read.bytes.erase(read.bytes.begin(), read.bytes.begin() + offset);
    }
    if (read.result != 1)
        return session.Failure(read.what, read.result);
    session.Out() << HexDump(read.bytes, read.firstOffset);
    return kExitOk;
}

} // namespace
} // namespace kovantis::cli
