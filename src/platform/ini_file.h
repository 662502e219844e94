#pragma once
// INI files with the profile-string semantics the program relies on everywhere (language file,
// skin files, ovra.ini, user lighting modes, the settings store):
//  - section and key names compare without regard to ASCII letter case; the first match wins
//    (a section that appears twice is searched in file order);
//  - lines starting with ";" or "#" are comments, lines without "=" are ignored;
//  - blanks around names and values are trimmed, then one pair of matching quotes around a
//    value is dropped (a write adds them when a value needs them to read back the same);
//    a missing key gives the caller's default;
//  - a write replaces one value and keeps every other line and comment as it was; it creates
//    the file and the section when missing;
//  - files are read as UTF-8 (with or without BOM) or UTF-16LE with BOM, and written as UTF-8;
//  - a write goes to a temporary file in the same folder that then replaces the old one, so a
//    crash never leaves half a file.
// Every call reads the file anew (writes by other instances are seen at once); callers that
// read many keys at once use IniDocument.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kovantis {

// A parsed INI file held in memory, for readers of many keys (language table, skin files).
class IniDocument {
public:
    IniDocument() = default;
    // Parses bytes in any of the encodings above. Never fails: unparseable lines are ignored.
    static IniDocument Parse(std::string_view bytes);
    // Reads and parses a file; nullopt when it cannot be read.
    static std::optional<IniDocument> Load(const std::string& path);

    std::optional<std::u16string> Find(std::u16string_view section, std::u16string_view key) const;
    std::u16string Read(std::u16string_view section, std::u16string_view key,
                        std::u16string_view fallback) const;
    bool HasSection(std::u16string_view section) const;
    // Keys of a section in file order (first occurrence of each).
    std::vector<std::u16string> Keys(std::u16string_view section) const;

    // Replaces (or adds) one value, keeping every other line. Does nothing for names that
    // CanWrite refuses. Line breaks in the value become blanks, so a value never adds lines.
    void Write(std::u16string_view section, std::u16string_view key, std::u16string_view value);
    // The document as UTF-8 text (with a BOM when the file came with one).
    std::string Serialize() const;

    // Whether a section and key name can be written so that they read back as the same names:
    // not empty, no line break, no "]" in a section name, no "=" in a key name, and a key that
    // does not look like a section header or a comment.
    static bool CanWrite(std::u16string_view section, std::u16string_view key);

private:
    std::vector<std::string> lines_;  // UTF-8, without line ends
    std::string newline_ = "\n";
    bool bom_ = false;
    bool final_newline_ = true;
};

class IniFile {
public:
    explicit IniFile(std::string path) : path_(std::move(path)) {}
    const std::string& Path() const { return path_; }

    std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view fallback = {}) const;
    // The value as a decimal integer; fallback when missing or not a number.
    int ReadInt(std::u16string_view section, std::u16string_view key, int fallback) const;
    // Returns true when the file was written. Writes never leave a half-written file; a file
    // that exists but cannot be read is left alone (false), and the folder is not created.
    bool WriteString(std::u16string_view section, std::u16string_view key,
                     std::u16string_view value) const;

private:
    std::string path_;
};

// A value as the profile-string integer read takes it: a leading decimal number (after an
// optional sign) counts, the rest is ignored; nullopt when there is none or it overflows.
std::optional<int> ParseIniInt(std::u16string_view value);

// UTF-8 <-> UTF-16 helpers used across the program.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

} // namespace kovantis
