#pragma once
// How a command says that it failed: what it was doing, and why, in one line on standard error
// ("kovantis-cli: cannot read FILE: No such file or directory"), and kExitFailed.

#include <filesystem>
#include <string>
#include <string_view>

#include "ports/prompter.h"

namespace kovantis::cli {

class Session;

// `what` failed with keyboard result `result`; when the operation only knows it failed (0),
// the last failed exchange explains it. Says when the keyboard has gone away.
int KeyboardFailed(Session& session, std::string_view what, int result);

// "cannot VERB FILE: REASON".
int FileFailed(Session& session, std::string_view verb, const std::filesystem::path& file,
               std::string_view reason);

// Connects to the keyboard (see Session::ConnectKeyboard); kExitOk or kExitFailed with the
// reason said.
int Connect(Session& session);

// Keeps the core's messages to itself: the command line says the same in its own words.
class QuietPrompter final : public Prompter {
public:
    void ShowMessage(const std::u16string&, const std::u16string& = {}) override {}
    bool AskYesNo(const std::u16string&, const std::u16string& = {}) override { return false; }
};

} // namespace kovantis::cli
