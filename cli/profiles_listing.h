#pragma once
// A profile file as kovantis-cli show lists it: the header, every assignment that is not the
// default in each profile, every macro with its steps. The text and the JSON are written from
// the same listing, so both hold the same facts.

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "profiles/profile_data.h"
#include "ports/text_source.h"

namespace kovantis::cli {

struct ListedAssignment {
    int record = 0;
    int kind = 0;
    uint32_t value = 0;
    std::string text;                   // what the assignment does, as the program shows it
    std::optional<char> bank;           // 'A' or 'B' for the G keys
    bool unused = false;                // a record no key uses
    std::optional<std::string> string;  // the program or text of launch and text assignments
};

struct ListedStep {
    bool press = true;
    std::string key;
    int delayMs = 0;
};

struct ListedMacro {
    std::string name;
    uint32_t id = 0;
    int playCount = 0;
    std::vector<ListedStep> steps;
};

struct ProfileListing {
    std::string file;
    bool headerValid = false;
    uint32_t formatVersion = 0;
    uint32_t totalSize = 0;
    uint32_t macroCount = 0;
    uint32_t stringAreaSize = 0;
    std::string usbId;  // "3a7c:09a1"
    std::vector<std::vector<ListedAssignment>> profiles;  // profile 1 first
    std::vector<ListedMacro> macros;
};

ProfileListing ListProfile(const std::filesystem::path& file, const ProfileContents& contents, bool headerValid,
                           const TextSource& texts);

void ListProfileContents(std::ostream& out, const std::filesystem::path& file, const ProfileContents& contents,
                         bool headerValid, const TextSource& texts);
void WriteProfileContentsJson(std::ostream& out, const std::filesystem::path& file, const ProfileContents& contents,
                              bool headerValid, const TextSource& texts);

} // namespace kovantis::cli
