#pragma once
// Profile files: the profile image, then the macro records, then the string area. The same
// format is the working file, the import/export file and the firmware update's backup.
//
// Every write replaces the file as a whole (temporary file, flush, rename), so a crash or a full
// disk leaves the old file; a failed write gives 0. A load reads into fresh contents and only
// installs them when the whole file was sound, so a failed load leaves the data as it was.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "profiles/profile_data.h"
#include "platform/paths.h"
#include "ports/prompter.h"
#include "ports/text_source.h"

namespace kovantis {

// The working file's name, formatted from "$Profile%d" with 0.
inline constexpr std::string_view kWorkingFileName = "$Profile0";
inline constexpr std::string_view kProfileFileExtension = "kvp";

// The texts of launch and text-block records are short (paths and typed texts); a string area
// beyond this is refused before anything is allocated.
inline constexpr uint32_t kMaxStringAreaSize = 16u << 20;

// Results of ValidateProfileFile.
inline constexpr int kProfileFileValid = 1;
inline constexpr int kProfileFileInvalid = 0;       // missing, too small or a bad header
inline constexpr int kProfileFileUnreadable = -2;   // cannot be opened, or not a regular file

// The path with ".kvp" added when it has none (what the file dialogs propose).
std::filesystem::path WithProfileExtension(std::filesystem::path path);

// <documents>/Kovantis_09A/$Profile0, creating the folder when it is missing.
std::filesystem::path WorkingFilePath(const Paths& paths);

// Checks the header of a file (only the header and the file's size are read). A bad header
// shows PROFILE_FORMAT_ERROR with the path.
int ValidateProfileFile(const std::filesystem::path& path, Prompter& prompter, const TextSource& texts);

// Shows PROFILE_FORMAT_ERROR with the path.
void ShowFormatError(const std::filesystem::path& path, Prompter& prompter, const TextSource& texts);

// A profile file read in one pass: its contents when they can be used at all, whether its
// header is a valid one, and otherwise or besides what is wrong, as "PATH: cause".
struct ProfileFileRead {
    std::unique_ptr<ProfileContents> contents;
    bool headerValid = false;
    std::string problem;
    bool Usable() const { return contents && headerValid; }
};
ProfileFileRead ReadProfileFile(const std::filesystem::path& path);

// The file's contents without any change to a ProfileData; null when the file cannot be read or
// breaks a limit: more than 100 macros, a macro record beyond its limits, fewer bytes than the
// header announces.
std::unique_ptr<ProfileContents> ReadProfileContents(const std::filesystem::path& path);
// The same from bytes in memory (a whole file).
std::unique_ptr<ProfileContents> ParseProfileContents(std::span<const uint8_t> bytes);

// Replaces the working data with the file's contents. 1, or 0 with the data unchanged.
int LoadProfileFile(const std::filesystem::path& path, ProfileData& data);

// The bytes of a file of these contents. Updates the header and every packed record's string
// offset, as a save does. Empty when memory runs out or the file would exceed 4 GiB.
std::vector<uint8_t> SerializeProfileContents(ProfileContents& contents);

// Writes the data to any path. 1 or 0.
int SaveProfileFile(const std::filesystem::path& path, ProfileData& data);
// Writes the data to the working file, only when that file exists. 1 or 0.
int SaveWorkingFile(const Paths& paths, ProfileData& data);

// A blank file (header with no macros and no strings, blank bank 0). 1 or 0.
int CreateBlankImage(const std::filesystem::path& path);
// Makes the data a blank image with no macros and no strings. 1, or 0 when memory ran out.
int CreateBlankImage(ProfileData& data);
std::unique_ptr<ProfileContents> BlankProfileContents();

} // namespace kovantis
