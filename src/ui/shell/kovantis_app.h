#pragma once
// CKovantisApp: the desktop program from process start to its end. The command line and the
// single-instance rule come first (a second start hands over to the first instance and ends);
// then the paths, the language table, the settings and the two profile data containers; then
// the device library and the main window. A missing required piece ends the program silently
// with exit code 0.

namespace kovantis {

int RunKovantis(int argc, char** argv);

} // namespace kovantis
