#pragma once
// One profile's user-mode file: ten named modes, each with a tool, a base colour, a brush
// colour and a colour line per key. Missing files and keys read as the defaults (mode 0, names
// "0", tool 0, black colours, every key red and following the base colour).
//
//   [PRESENTMODE] mode=N
//   [MODENAME]    0=name ... 9=name
//   [ModeN]       tool=0|1  jcolor=R,G,B  color=R,G,B  <matrix index>=R,G,B,follows

#include <array>
#include <optional>
#include <span>
#include <string>

#include "lighting/key_colour_table.h"
#include "lighting/rgb.h"
#include "lighting/user_mode_store.h"

namespace kovantis {

inline constexpr int kUserModeCount = 10;

struct UserModeSettings {
    int tool = 0;         // 0 paints with the brush, 1 with the base colour
    Rgb base = kBlack;    // "jcolor"
    Rgb brush = kBlack;   // "color"

    friend bool operator==(const UserModeSettings&, const UserModeSettings&) = default;
};

struct KeyLine {
    Rgb colour = kRed;
    bool followsBase = true;

    friend bool operator==(const KeyLine&, const KeyLine&) = default;
};

struct UserModeContent {
    UserModeSettings settings;
    // By matrix index; only the keys that are read back (the 104 main keys and Fn) are filled.
    std::array<std::optional<KeyLine>, kKeyColourEntries> keys{};
};

class UserModeFile {
public:
    UserModeFile(const UserModeStore& store, int index) : store_(store), index_(index) {}

    int ReadPresentMode() const;
    std::array<std::u16string, kUserModeCount> ReadNames() const;
    UserModeContent ReadMode(int mode) const;

    // Writes return false when the file could not be written.
    bool WritePresentMode(int mode) const;
    bool WriteName(int mode, std::u16string_view name) const;
    bool WriteSettings(int mode, const UserModeSettings& settings) const;
    bool WriteKeyLine(int mode, int matrixIndex, const KeyLine& line) const;
    // Many key lines in one rewrite of the file.
    struct IndexedKeyLine {
        int matrixIndex;
        KeyLine line;
    };
    bool WriteKeyLines(int mode, std::span<const IndexedKeyLine> lines) const;

    static std::u16string SectionOf(int mode);

private:
    const UserModeStore& store_;
    int index_;
};

} // namespace kovantis
