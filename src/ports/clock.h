#pragma once
// Waiting and time, behind an interface so that tests of retries and back-offs run at once.

#include <chrono>
#include <cstdint>

namespace kovantis {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::chrono::steady_clock::time_point Now() const = 0;
    virtual void SleepFor(std::chrono::milliseconds duration) = 0;
};

// The real clock.
Clock& SystemClock();

} // namespace kovantis
