#include "vkbd/options.h"

#include "vkbd/number_text.h"

#include <algorithm>
#include <iterator>

namespace kovantis::vkbd {
namespace {

constexpr uint32_t kMaxLatencyMs = 10'000;

std::optional<std::array<uint8_t, 32>> ParseEffectList(std::string_view text)
{
    std::array<uint8_t, 32> list{};
    size_t slot = 0;
    while (!text.empty()) {
        const auto comma = text.find(',');
        const auto item = text.substr(0, comma);
        const auto id = ParseNumber(item, 0xFF);
        if (!id || slot == list.size()) {
            return std::nullopt;
        }
        list[slot++] = static_cast<uint8_t>(*id);
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    }
    return list;
}

// Walks "--name value" pairs.
class ArgumentCursor {
public:
    explicit ArgumentCursor(std::span<const std::string_view> args) : args_(args) {}
    bool Done() const { return next_ >= args_.size(); }
    std::string_view Take() { return args_[next_++]; }
    bool TakeValue(std::string_view name, std::string_view& value, std::string& error)
    {
        if (Done()) {
            error = std::string(name) + " needs a value";
            return false;
        }
        value = Take();
        return true;
    }
    std::span<const std::string_view> Rest() const { return args_.subspan(next_); }

private:
    std::span<const std::string_view> args_;
    size_t next_ = 0;
};

bool ApplyUsbId(std::string_view text, std::string_view source, UsbId& id, std::string& error)
{
    const auto parsed = ParseUsbId(text);
    if (!parsed) {
        error = std::string(source) + ": expected vvvv:pppp in hex, got '" + std::string(text) + "'";
        return false;
    }
    id = *parsed;
    return true;
}

bool ApplyServerOption(std::string_view name, ArgumentCursor& cursor, ServerOptions& options,
                       std::string& error)
{
    if (name == "--unplugged") {
        options.startUnplugged = true;
        return true;
    }
    constexpr std::string_view kTakesValue[] = {"--socket",      "--control", "--state",
                                                "--usb-id",      "--macro-space",
                                                "--effects",     "--latency-ms"};
    if (std::ranges::find(kTakesValue, name) == std::end(kTakesValue)) {
        error = "unknown option " + std::string(name);
        return false;
    }
    std::string_view value;
    if (!cursor.TakeValue(name, value, error)) {
        return false;
    }
    if (name == "--socket") {
        options.socketPath = value;
    } else if (name == "--control") {
        options.controlPath = value;
    } else if (name == "--state") {
        options.statePath = value;
    } else if (name == "--usb-id") {
        return ApplyUsbId(value, name, options.usbId, error);
    } else if (name == "--macro-space") {
        const auto units = ParseNumber(value, 0xFF);
        if (!units) {
            error = "--macro-space: expected 0 to 255 units of 128 bytes";
            return false;
        }
        options.keyboard.macroSpaceUnits = static_cast<uint8_t>(*units);
    } else if (name == "--effects") {
        const auto list = ParseEffectList(value);
        if (!list) {
            error = "--effects: expected up to 32 effect numbers 0 to 255, separated by commas";
            return false;
        }
        options.keyboard.effects = *list;
        options.keyboard.useDefaultEffects = false;
    } else if (name == "--latency-ms") {
        const auto ms = ParseNumber(value, kMaxLatencyMs);
        if (!ms) {
            error = "--latency-ms: expected 0 to 10000";
            return false;
        }
        options.latency = std::chrono::milliseconds(*ms);
    }
    return true;
}

} // namespace

ParseOutcome ParseServerOptions(std::span<const std::string_view> args,
                                const EnvironmentLookup& environment, ServerOptions& options,
                                std::string& error)
{
    if (const char* id = environment(devlinx::kUsbIdVariable); id && *id) {
        if (!ApplyUsbId(id, devlinx::kUsbIdVariable, options.usbId, error)) {
            return ParseOutcome::kBadUsage;
        }
    }
    ArgumentCursor cursor(args);
    while (!cursor.Done()) {
        const auto name = cursor.Take();
        if (name == "--help" || name == "-h") {
            return ParseOutcome::kHelp;
        }
        if (!ApplyServerOption(name, cursor, options, error)) {
            return ParseOutcome::kBadUsage;
        }
    }
    if (options.socketPath.empty()) {
        options.socketPath = DefaultSocketPath(environment);
    }
    if (options.controlPath.empty()) {
        options.controlPath = ControlPathFor(options.socketPath);
    }
    return ParseOutcome::kRun;
}

ParseOutcome ParseClientOptions(std::span<const std::string_view> args,
                                const EnvironmentLookup& environment, ClientOptions& options,
                                std::string& error)
{
    ArgumentCursor cursor(args);
    std::string socketPath;
    while (!cursor.Done() && cursor.Rest().front().starts_with("--")) {
        const auto name = cursor.Take();
        std::string_view value;
        if (name == "--help") {
            return ParseOutcome::kHelp;
        }
        if ((name != "--control" && name != "--socket") || !cursor.TakeValue(name, value, error)) {
            if (error.empty()) {
                error = "unknown option " + std::string(name);
            }
            return ParseOutcome::kBadUsage;
        }
        (name == "--control" ? options.controlPath : socketPath) = value;
    }
    for (const auto word : cursor.Rest()) {
        options.command += (options.command.empty() ? "" : " ") + std::string(word);
    }
    if (options.command.empty()) {
        error = "ctl needs a control command";
        return ParseOutcome::kBadUsage;
    }
    if (options.controlPath.empty()) {
        options.controlPath =
            ControlPathFor(socketPath.empty() ? DefaultSocketPath(environment) : socketPath);
    }
    return ParseOutcome::kRun;
}

std::string_view HelpText()
{
    return R"(Usage: kovantis-vkbd [OPTION]...
       kovantis-vkbd ctl [--control PATH | --socket PATH] COMMAND [ARGUMENT]...

A virtual Kovantis keyboard for demos, tests and benchmarks. It serves the keyboard's firmware
(settings block, three lighting records, per-key colours, three keymaps, the factory keymap and
the macro area) over the device library's virtual link, a SOCK_SEQPACKET socket that the
library's "virtual" backend connects to (DEVLINX_BACKEND=virtual). One host at a time; a second
host waits until the first has left.

Options:
  --socket PATH        link socket (default $DEVLINX_VIRTUAL_SOCKET, else
                       $XDG_RUNTIME_DIR/kovantis-vkbd.sock, else /tmp/kovantis-vkbd-<uid>.sock)
  --control PATH       control socket (default: the link socket's path followed by ".ctl")
  --state FILE         keep the keyboard's memory in FILE: loaded at start when it exists,
                       replaced atomically after every change (at the end of a begin/end
                       transfer for bracketed writes) and at exit. Without it the memory
                       lasts as long as the process.
  --usb-id VVVV:PPPP   USB vendor and product id in hex (default 3a7c:09a1, or
                       $KOVANTIS_USB_ID)
  --macro-space UNITS  macro area size in units of 128 bytes, 0 to 255 (settings byte 11;
                       default 64)
  --effects ID,ID,...  the effect numbers the keyboard offers, in order, at most 32 (settings
                       bytes 12 to 43; default 1,2,...,18,20; an empty list offers none)
  --latency-ms N       time each report spends on the link, each way (default 0; 1 models a
                       1000 Hz USB link)
  --unplugged          start unplugged (no link socket until "plug")
  -h, --help           show this text
  --version            show the version

Control interface: a SOCK_STREAM socket taking one command per line and answering each with
one line, "ok ..." or "error ...". Numbers are decimal or 0x-prefixed hex; event codes are hex.
  plug                      appear on the link (create the link socket)
  unplug                    leave the link (drop the host, remove the link socket)
  event CODE                send consumer event CODE (hex, e.g. 02ff, 0401, 1811, 1810)
  bank                      press the bank key (event 02ff)
  lighting PROFILE OFFSET VALUE
                            change lighting record byte OFFSET (0-41) of PROFILE (0-2) as the
                            keyboard's own keys do, then send event 0401
  dump settings             the 44-byte settings block
  dump profiles             the three 42-byte lighting records
  dump colours N            the 512 per-key colour bytes of profile N
  dump keymap N             the 378-byte keymap of profile N
  dump factory              the 378-byte factory keymap
  dump macro OFFSET COUNT   COUNT bytes of the macro area from OFFSET
  dump status               the status bytes the host wrote last (the bank LEDs)
                            (dumps answer "ok" followed by hex bytes)
  info                      plugged, host connection, active profile, transfer, bad checksums,
                            latency, command reports received
  latency MS                set the link latency per report each way
  drop N                    do not send the next N replies
  delay MS [N]              send the next N replies (default 1) MS milliseconds late
  refuse ff|fe [N]          answer the next N commands (default 1) with status 0xFF or 0xFE
                            without carrying them out
  wrong-command [N]         answer the next N commands (default 1) with another command byte
  after N                   let the next N commands through before the faults above start
  reset                     back to the factory state (memory and faults)
  save                      write the state file now
  quit                      save and exit
  help                      list the commands

The boot-loader command (0xEE 0xEE) makes the keyboard leave the link as "unplug" does; "plug"
brings it back. SIGTERM and SIGINT save the state and exit.

ctl sends one command to a running kovantis-vkbd and prints its answer; exit status 0 for "ok",
1 for "error" or no connection, 2 for bad usage. Example:
  kovantis-vkbd ctl --control /run/user/1000/kovantis-vkbd.sock.ctl unplug
)";
}

} // namespace kovantis::vkbd
