#pragma once

#include <string>

namespace skingen {

// Draws the main window's state pictures, mask and arrows, and writes Main.ini, into `folder`
// (with a trailing '/'). False when a file cannot be written.
bool WriteMainSkin(const std::string& folder);

} // namespace skingen
