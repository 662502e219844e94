#pragma once
// The kovantis program running on the X server of the test (DISPLAY), against a virtual
// keyboard, and xdotool to find its windows and to click and type into them as a user would.

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>
#include <sys/types.h>

namespace kovantis::testing {

struct WindowGeometry {
    std::string id;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Runs a program and collects its standard output; the exit code is -1 when it did not end
// within `timeout` (it is then killed).
struct ToolRun {
    int exitCode = -1;
    std::string output;
};
ToolRun RunTool(const std::vector<std::string>& argv, std::chrono::milliseconds timeout = std::chrono::seconds(10));

class DesktopProgram {
public:
    DesktopProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::map<std::string, std::string>& env);
    ~DesktopProgram();
    DesktopProgram(const DesktopProgram&) = delete;
    DesktopProgram& operator=(const DesktopProgram&) = delete;

    bool Alive();

private:
    pid_t pid_ = -1;
};

// xdotool on the test's display.
class Xdotool {
public:
    Xdotool();
    // The visible window with this exact title, once it shows; nullopt after `timeout`.
    std::optional<WindowGeometry> WaitForWindow(const std::string& title,
                                                std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;
    // Whether a visible window with this title exists right now.
    bool WindowShown(const std::string& title) const;
    // The id of the window with the X input focus now; empty when it cannot be told.
    std::string Focused() const;
    // Whether the window with this id is mapped and visible right now.
    bool Visible(const std::string& id) const;
    // Whether the window with this id becomes the X input focus (it is then active and takes
    // the keys) within `timeout`.
    bool WaitForFocus(const std::string& id, std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;
    // Clicks the left button at a point of the screen, `count` times in quick succession (2: a
    // double click, 3: a triple click).
    bool ClickAt(int x, int y, int count = 1) const;
    // Presses and releases keys by their X key names ("super", "Escape").
    bool Key(const std::string& keys) const;
    // Only presses, or only releases, one key by its X key name.
    bool KeyDown(const std::string& key) const;
    bool KeyUp(const std::string& key) const;
    // Types a text as key presses.
    bool Type(const std::string& text) const;

private:
    std::string tool_;
};

} // namespace kovantis::testing
