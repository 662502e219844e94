#include "session/open_editors.h"

#include <iterator>
#include <utility>

namespace kovantis {

OpenEditors::Registration::Registration(Registration&& other) noexcept
    : owner_(std::exchange(other.owner_, nullptr)), id_(other.id_)
{
}

OpenEditors::Registration& OpenEditors::Registration::operator=(Registration&& other) noexcept
{
    if (this != &other) {
        End();
        owner_ = std::exchange(other.owner_, nullptr);
        id_ = other.id_;
    }
    return *this;
}

void OpenEditors::Registration::End()
{
    if (owner_ != nullptr)
        std::exchange(owner_, nullptr)->Forget(id_);
}

OpenEditors::OpenEditors(Dispatcher onEditorThread) : dispatch_(std::move(onEditorThread)) {}

OpenEditors::Registration OpenEditors::Open(std::string name, Action closeAsCancel)
{
    std::lock_guard lock(mutex_);
    const uint64_t id = nextId_++;
    open_.emplace(id, Entry{std::move(name), std::move(closeAsCancel)});
    return Registration(this, id);
}

bool OpenEditors::AnyOpen() const
{
    std::lock_guard lock(mutex_);
    return !open_.empty();
}

std::vector<std::string> OpenEditors::OpenNames() const
{
    std::lock_guard lock(mutex_);
    std::vector<std::string> names;
    for (const auto& [id, entry] : open_)
        names.push_back(entry.name);
    return names;
}

void OpenEditors::Forget(uint64_t id)
{
    std::lock_guard lock(mutex_);
    open_.erase(id);
}

void OpenEditors::CloseAll()
{
    // Taken out first: a close action ends its own registration, and an editor that a closing
    // one opened (a message box's parent) is closed by its owner.
    std::map<uint64_t, Entry> closing;
    {
        std::lock_guard lock(mutex_);
        closing.swap(open_);
    }
    if (closing.empty())
        return;
    Action closeThem = [&closing] {
        for (auto it = closing.rbegin(); it != closing.rend(); ++it) {
            if (it->second.close)
                it->second.close();
        }
    };
    if (dispatch_)
        dispatch_(closeThem);
    else
        closeThem();
}

} // namespace kovantis
