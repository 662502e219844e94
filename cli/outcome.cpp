#include "cli/outcome.h"

#include <ostream>

#include "cli/command_registry.h"
#include "cli/failure_text.h"
#include "cli/session.h"

namespace kovantis::cli {

int KeyboardFailed(Session& session, std::string_view what, int result)
{
    if (result == 0) {
        // The operation reports only that it failed; the exchange that did tells why.
        const int last = session.Commands().TakeLastFailure();
        if (last != 1)
            result = last;
    }
    std::string reason = ResultReason(result);
    if (!session.Link().State().Present())
        reason = "the keyboard went away (unplugged?)";
    session.Err() << "kovantis-cli: " << what << " failed: " << reason << '\n';
    return kExitFailed;
}

int FileFailed(Session& session, std::string_view verb, const std::filesystem::path& file,
               std::string_view reason)
{
    session.Err() << "kovantis-cli: cannot " << verb << ' ' << file.string() << ": " << reason << '\n';
    return kExitFailed;
}

int Connect(Session& session)
{
    const int connected = session.ConnectKeyboard();
    if (connected == kExitOk)
        session.Commands().TakeLastFailure();  // what went wrong before this command is no reason
    return connected;
}

} // namespace kovantis::cli
