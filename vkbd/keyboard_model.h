#pragma once
// The keyboard's firmware as a plain object: its memory and how it answers each command report.
// kovantis-vkbd serves it over the virtual link; tests also drive it in-process behind a fake
// device library table, so both run exactly the same keyboard.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kovantis::vkbd {

struct KeyboardOptions {
    uint8_t macroSpaceUnits = 0x40;       // settings block byte 11: macro area size / 128
    std::array<uint8_t, 32> effects{};    // settings block bytes 12..43; zero = default list
    bool useDefaultEffects = true;        // fill `effects` with the keyboard's usual list
};

using Report = std::array<uint8_t, 64>;

class KeyboardModel {
public:
    explicit KeyboardModel(const KeyboardOptions& options = {});

    // Answers one 64-byte command report as the keyboard does. nullopt: no reply (the
    // boot-loader command 0xEE, after which the keyboard leaves the link: see BootRequested()).
    std::optional<Report> HandleCommand(std::span<const uint8_t, 64> request);
    bool BootRequested() const { return bootRequested_; }

    // Memory areas, for dumps and tests.
    std::span<const uint8_t> Settings() const;                 // 44 bytes
    std::span<const uint8_t> ProfileRecords() const;           // 3 x 42 bytes
    std::span<const uint8_t> KeyColours(int profile) const;    // 512 bytes
    std::span<const uint8_t> Keymap(int profile) const;        // 378 bytes
    std::span<const uint8_t> FactoryKeymap() const;            // 378 bytes
    std::span<const uint8_t> MacroArea() const;                // macro space bytes

    // Changes the keyboard makes on its own (on-board keys); the caller sends event 0x0401.
    void SetLightingField(int profile, int offset, uint8_t value);

    // State file: all memory, written atomically (temporary file + rename).
    bool Save(const std::string& path) const;
    bool Load(const std::string& path);

private:
    bool bootRequested_ = false;
    // The implementation owns the rest.
};

} // namespace kovantis::vkbd
