#pragma once
// The macro page's widgets inside the key assignment dialog. The dialog builds the page once,
// tells it when it is shown or hidden, and hands its model side (MacroPagePart) to the dialog
// model, which drives it at opening, page changes, OK, Apply and closing. The macro editor
// plugs its page in with Kovantis_DlgComposite::SetMacroPage; until then PlaceholderMacroPage
// stands in and a key keeps the macro it plays.

#include <memory>

#include "keyboard/macro_page_part.h"

namespace kovantis {

class Kovantis_DlgComposite;

class MacroPageView {
public:
    virtual ~MacroPageView() = default;
    // The page's side of the dialog model; lives as long as the view.
    virtual MacroPagePart& Part() = 0;
    // Creates the page's controls on the dialog, placed from its skin file (FUNC_MACRO_* and
    // the other keys of the macro page). Called once, before the dialog first opens; the
    // dialog model is dialog.Model() (MarkModified enables the dialog's Apply button).
    virtual void Build(Kovantis_DlgComposite& dialog) = 0;
    // The macro page is the shown page (true) or not; called after every change of the
    // dialog's state, so the page redraws from its part here.
    virtual void SetShown(bool shown) = 0;
};

class PlaceholderMacroPage final : public MacroPageView {
public:
    MacroPagePart& Part() override { return part_; }
    void Build(Kovantis_DlgComposite&) override {}
    void SetShown(bool) override {}

private:
    KeepAssignedMacro part_;
};

} // namespace kovantis
