#pragma once
// The editor dialogs the user has open (key assignment, profile manager, firmware update, ...),
// as the core needs to know them: a profile switch waits while any is open, and when the
// keyboard goes away or the program quits every one of them closes the way its Cancel button
// does. The desktop program keeps the real list (session/open_editors.h); programs without
// editors use NoEditors.

namespace kovantis {

class EditorRegistry {
public:
    virtual ~EditorRegistry() = default;
    // Any thread.
    virtual bool AnyOpen() const = 0;
    // Any thread; returns once every editor has closed.
    virtual void CloseAll() = 0;
};

// The command line and tests that open no editors.
class NoEditors final : public EditorRegistry {
public:
    bool AnyOpen() const override { return false; }
    void CloseAll() override {}
};

} // namespace kovantis
