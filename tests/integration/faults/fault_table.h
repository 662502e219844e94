#pragma once
// The faults a keyboard can show in the middle of an operation, armed on kovantis-vkbd so that
// they hit one chosen command, and what the keyboard holds, read from its memory dumps. Shared
// by the fault matrices of the command line and of the desktop program's Apply.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/vkbd_process.h"

namespace kovantis::testing {

enum class Fault { Unplug, Silence, RefuseFF, RefuseFE, WrongCommand, LateReply, Kill };

inline constexpr Fault kAllFaults[] = {Fault::Unplug,       Fault::Silence,   Fault::RefuseFF, Fault::RefuseFE,
                                       Fault::WrongCommand, Fault::LateReply, Fault::Kill};

// For test names: "Unplug", "Silence", ...
std::string FaultName(Fault fault);

// The operation fails (a late reply is waited for, and a killed program says nothing).
bool Fails(Fault fault);
// The words of which a failure's message must hold one: it names the cause.
std::vector<std::string> CauseWords(Fault fault);
// True when `text` holds one of `words`.
bool SaysOneOf(const std::string& text, const std::vector<std::string>& words);

// How many commands the keyboard has received since it started.
int CommandsReceived(const VkbdProcess& keyboard);
// Arms `fault` to hit the command after the next `after` ones. An unplug and a kill need the
// moment that command has arrived: its reply is held back until WaitUntilHeld says so.
void Arm(const VkbdProcess& keyboard, Fault fault, int after);
// Waits until the keyboard has received `count` commands in all (a hang guard of 30 s).
bool WaitUntilReceived(const VkbdProcess& keyboard, int count);
// Plugs the keyboard in again and takes back every fault still armed.
void Disarm(const VkbdProcess& keyboard);

// What the keyboard holds: its macro area, the three keymaps and the three lighting records.
struct KeyboardHolds {
    std::vector<uint8_t> macroArea;
    std::array<std::vector<uint8_t>, 3> keymaps;
    std::vector<uint8_t> lighting;
    bool operator==(const KeyboardHolds&) const = default;
};
KeyboardHolds ReadHolds(const VkbdProcess& keyboard);

// Keyboard arguments of every matrix: a macro space that a profile's macros take a while to fill.
inline const std::vector<std::string> kMatrixKeyboard{"--macro-space", "64"};

// Two profile files for the same keyboard with other macros and keys in every profile: what the
// keyboard holds before (0) and what an operation writes (1).
void WriteSampleProfile(const std::filesystem::path& path, int variant);

} // namespace kovantis::testing
