#pragma once
// What every widget test program needs: one QApplication on Qt's offscreen platform, and a
// wait that serves the UI thread's queue until a condition holds.

#include <chrono>
#include <functional>

class QApplication;

namespace kovantis::testing {

// Made on first use, for the life of the test program.
QApplication& OffscreenApplication();

// Serves the UI thread's queue until `done` holds; false when it did not within `timeout`,
// which only guards against a hang.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(5));

} // namespace kovantis::testing
