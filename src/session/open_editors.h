#pragma once
// The editor dialogs open right now. A dialog registers itself when it opens, with what closes
// it the way its Cancel button does, and is forgotten when its registration ends (when the
// dialog has closed). Closing all of them may be asked from any thread (the presence worker on
// removal); the close actions run on the thread the editors live on, through the dispatcher
// given at construction.

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "ports/editor_registry.h"

namespace kovantis {

class OpenEditors final : public EditorRegistry {
public:
    using Action = std::function<void()>;
    // Runs an action on the editors' thread and returns when it has run.
    using Dispatcher = std::function<void(Action)>;

    // Ends an editor's registration when it goes out of scope.
    class Registration {
    public:
        Registration() = default;
        Registration(Registration&& other) noexcept;
        Registration& operator=(Registration&& other) noexcept;
        Registration(const Registration&) = delete;
        Registration& operator=(const Registration&) = delete;
        ~Registration() { End(); }
        void End();

    private:
        friend class OpenEditors;
        Registration(OpenEditors* owner, uint64_t id) : owner_(owner), id_(id) {}
        OpenEditors* owner_ = nullptr;
        uint64_t id_ = 0;
    };

    // Without a dispatcher, close actions run on the thread that asks for them.
    explicit OpenEditors(Dispatcher onEditorThread = {});

    // An editor opened. name says which (for messages and tests).
    [[nodiscard]] Registration Open(std::string name, Action closeAsCancel);

    bool AnyOpen() const override;
    // Forgets every editor, then closes them, newest first, as their Cancel buttons do.
    void CloseAll() override;
    std::vector<std::string> OpenNames() const;

private:
    struct Entry {
        std::string name;
        Action close;
    };
    void Forget(uint64_t id);

    Dispatcher dispatch_;
    mutable std::mutex mutex_;
    std::map<uint64_t, Entry> open_;
    uint64_t nextId_ = 1;
};

} // namespace kovantis
