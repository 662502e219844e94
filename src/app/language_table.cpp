#include "app/language_table.h"

#include "platform/paths.h"

#include <system_error>

namespace kovantis {
namespace {

constexpr std::u16string_view kLanguageSection = u"LANGUAGE";
constexpr std::u16string_view kLanguageValue = u"language";
constexpr std::u16string_view kEnglishSection = u"ENGINSH";
constexpr std::u16string_view kChineseSection = u"CHINESE";
constexpr std::string_view kLanguageFileName = "language.ini";

std::u16string KeyName(std::string_view key)
{
    return Utf8ToUtf16(key);
}

} // namespace

std::optional<std::u16string> LanguageTable::Files::Find(std::u16string_view section,
                                                         std::u16string_view key) const
{
    if (overlay) {
        if (std::optional<std::u16string> value = overlay->Find(section, key)) {
            return value;
        }
    }
    return shipped ? shipped->Find(section, key) : std::nullopt;
}

LanguageTable::LanguageTable(std::filesystem::path shipped_file,
                             std::filesystem::path overlay_file)
    : shipped_file_(std::move(shipped_file)), overlay_file_(std::move(overlay_file))
{
    const auto slots = LanguageSlots();
    for (std::size_t i = 0; i < slots.size(); ++i) {
        slots_[i] = slots[i].builtin;
    }
}

LanguageTable::LanguageTable(const Paths& paths)
    : LanguageTable(paths.ShippedFile(kLanguageFileName), paths.OverlayFile(kLanguageFileName))
{
}

bool LanguageTable::ChoosesEnglish(const Files& files, LanguageChoice in_run)
{
    // Once a command has chosen, that choice holds for the run even when it could not be
    // written to the file.
    if (in_run != LanguageChoice::None) {
        return in_run == LanguageChoice::English;
    }
    const std::optional<std::u16string> value = files.Find(kLanguageSection, kLanguageValue);
    return value && ParseIniInt(*value) == 1;
}

void LanguageTable::Load()
{
    Files files{IniDocument::Load(overlay_file_.string()), IniDocument::Load(shipped_file_.string())};
    std::lock_guard lock(mutex_);
    english_ = ChoosesEnglish(files, in_run_);
    const std::u16string_view section = english_ ? kEnglishSection : kChineseSection;
    const auto slots = LanguageSlots();
    for (std::size_t i = 0; i < slots.size(); ++i) {
        slots_[i] = files.Find(section, KeyName(slots[i].key)).value_or(std::u16string());
    }
    files_ = std::move(files);
}

std::u16string LanguageTable::Text(std::string_view key) const
{
    return FindLanguageSlot(key) ? SlotText(key) : Lookup(key);
}

std::u16string LanguageTable::SlotText(std::string_view key) const
{
    const LanguageSlot* slot = FindLanguageSlot(key);
    if (slot == nullptr) {
        return {};
    }
    std::lock_guard lock(mutex_);
    return slots_[static_cast<std::size_t>(slot - LanguageSlots().data())];
}

std::u16string LanguageTable::Lookup(std::string_view key) const
{
    std::lock_guard lock(mutex_);
    return files_.Find(english_ ? kEnglishSection : kChineseSection, KeyName(key))
        .value_or(std::u16string());
}

bool LanguageTable::IsEnglish() const
{
    std::lock_guard lock(mutex_);
    return english_;
}

std::u16string_view LanguageTable::SectionName() const
{
    return IsEnglish() ? kEnglishSection : kChineseSection;
}

int LanguageTable::LanguageValue() const
{
    std::lock_guard lock(mutex_);
    if (in_run_ != LanguageChoice::None) {
        return in_run_ == LanguageChoice::English ? 1 : 0;
    }
    const std::optional<std::u16string> value = files_.Find(kLanguageSection, kLanguageValue);
    return value ? ParseIniInt(*value).value_or(0) : 0;
}

LanguageChoice LanguageTable::InRunChoice() const
{
    std::lock_guard lock(mutex_);
    return in_run_;
}

bool LanguageTable::RunLanguageCommand(int command)
{
    if (command == kCommandLanguageChinese) {
        Choose(LanguageChoice::Chinese);
        return true;
    }
    if (command == kCommandLanguageEnglish) {
        Choose(LanguageChoice::English);
        return true;
    }
    return false;
}

void LanguageTable::Choose(LanguageChoice choice)
{
    {
        std::lock_guard lock(mutex_);
        in_run_ = choice;
    }
    // Only the value goes to the overlay: every other key keeps coming from the shipped file,
    // so texts fixed or added by a newer version are seen at once.
    std::error_code error;
    std::filesystem::create_directories(overlay_file_.parent_path(), error);
    IniFile(overlay_file_.string())
        .WriteString(kLanguageSection, kLanguageValue,
                     choice == LanguageChoice::English ? u"1" : u"0");
    Load();
}

} // namespace kovantis
