#pragma once
// Progress of a long transfer on standard error: "downloading to the keyboard: 42%", redrawn in
// place. Nothing is shown when standard error is not a terminal (scripts, logs) nor during the
// first half second, so quick transfers stay quiet.

#include <chrono>
#include <iosfwd>
#include <string>

#include "ports/clock.h"

namespace kovantis::cli {

class ProgressMeter {
public:
    static constexpr std::chrono::milliseconds kQuietTime{500};

    // `terminal`: whether `out` is a terminal (only then is anything drawn).
    ProgressMeter(std::ostream& out, bool terminal, const Clock& clock, std::string what);
    ~ProgressMeter();  // ends the line when one was drawn
    ProgressMeter(const ProgressMeter&) = delete;
    ProgressMeter& operator=(const ProgressMeter&) = delete;

    // `sent` of `total` reports are through.
    void Update(int sent, int total);
    // Ends the line when one was drawn; the next Update starts afresh.
    void Finish();

    bool Drawn() const { return drawn_; }

private:
    std::ostream& out_;
    bool terminal_;
    const Clock& clock_;
    std::string what_;
    std::chrono::steady_clock::time_point start_;
    int shown_ = -1;
    bool drawn_ = false;
};

// Whether standard error is a terminal.
bool StandardErrorIsTerminal();

} // namespace kovantis::cli
