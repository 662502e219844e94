#pragma once
// The macro page's side of the key assignment dialog. The dialog model drives it at fixed
// points (opening, page changes, OK and Apply, closing); the macro editor implements it and is
// plugged into the dialog model with SetMacroPage. Until then KeepAssignedMacro stands in.

#include <cstdint>
#include <optional>

#include "keyboard/key_assignment.h"

namespace kovantis {

// The macro a key plays: a PlayMacro record's value and extra word.
struct MacroChoice {
    uint32_t macroId = 0;  // 0: no macro chosen yet; the next commit binds it to the first macro
    uint16_t cycles = 0;   // the play count typed, low 16 bits
};

struct MacroCommit {
    // False when the macro list could not be committed; the working list is then unchanged and
    // the dialog stores nothing.
    bool committed = true;
    // Asked for only while the macro page is shown: the macro the key is to play, or nothing
    // when the macro list is empty (the key then returns to its default).
    std::optional<MacroChoice> choice;
};

class MacroPagePart {
public:
    virtual ~MacroPagePart() = default;
    // The dialog opens for a key whose record is `record`; macroOnly: G9 or the macro button,
    // the dialog shows nothing but the macro page. Take private copies of the macro list here.
    virtual void Opened(const KeyAssignment& record, bool macroOnly) = 0;
    // The macro page became the shown page, by the opening (opening = true) or a page button.
    virtual void Shown(bool opening) = 0;
    // Another page replaced it: stop a running recording.
    virtual void Left() = 0;
    // OK or Apply, before the key's record is built: commit the macro list; when decide (the
    // macro page is shown), also say which macro the key plays.
    virtual MacroCommit Commit(bool decide) = 0;
    // Cancel and every other close: stop a running recording, drop the private copies.
    virtual void Closed() = 0;
};

// Stands in for the macro editor: nothing to commit, and a key keeps the macro it plays.
class KeepAssignedMacro final : public MacroPagePart {
public:
    void Opened(const KeyAssignment& record, bool) override { record_ = record; }
    void Shown(bool) override {}
    void Left() override {}
    MacroCommit Commit(bool decide) override
    {
        MacroCommit commit;
        if (decide && record_.kind == AssignmentKind::PlayMacro)
            commit.choice = MacroChoice{record_.value, record_.extra};
        return commit;
    }
    void Closed() override {}

private:
    KeyAssignment record_;
};

} // namespace kovantis
