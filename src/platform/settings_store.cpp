#include "platform/settings_store.h"

#include <system_error>

namespace kovantis {
namespace {

constexpr std::u16string_view kSection = u"PROFILES";

} // namespace

SettingsStore::SettingsStore(std::filesystem::path file)
    : file_(std::move(file)), ini_(file_.string())
{
}

std::u16string SettingsStore::Read(std::u16string_view name, std::u16string_view fallback) const
{
    return ini_.ReadString(kSection, name, fallback);
}

bool SettingsStore::Write(std::u16string_view name, std::u16string_view value) const
{
    std::error_code error;
    std::filesystem::create_directories(file_.parent_path(), error);
    return ini_.WriteString(kSection, name, value);
}

} // namespace kovantis
