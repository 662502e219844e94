#pragma once
// How the core talks to the user: message boxes, yes/no questions and file choices. The desktop
// program shows modal Qt dialogs; the command-line program prints to standard error and answers
// questions from its options; tests answer from a script and record what was asked.

#include <string>

namespace kovantis {

class Prompter {
public:
    virtual ~Prompter() = default;

    // A modal message with an OK button. Texts come from the language table.
    virtual void ShowMessage(const std::u16string& text, const std::u16string& caption = {}) = 0;
    // A Yes/No question with No preselected; true for Yes.
    virtual bool AskYesNo(const std::u16string& text, const std::u16string& caption = {}) = 0;
    // A file to open / to save, chosen by the user; empty when cancelled. filter is a list of
    // patterns such as "*.kvp", folder the folder the chooser starts in (UTF-8 paths).
    virtual std::string ChooseOpenFile(const std::string& filter, const std::string& folder)
    {
        (void)filter;
        (void)folder;
        return {};
    }
    virtual std::string ChooseSaveFile(const std::string& filter, const std::string& folder,
                                       const std::string& suggestedName)
    {
        (void)filter;
        (void)folder;
        (void)suggestedName;
        return {};
    }
};

} // namespace kovantis
