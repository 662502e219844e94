#include "vkbd/control_handler.h"

#include "vkbd/number_text.h"

#include <chrono>

namespace kovantis::vkbd {
namespace {

constexpr uint32_t kMaxRepeat = 1'000'000;
constexpr uint32_t kMaxDelayMs = 600'000;
constexpr uint32_t kMaxLatencyMs = 10'000;
constexpr uint16_t kEventBank = 0x02FF;
constexpr uint16_t kEventLightingChanged = 0x0401;

std::vector<std::string_view> SplitWords(std::string_view line)
{
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        const size_t start = line.find_first_not_of(" \t\r", i);
        if (start == std::string_view::npos) {
            break;
        }
        const size_t end = std::min(line.find_first_of(" \t\r", start), line.size());
        words.push_back(line.substr(start, end - start));
        i = end;
    }
    return words;
}

std::string Usage(std::string_view syntax) { return "error usage: " + std::string(syntax); }

std::string Hex4(uint16_t code)
{
    const uint8_t bytes[] = {static_cast<uint8_t>(code >> 8), static_cast<uint8_t>(code)};
    const auto text = HexBytes(bytes);
    return text.substr(0, 2) + text.substr(3, 2);
}

std::string Dumped(std::span<const uint8_t> bytes)
{
    return bytes.empty() ? "ok" : "ok " + HexBytes(bytes);
}

// The optional repeat count N that several fault commands take, 1 when absent.
std::optional<int> RepeatCount(const std::vector<std::string_view>& words, size_t index)
{
    if (words.size() <= index) {
        return 1;
    }
    const auto n = ParseNumber(words[index], kMaxRepeat);
    return n ? std::optional<int>(static_cast<int>(*n)) : std::nullopt;
}

std::optional<int> ProfileNumber(std::string_view text)
{
    const auto n = ParseNumber(text, kProfileCount - 1);
    return n ? std::optional<int>(static_cast<int>(*n)) : std::nullopt;
}

} // namespace

const ControlHandler::Verb ControlHandler::kVerbs[] = {
    {"plug", &ControlHandler::Plug},
    {"unplug", &ControlHandler::Unplug},
    {"event", &ControlHandler::Event},
    {"bank", &ControlHandler::Bank},
    {"lighting", &ControlHandler::Lighting},
    {"dump", &ControlHandler::Dump},
    {"info", &ControlHandler::Info},
    {"latency", &ControlHandler::Latency},
    {"drop", &ControlHandler::Drop},
    {"delay", &ControlHandler::Delay},
    {"refuse", &ControlHandler::Refuse},
    {"wrong-command", &ControlHandler::WrongCommand},
    {"after", &ControlHandler::After},
    {"reset", &ControlHandler::Reset},
    {"save", &ControlHandler::Save},
    {"quit", &ControlHandler::Quit},
    {"help", &ControlHandler::Help},
};

std::string ControlHandler::Execute(std::string_view line)
{
    const auto words = SplitWords(line);
    if (words.empty()) {
        return "error empty command (try help)";
    }
    for (const auto& verb : kVerbs) {
        if (verb.name == words[0]) {
            return (this->*verb.run)(words);
        }
    }
    return "error unknown command '" + std::string(words[0]) + "' (try help)";
}

std::string ControlHandler::Plug(const Words& words)
{
    if (words.size() != 1) {
        return Usage("plug");
    }
    std::string error;
    return link_.Plug(error) ? "ok plugged" : "error " + error;
}

std::string ControlHandler::Unplug(const Words& words)
{
    if (words.size() != 1) {
        return Usage("unplug");
    }
    link_.Unplug();
    return "ok unplugged";
}

std::string ControlHandler::SendEvent(uint16_t code)
{
    return link_.SendEvent(code) ? "ok event " + Hex4(code) : "error no host is connected";
}

std::string ControlHandler::Event(const Words& words)
{
    const auto code = words.size() == 2 ? ParseHex(words[1], 0xFFFF) : std::nullopt;
    if (!code) {
        return Usage("event CODE (hex, 0 to ffff)");
    }
    return SendEvent(static_cast<uint16_t>(*code));
}

std::string ControlHandler::Bank(const Words& words)
{
    if (words.size() != 1) {
        return Usage("bank");
    }
    return SendEvent(kEventBank);
}

std::string ControlHandler::Lighting(const Words& words)
{
    const auto profile = words.size() == 4 ? ProfileNumber(words[1]) : std::nullopt;
    const auto offset =
        words.size() == 4 ? ParseNumber(words[2], kProfileRecordSize - 1) : std::nullopt;
    const auto value = words.size() == 4 ? ParseNumber(words[3], 0xFF) : std::nullopt;
    if (!profile || !offset || !value) {
        return Usage("lighting PROFILE(0-2) OFFSET(0-41) VALUE(0-255)");
    }
    model_.SetLightingField(*profile, static_cast<int>(*offset), static_cast<uint8_t>(*value));
    return link_.SendEvent(kEventLightingChanged) ? "ok lighting changed, event 0401 sent"
                                                  : "ok lighting changed, no host to tell";
}

