#include "ports/clock.h"

#include <thread>

namespace kovantis {
namespace {

class RealClock final : public Clock {
public:
    std::chrono::steady_clock::time_point Now() const override
    {
        return std::chrono::steady_clock::now();
    }
    void SleepFor(std::chrono::milliseconds duration) override
    {
        std::this_thread::sleep_for(duration);
    }
};

} // namespace

Clock& SystemClock()
{
    static RealClock clock;
    return clock;
}

} // namespace kovantis
