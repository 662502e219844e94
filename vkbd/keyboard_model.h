#pragma once
// The keyboard's firmware as a plain object: its memory and how it answers each command report.
// kovantis-vkbd serves it over the virtual link; tests also drive it in-process behind a fake
// device library table, so both run exactly the same keyboard.
//
// Not thread-safe: one owner calls it (the server holds a lock around every call).

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "wire/command_report.h"
#include "wire/keyboard_memory.h"

namespace kovantis::vkbd {

struct KeyboardOptions {
    uint8_t macroSpaceUnits = 0x40;       // settings block byte 11: macro area size / 128
    std::array<uint8_t, 32> effects{};    // settings block bytes 12..43; zero = default list
    bool useDefaultEffects = true;        // fill `effects` with the keyboard's usual list
};

using Report = std::array<uint8_t, kReportSize>;

// What the keyboard answers to an address or length outside the area and to a command it does
// not know.
inline constexpr uint8_t kStatusRefused = kStatusRefusedFF;

// The start of every reply: report id, then the request's command, length and address
// repeated; status 0, no data, not sealed yet.
Report ReplyFrameFor(std::span<const uint8_t, kReportSize> request);

class KeyboardModel {
public:
    explicit KeyboardModel(const KeyboardOptions& options = {});

    // Answers one 64-byte command report as the keyboard does. nullopt: no reply (the
    // boot-loader command 0xEE, after which the keyboard leaves the link: see BootRequested();
    // or a report that does not carry the command report id).
    std::optional<Report> HandleCommand(std::span<const uint8_t, 64> request);
    // Command byte and length byte both 0xEE; sent without a checksum.
    static bool IsBootLoaderCommand(std::span<const uint8_t, 64> request);
    bool BootRequested() const { return bootRequested_; }
    // The keyboard is back from its boot loader (it is on the link again).
    void LeaveBootLoader() { bootRequested_ = false; }

    // Memory areas, for dumps and tests.
    std::span<const uint8_t> Settings() const;                 // 44 bytes
    std::span<const uint8_t> ProfileRecords() const;           // 3 x 42 bytes
    std::span<const uint8_t> KeyColours(int profile) const;    // 512 bytes; empty if out of range
    std::span<const uint8_t> Keymap(int profile) const;        // 378 bytes; empty if out of range
    std::span<const uint8_t> FactoryKeymap() const;            // 378 bytes
    std::span<const uint8_t> MacroArea() const;                // macro space bytes

    int ActiveProfile() const { return settings_[kSettingsActiveProfile]; }
    bool InTransfer() const { return inTransfer_; }
    // Requests whose checksum did not match; the keyboard still answers them.
    int BadChecksums() const { return badChecksums_; }
    // Command reports received since start (tests check that something touched nothing).
    int CommandsReceived() const { return commandsReceived_; }
    // Grows with every change of the memory, so an owner can tell whether to save.
    uint64_t Generation() const { return generation_; }

    // Changes the keyboard makes on its own (on-board keys); the caller sends event 0x0401.
    // False (nothing changed) for a profile outside 0..2 or an offset outside 0..41.
    bool SetLightingField(int profile, int offset, uint8_t value);

    // Back to the state it left the factory in (same options); the boot request is cleared.
    void Reset();

    // State file: all writable memory, written atomically (temporary file + rename). Load keeps
    // the current memory when the file is missing or not a valid state file; the macro space
    // and effect list stay those of the options (they are the hardware's, not the memory's).
    bool Save(const std::string& path) const;
    bool Load(const std::string& path);

private:
    struct Area;
    uint8_t Read(const Area& area, std::span<const uint8_t, 64> request, Report& reply) const;
    uint8_t Write(const Area& area, std::span<const uint8_t, 64> request);
    uint8_t ReadSettings(std::span<const uint8_t, 64> request, Report& reply) const;
    uint8_t WriteSettings(std::span<const uint8_t, 64> request);
    std::vector<uint8_t> SerializeState() const;

    KeyboardOptions options_;
    std::array<uint8_t, kSettingsBlockSize> settings_{};
    std::array<uint8_t, kProfileCount * kProfileRecordSize> profileRecords_{};
    std::array<uint8_t, kProfileCount * kKeyColourProfileStride> keyColours_{};
    std::array<uint8_t, kProfileCount * kKeymapSize> keymaps_{};
    std::array<uint8_t, kKeymapSize> factoryKeymap_{};
    std::vector<uint8_t> macroArea_;
    bool inTransfer_ = false;
    int badChecksums_ = 0;
    int commandsReceived_ = 0;
    uint64_t generation_ = 0;
    bool bootRequested_ = false;
};

} // namespace kovantis::vkbd