std::string ControlHandler::Dump(const Words& words)
{
    constexpr std::string_view kSyntax =
        "dump settings|profiles|colours N|keymap N|factory|macro OFFSET COUNT|status";
    const std::string_view area = words.size() >= 2 ? words[1] : "";
    if (words.size() == 2) {
        if (area == "settings") return Dumped(model_.Settings());
        if (area == "profiles") return Dumped(model_.ProfileRecords());
        if (area == "factory") return Dumped(model_.FactoryKeymap());
        if (area == "status") return Dumped(link_.StatusBytes());
    }
    if (words.size() == 3 && (area == "colours" || area == "keymap")) {
        const auto profile = ProfileNumber(words[2]);
        if (!profile) {
            return Usage(kSyntax);
        }
        return Dumped(area == "colours" ? model_.KeyColours(*profile) : model_.Keymap(*profile));
    }
    if (words.size() == 4 && area == "macro") {
        const auto macro = model_.MacroArea();
        const auto offset = ParseNumber(words[2], 0xFFFF);
        const auto count = ParseNumber(words[3], 0xFFFF);
        if (!offset || !count || *offset + *count > macro.size()) {
            return "error the macro area holds " + std::to_string(macro.size()) + " bytes";
        }
        return Dumped(macro.subspan(*offset, *count));
    }
    return Usage(kSyntax);
}

std::string ControlHandler::Info(const Words& words)
{
    if (words.size() != 1) {
        return Usage("info");
    }
    const auto yesNo = [](bool b) { return b ? "yes" : "no"; };
    const auto latencyUs = latency_.Get().count();
    return std::string("ok plugged=") + yesNo(link_.Plugged()) +
           " host=" + yesNo(link_.HostConnected()) +
           " active-profile=" + std::to_string(model_.ActiveProfile()) +
           " in-transfer=" + yesNo(model_.InTransfer()) +
           " bad-checksums=" + std::to_string(model_.BadChecksums()) +
           " commands=" + std::to_string(model_.CommandsReceived()) +
           " latency-ms=" + std::to_string(latencyUs / 1000);
}

std::string ControlHandler::Latency(const Words& words)
{
    const auto ms = words.size() == 2 ? ParseNumber(words[1], kMaxLatencyMs) : std::nullopt;
    if (!ms) {
        return Usage("latency MS (0 to 10000)");
    }
    latency_.Set(std::chrono::milliseconds(*ms));
    return "ok latency " + std::to_string(*ms) + " ms";
}

std::string ControlHandler::Drop(const Words& words)
{
    const auto n = words.size() == 2 ? RepeatCount(words, 1) : std::nullopt;
    if (!n) {
        return Usage("drop N");
    }
    faults_.DropNext(*n);
    return "ok dropping the next " + std::to_string(*n) + " replies";
}

std::string ControlHandler::Delay(const Words& words)
{
    const auto ms = words.size() >= 2 && words.size() <= 3 ? ParseNumber(words[1], kMaxDelayMs)
                                                          : std::nullopt;
    const auto n = ms ? RepeatCount(words, 2) : std::nullopt;
    if (!n) {
        return Usage("delay MS [N]");
    }
    faults_.DelayNext(std::chrono::milliseconds(*ms), *n);
    return "ok delaying the next " + std::to_string(*n) + " replies by " + std::to_string(*ms) +
           " ms";
}

std::string ControlHandler::Refuse(const Words& words)
{
    const std::string_view kind = words.size() >= 2 ? words[1] : "";
    const bool known = kind == "ff" || kind == "fe" || kind == "0xff" || kind == "0xfe";
    const auto n = known && words.size() <= 3 ? RepeatCount(words, 2) : std::nullopt;
    if (!n) {
        return Usage("refuse ff|fe [N]");
    }
    const uint8_t status = kind.ends_with("ff") ? 0xFF : 0xFE;
    faults_.RefuseNext(status, *n);
    return "ok refusing the next " + std::to_string(*n) + " commands with " +
           std::string(kind.substr(kind.size() - 2));
}

std::string ControlHandler::WrongCommand(const Words& words)
{
    const auto n = words.size() <= 2 ? RepeatCount(words, 1) : std::nullopt;
    if (!n) {
        return Usage("wrong-command [N]");
    }
    faults_.WrongCommandNext(*n);
    return "ok answering the next " + std::to_string(*n) + " commands with another command byte";
}

std::string ControlHandler::After(const Words& words)
{
    const auto n = words.size() == 2 ? RepeatCount(words, 1) : std::nullopt;
    if (!n) {
        return Usage("after N");
    }
    faults_.AfterNext(*n);
    return "ok the faults start after the next " + std::to_string(*n) + " commands";
}

std::string ControlHandler::Reset(const Words& words)
{
    if (words.size() != 1) {
        return Usage("reset");
    }
    model_.Reset();
    faults_.Clear();
    return "ok reset to the factory state";
}

std::string ControlHandler::Save(const Words& words)
{
    if (words.size() != 1) {
        return Usage("save");
    }
    std::string error;
    return link_.SaveState(error) ? "ok saved" : "error " + error;
}

std::string ControlHandler::Quit(const Words& words)
{
    if (words.size() != 1) {
        return Usage("quit");
    }
    link_.Quit();
    return "ok quitting";
}

std::string ControlHandler::Help(const Words&)
{
    std::string text = "ok commands:";
    for (const auto& verb : kVerbs) {
        text += ' ';
        text += verb.name;
    }
    return text + " (kovantis-vkbd --help explains them)";
}

} // namespace kovantis::vkbd
