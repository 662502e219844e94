#include "support/fake_ports.h"

#include <algorithm>

namespace kovantis::testing {

void FakeWindow::ReloadActiveProfile()
{
    Record("ReloadActiveProfile");
    std::function<void()> action;
    {
        std::lock_guard lock(mutex_);
        action = onReload_;
    }
    if (action)
        action();
}

void FakeWindow::OnReloadActiveProfile(std::function<void()> action)
{
    std::lock_guard lock(mutex_);
    onReload_ = std::move(action);
}

std::vector<std::string> FakeWindow::Calls() const
{
    std::lock_guard lock(mutex_);
    return calls_;
}

int FakeWindow::Count(const std::string& call) const
{
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count(calls_.begin(), calls_.end(), call));
}

void FakeWindow::Clear()
{
    std::lock_guard lock(mutex_);
    calls_.clear();
}

void FakeWindow::Record(std::string call)
{
    std::lock_guard lock(mutex_);
    calls_.push_back(std::move(call));
}

void FakePrompter::ShowMessage(const std::u16string& text, const std::u16string&)
{
    std::lock_guard lock(mutex_);
    messages_.push_back(text);
}

bool FakePrompter::AskYesNo(const std::u16string& text, const std::u16string&)
{
    std::lock_guard lock(mutex_);
    questions_.push_back(text);
    return answerYes_;
}

void FakePrompter::AnswerYes(bool yes)
{
    std::lock_guard lock(mutex_);
    answerYes_ = yes;
}

std::vector<std::u16string> FakePrompter::Messages() const
{
    std::lock_guard lock(mutex_);
    return messages_;
}

std::vector<std::u16string> FakePrompter::Questions() const
{
    std::lock_guard lock(mutex_);
    return questions_;
}

std::u16string FakeTexts::Text(std::string_view key) const
{
    const auto it = texts_.find(key);
    if (it != texts_.end())
        return it->second;
    return std::u16string(key.begin(), key.end());
}

} // namespace kovantis::testing
