#include "keyboard/assignment_strings.h"

namespace kovantis {
namespace {

size_t BytesOf(const std::optional<std::u16string>& text)
{
    return text ? (text->size() + 1) * sizeof(char16_t) : 0;
}

} // namespace

bool AssignmentStrings::Set(int global, std::u16string_view text)
{
    if (!InRange(global)) return false;
    Release(global);
    entries_[global] = std::u16string(text.substr(0, text.find(u'\0')));
    total_ += BytesOf(entries_[global]);
    return true;
}

void AssignmentStrings::Release(int global)
{
    if (!InRange(global)) return;
    total_ -= BytesOf(entries_[global]);
    entries_[global].reset();
}

void AssignmentStrings::ReleaseAll()
{
    for (auto& entry : entries_) entry.reset();
    total_ = 0;
}

std::optional<std::u16string_view> AssignmentStrings::Text(int global) const
{
    if (!InRange(global) || !entries_[global]) return std::nullopt;
    return std::u16string_view(*entries_[global]);
}

size_t AssignmentStrings::Length(int global) const { return InRange(global) ? BytesOf(entries_[global]) : 0; }

} // namespace kovantis
