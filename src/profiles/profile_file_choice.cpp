#include "profiles/profile_file_choice.h"

#include <system_error>

#include "app/text_format.h"
#include "platform/ini_file.h"
#include "profiles/profile_file.h"

namespace kovantis {

std::filesystem::path ChooseProfileFileToWrite(Prompter& prompter, const TextSource& texts,
                                               const std::string& folder, const std::string& suggestedName)
{
    const std::filesystem::path chosen = prompter.ChooseSaveFile(kProfileFileFilter, folder, suggestedName);
    if (chosen.empty()) {
        return {};
    }
    const std::filesystem::path path = WithProfileExtension(chosen);
    std::error_code error;
    if (path != chosen && std::filesystem::exists(path, error)) {
        const std::u16string shown = Utf8ToUtf16(path.string());
        if (!prompter.AskYesNo(FormatText(texts.Text("PROFILE_REPLACE_PROMPT"), {std::u16string_view(shown)}))) {
            return {};
        }
    }
    return path;
}

} // namespace kovantis
