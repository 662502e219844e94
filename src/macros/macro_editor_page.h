#pragma once
// The macro editor as the key assignment dialog drives it: opening, page changes, OK and
// Apply, and every close.

#include "keyboard/macro_page_part.h"
#include "macros/macro_editor.h"

namespace kovantis {

class MacroEditorPage final : public MacroPagePart {
public:
    explicit MacroEditorPage(MacroEditor& editor) : editor_(editor) {}

    void Opened(const KeyAssignment& record, bool macroOnly) override { editor_.Open({record, macroOnly}); }
    void Shown(bool opening) override
    {
        if (!opening) {
            editor_.ShowByPageButton();
        }
    }
    void Left() override { editor_.LeavePage(); }
    MacroCommit Commit(bool decide) override;
    void Closed() override { editor_.Cancel(); }

private:
    MacroEditor& editor_;
};

} // namespace kovantis
