#pragma once
// A program started as a child with an environment of its own and a pipe on which it reports
// "ready" (KOVANTIS_REPORT_READY), for the start-up benchmark.

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace kovantis::bench {

using Steady = std::chrono::steady_clock;

// Fresh XDG_RUNTIME_DIR, XDG_CONFIG_HOME, XDG_DATA_HOME and HOME folders, removed at the end.
class TempHome {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    bool Ok() const { return !root_.empty(); }
    const std::string& Root() const { return root_; }
    // The four XDG/HOME variables pointing into this tree.
    std::map<std::string, std::string> Environment() const;

private:
    std::string root_;
};

class ChildProcess {
public:
    // Starts `program args...` with the bench's environment plus (over) `env`; the child's
    // output goes to `logFile`.
    ChildProcess(const std::string& program, const std::vector<std::string>& args,
                 const std::map<std::string, std::string>& env, const std::string& logFile);
    // A child still running is killed.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid_; }
    // Empty while all went well; otherwise what went wrong, for the user.
    const std::string& Error() const { return error_; }

    // The time from just before the spawn to reading the line `word` ("ready", then "shown");
    // nothing when the child ended, said something else or did not say it within `timeout` of
    // the spawn (Error says which).
    std::optional<Steady::duration> WaitFor(const std::string& word, std::chrono::milliseconds timeout);
    bool Running();
    // SIGTERM, then SIGKILL when the child has not ended within `grace`. False (with Error)
    // when it had to be killed.
    bool End(std::chrono::milliseconds grace);

private:
    // Reaps the child if it has ended; true then.
    bool Reap();
    std::string HowItEnded() const;

    pid_t pid_ = -1;
    int readyFd_ = -1;
    Steady::time_point started_;
    bool ended_ = false;
    int status_ = 0;
    std::string logFile_;
    std::string error_;
    std::string unread_;  // what the child said beyond the last line waited for
};

// The last lines of a file, for error messages.
std::string Tail(const std::string& file, size_t lines = 8);

} // namespace kovantis::bench
