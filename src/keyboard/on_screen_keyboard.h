#pragma once
// Finding an on-screen keyboard to start from the key assignment dialog: its keys reach the key
// capture like real ones, which is the way to keys a desktop keeps for itself (Super on
// Wayland). Where none is installed the dialog offers the picker keys in a list instead.

#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace kovantis {

// Programs tried, in order of preference.
std::span<const std::string_view> OnScreenKeyboardPrograms();

// Whether a path names a file this user may execute.
using ExecutableCheck = std::function<bool(const std::string& path)>;
bool IsExecutableFile(const std::string& path);

// The full path of the first on-screen keyboard found in the folders of `searchPath` (a PATH
// value, folders separated by ':'; empty entries and relative folders are skipped, so the
// current folder is never searched). Empty when none is installed.
std::string FindOnScreenKeyboard(std::string_view searchPath, const ExecutableCheck& isExecutable = IsExecutableFile);

} // namespace kovantis
