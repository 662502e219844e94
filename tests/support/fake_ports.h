#pragma once
// Fakes of the window port, the editor registry, the prompter and the text source that record
// what the core asked. Window calls are recorded as short strings ("PostTrayIcon 141",
// "RefreshBankKeys 1", ...); closing the editors is recorded among them as "CloseEditors".

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "ports/editor_registry.h"
#include "ports/prompter.h"
#include "ports/text_source.h"
#include "ports/window_port.h"

namespace kovantis::testing {

class FakeWindow : public WindowPort, public EditorRegistry {
public:
    void ReloadActiveProfile() override;
    void CloseAll() override { Record("CloseEditors"); }
    bool AnyOpen() const override { return editorOpen; }
    void RefreshBankKeys(int bank) override { Record("RefreshBankKeys " + std::to_string(bank)); }
    void PostOpen() override { Record("PostOpen"); }
    void PostLightingReread() override { Record("PostLightingReread"); }
    void PostHide() override { Record("PostHide"); }
    void PostTrayIcon(TrayIcon icon) override
    {
        Record("PostTrayIcon " + std::to_string(static_cast<int>(icon)));
    }
    void PostApplyEnabled(bool enabled) override
    {
        Record(std::string("PostApplyEnabled ") + (enabled ? "1" : "0"));
    }
    void PostRefreshKeys() override { Record("PostRefreshKeys"); }
    void PostProgress(bool running) override
    {
        Record(std::string("PostProgress ") + (running ? "1" : "0"));
    }

    // Runs inside ReloadActiveProfile, on the caller's thread (as the window would on its own).
    void OnReloadActiveProfile(std::function<void()> action);

    std::vector<std::string> Calls() const;
    int Count(const std::string& call) const;
    void Clear();

    // What AnyOpen answers.
    bool editorOpen = false;

protected:
    void Record(std::string call);

private:
    mutable std::mutex mutex_;
    std::vector<std::string> calls_;
    std::function<void()> onReload_;
};

class FakePrompter : public Prompter {
public:
    void ShowMessage(const std::u16string& text, const std::u16string& caption = {}) override;
    bool AskYesNo(const std::u16string& text, const std::u16string& caption = {}) override;

    void AnswerYes(bool yes);
    std::vector<std::u16string> Messages() const;
    std::vector<std::u16string> Questions() const;

private:
    mutable std::mutex mutex_;
    std::vector<std::u16string> messages_;
    std::vector<std::u16string> questions_;
    bool answerYes_ = false;
};

class FakeTexts : public TextSource {
public:
    FakeTexts() = default;
    explicit FakeTexts(std::map<std::string, std::u16string, std::less<>> texts)
        : texts_(std::move(texts))
    {
    }
    void Set(std::string key, std::u16string text) { texts_[std::move(key)] = std::move(text); }
    // A key without a text gives the key itself, so tests see which text was asked for.
    std::u16string Text(std::string_view key) const override;

private:
    std::map<std::string, std::u16string, std::less<>> texts_;
};

} // namespace kovantis::testing
