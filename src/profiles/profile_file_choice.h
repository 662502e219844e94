#pragma once
// Choosing a profile file to write (export, the profile manager's Add, the update's backup).
// The chooser is asked for "*.kvp": the desktop's file dialog adds the extension to a bare name
// before it asks about replacing an existing file, so the question is about the file that is
// really written. A chooser that hands back a bare name anyway gets ".kvp" added here, and the
// question is asked here when that file exists, so "x" never silently replaces "x.kvp".

#include <filesystem>
#include <string>

#include "ports/prompter.h"
#include "ports/text_source.h"

namespace kovantis {

inline constexpr const char* kProfileFileFilter = "*.kvp";

// The path to write, or empty when the user cancelled or declined replacing a file.
std::filesystem::path ChooseProfileFileToWrite(Prompter& prompter, const TextSource& texts,
                                               const std::string& folder, const std::string& suggestedName);

} // namespace kovantis
