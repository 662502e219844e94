#pragma once
// The running desktop program's socket, on which a second start, `kovantis /Kill` and
// `kovantis-cli window-command` hand it one line each and wait for its "ok". A plain Unix stream
// socket in the private instance folder (platform/instance_folder.h), mode 0600.

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

namespace kovantis {

// A listening, non-blocking socket at `path`, or -1 with *error. The caller holds the instance
// lock, so a socket file already there was left by a program that has ended and is replaced.
int ListenOnInstanceSocket(const std::filesystem::path& path, std::string* error);

// Takes one waiting connection: its descriptor (non-blocking), or -1 when none waits.
int AcceptInstanceClient(int listening);

// Sends `line` (ending in a newline) and waits for "ok"; false when nobody listens or no answer
// came within `timeout`.
bool SendInstanceLine(const std::filesystem::path& path, std::string_view line, std::chrono::milliseconds timeout);

// Collects what a client sends into lines.
class LineCollector {
public:
    // Longer lines are dropped whole: a cut one could read as another request.
    static constexpr std::size_t kMaxLine = 256;

    void Add(std::string_view bytes);
    // The next complete line without its newline; false when none is complete.
    bool Next(std::string* line);

private:
    std::string pending_;
    bool skipping_ = false;
};

} // namespace kovantis
