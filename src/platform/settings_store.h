#pragma once
// The per-user application settings store: string values of section PROFILES in an INI file
// (Paths::SettingsStoreFile, $XDG_CONFIG_HOME/Kovantis_Brenmor/Kovantis.ini).

#include "platform/ini_file.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace kovantis {

class SettingsStore {
public:
    explicit SettingsStore(std::filesystem::path file);

    std::u16string Read(std::u16string_view name, std::u16string_view fallback) const;
    // Creates the store's folder and file when missing; true when the value was written.
    bool Write(std::u16string_view name, std::u16string_view value) const;

    const std::filesystem::path& File() const { return file_; }

private:
    std::filesystem::path file_;
    IniFile ini_;
};

} // namespace kovantis
