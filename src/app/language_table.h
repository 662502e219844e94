#pragma once
// The language table: the texts of the chosen section (ENGINSH or CHINESE) of the language
// file Skins/language.ini, loaded at start and again after each language command.
//
// The file is read from two places, key by key: the per-user overlay copy first (it holds what
// the language commands write, and whatever a user adds there), then the shipped file. A key
// in neither reads as empty text, never as a built-in text or the other language's.

#include "app/language_slots.h"
#include "platform/ini_file.h"
#include "ports/text_source.h"

#include <array>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace kovantis {

class Paths;

enum class LanguageChoice { None, English, Chinese };

// Window commands that switch the language.
inline constexpr int kCommandLanguageChinese = 32784;
inline constexpr int kCommandLanguageEnglish = 32785;

class LanguageTable final : public TextSource {
public:
    LanguageTable(std::filesystem::path shipped_file, std::filesystem::path overlay_file);
    explicit LanguageTable(const Paths& paths);

    // Chooses the section and fills every slot from it (also the reload after a command).
    void Load();

    // A slot's current text, or for any other key its text in the chosen section.
    std::u16string Text(std::string_view key) const override;
    // The current text of a slot; empty for a key that is not a slot.
    std::u16string SlotText(std::string_view key) const;
    // Any key of the chosen section, as last loaded (the windows that read their own captions).
    std::u16string Lookup(std::string_view key) const;

    bool IsEnglish() const;
    std::u16string_view SectionName() const;
    // The language value that decides which label set other files offer (0 Chinese,
    // 1 English, other values neither): the in-run choice once one was made, else the file's.
    int LanguageValue() const;
    LanguageChoice InRunChoice() const;

    // The language commands: set the in-run choice, write "0" or "1" to the overlay copy of
    // the file (a failed write is not reported), reload. Returns false for other commands.
    bool RunLanguageCommand(int command);

private:
    void Choose(LanguageChoice choice);

    struct Files {
        std::optional<IniDocument> overlay;
        std::optional<IniDocument> shipped;
        std::optional<std::u16string> Find(std::u16string_view section,
                                           std::u16string_view key) const;
    };
    static bool ChoosesEnglish(const Files& files, LanguageChoice in_run);

    std::filesystem::path shipped_file_;
    std::filesystem::path overlay_file_;

    mutable std::mutex mutex_;
    Files files_;
    LanguageChoice in_run_ = LanguageChoice::None;
    bool english_ = false;
    std::array<std::u16string, kLanguageSlotCount> slots_;
};

} // namespace kovantis
