#include "fault_table.h"

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "keyboard/key_code.h"
#include "profiles/profile_file.h"

namespace kovantis::testing {
namespace {

// Longer than any operation's hang guard: the held reply is never sent while the test waits.
constexpr const char* kHoldReply = "delay 600000 1";

} // namespace

std::string FaultName(Fault fault)
{
    switch (fault) {
    case Fault::Unplug: return "Unplug";
    case Fault::Silence: return "Silence";
    case Fault::RefuseFF: return "RefuseFF";
    case Fault::RefuseFE: return "RefuseFE";
    case Fault::WrongCommand: return "WrongCommand";
    case Fault::LateReply: return "LateReply";
    case Fault::Kill: return "Kill";
    }
    return "Unknown";
}

bool Fails(Fault fault)
{
    return fault != Fault::LateReply && fault != Fault::Kill;
}

std::vector<std::string> CauseWords(Fault fault)
{
    switch (fault) {
    case Fault::Unplug: return {"unplugged", "not connected", "went away", "gone"};
    case Fault::Silence:
    case Fault::WrongCommand: return {"did not answer"};
    case Fault::RefuseFF: return {"refused", "0xFF", "status FF"};
    case Fault::RefuseFE: return {"refused", "0xFE", "status FE"};
    case Fault::LateReply:
    case Fault::Kill: break;
    }
    return {};
}

bool SaysOneOf(const std::string& text, const std::vector<std::string>& words)
{
    for (const std::string& word : words) {
        if (text.find(word) != std::string::npos)
            return true;
    }
    return false;
}

int CommandsReceived(const VkbdProcess& keyboard)
{
    const std::string info = keyboard.Control("info");
    const size_t at = info.find("commands=");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 9));
}

void Arm(const VkbdProcess& keyboard, Fault fault, int after)
{
    ASSERT_EQ(keyboard.Control("after " + std::to_string(after)).substr(0, 2), "ok");
    std::string command;
    switch (fault) {
    case Fault::Unplug:
    case Fault::Kill: command = kHoldReply; break;
    case Fault::Silence: command = "drop 1000"; break;
    // Every send of the request (the program sends a refused one three times).
    case Fault::RefuseFF: command = "refuse ff 3"; break;
    case Fault::RefuseFE: command = "refuse fe 3"; break;
    case Fault::WrongCommand: command = "wrong-command 3"; break;
    // Past the wait for one reply, so the request is sent again; both replies come, one late.
    case Fault::LateReply: command = "delay 1500 2"; break;
    }
    ASSERT_EQ(keyboard.Control(command).substr(0, 2), "ok") << command;
}

bool WaitUntilReceived(const VkbdProcess& keyboard, int count)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (CommandsReceived(keyboard) < count) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

void Disarm(const VkbdProcess& keyboard)
{
    for (const char* command : {"plug", "after 0", "drop 0", "refuse ff 0", "wrong-command 0", "delay 0 0"})
        EXPECT_EQ(keyboard.Control(command).substr(0, 2), "ok") << command;
}

KeyboardHolds ReadHolds(const VkbdProcess& keyboard)
{
    KeyboardHolds holds;
    holds.macroArea = keyboard.Dump("macro 0 8192");
    for (int p = 0; p < 3; ++p)
        holds.keymaps[static_cast<size_t>(p)] = keyboard.Dump("keymap " + std::to_string(p));
    holds.lighting = keyboard.Dump("profiles");
    return holds;
}

void WriteSampleProfile(const std::filesystem::path& path, int variant)
{
    ProfileData data(ProfileDataRole::Working);
    {
        ProfileData::Lock lock(data);
        *lock = *BlankProfileContents();
        const uint16_t macros = variant == 0 ? 2 : 4;
        const uint16_t steps = variant == 0 ? 10 : 60;
        for (uint16_t id = 1; id <= macros; ++id) {
            MacroRecord m;
            m.SetName(variant == 0 ? u"Before" : u"After");
            m.id = id;
            m.playCount = static_cast<uint8_t>(variant + 1);
            m.actionCount = steps;
            for (uint16_t i = 0; i < steps; ++i)
                m.actions[i] = {static_cast<uint16_t>(10 * i + variant), static_cast<KeyCode>(0x01E + variant),
                                static_cast<uint16_t>(i % 2)};
            lock->macros.push_back(m);
        }
        for (int bank = 0; bank < 3; ++bank) {
            lock->image.Bank(bank)[SlotOf(static_cast<KeyCode>(0x010 + variant))] =
                MakeAssignment(AssignmentKind::PlayMacro, macros);
            lock->image.Bank(bank)[SlotOf(static_cast<KeyCode>(0x02C + bank + variant))] =
                MakeAssignment(AssignmentKind::Disabled);
        }
    }
    ASSERT_EQ(SaveProfileFile(path, data), 1);
}

} // namespace kovantis::testing
