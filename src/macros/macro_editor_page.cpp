#include "macros/macro_editor_page.h"

namespace kovantis {

MacroCommit MacroEditorPage::Commit(bool decide)
{
    const MacroConfirmResult result = editor_.Confirm(decide);
    MacroCommit commit;
    // Macros that cannot fit the keyboard are refused before anything is committed; the dialog
    // then stores nothing and stays open for the user to trim them.
    commit.committed = result.proceed;
    if (result.proceed && result.setsAssignment && result.assignment.kind == AssignmentKind::PlayMacro) {
        commit.choice = MacroChoice{result.assignment.value, result.assignment.extra};
    }
    return commit;
}

} // namespace kovantis
