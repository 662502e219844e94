#include "cli/progress_meter.h"

#include <algorithm>
#include <ostream>
#include <unistd.h>

namespace kovantis::cli {

ProgressMeter::ProgressMeter(std::ostream& out, bool terminal, const Clock& clock, std::string what)
    : out_(out), terminal_(terminal), clock_(clock), what_(std::move(what)), start_(clock.Now())
{
}

ProgressMeter::~ProgressMeter()
{
    Finish();
}

void ProgressMeter::Update(int sent, int total)
{
    if (!terminal_ || total <= 0 || clock_.Now() - start_ < kQuietTime)
        return;
    const int percent = static_cast<int>(std::clamp<long long>(100LL * sent / total, 0, 100));
    if (percent == shown_)
        return;
    shown_ = percent;
    drawn_ = true;
    out_ << '\r' << what_ << ": " << percent << '%' << std::flush;
}

void ProgressMeter::Finish()
{
    if (drawn_)
        out_ << '\n' << std::flush;
    drawn_ = false;
    shown_ = -1;
}

bool StandardErrorIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

} // namespace kovantis::cli
