#pragma once
// The prompter on Qt: modal message boxes and file dialogs over the main window. Questions are
// Yes/No with No preselected. It may be called from any thread (the presence worker, a job of
// the window): the dialog always opens on the UI thread; a question's caller waits for the
// answer, a message's caller goes on at once.

#include "ports/prompter.h"

#include <functional>

class QWidget;

namespace kovantis::ui {

class QtPrompter final : public Prompter {
public:
    explicit QtPrompter(QWidget* parent) : parent_(parent) {}

    void ShowMessage(const std::u16string& text, const std::u16string& caption) override;
    bool AskYesNo(const std::u16string& text, const std::u16string& caption) override;
    std::string ChooseOpenFile(const std::string& filter, const std::string& folder) override;
    std::string ChooseSaveFile(const std::string& filter, const std::string& folder,
                               const std::string& suggestedName) override;

private:
    void OnUiThread(const std::function<void()>& dialog);

    QWidget* parent_;
};

} // namespace kovantis::ui
