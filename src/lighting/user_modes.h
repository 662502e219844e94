#pragma once
// Per-key colours and the ten user modes of each profile (effect 20). Every change goes to the
// keyboard and to the profile's mode file at once; there is no separate save. The profile is
// always the lighting panel's current profile, passed in by the caller.

#include <array>
#include <string>

#include "device/command_set.h"
#include "lighting/key_colour_table.h"
#include "lighting/user_mode_file.h"
#include "lighting/user_mode_store.h"

namespace kovantis {

// What the user-mode group of the panel shows.
struct UserModeView {
    std::array<std::u16string, kUserModeCount> names;  // the combo box, positions 0..9
    int mode = 0;
    UserModeSettings settings;
};

class UserModes {
public:
    UserModes(CommandSet& commands, const UserModeStore& store) : commands_(commands), store_(store) {}

    // Refills the mode names from the profile's file.
    void FillUserModeNames(int profile);
    // Reads the profile's current mode into the colour table and sends the table.
    void LoadUserMode(int profile);
    // The same without sending (a program that starts on a keyboard which already has them).
    void ReadUserMode(int profile);
    // The combo box chose another mode: remember it in the file, load and send it.
    void SelectMode(int profile, int mode);
    // The combo box's edit text changed: the current mode takes it as its name.
    void RenameMode(int profile, std::u16string_view name);
    void ChooseBrushColour(int profile, Rgb colour);
    // Recolours every key that follows the base; nothing at all when the colour is unchanged.
    void ChooseBaseColour(int profile, Rgb colour);
    void SelectTool(int profile, int tool);
    // Paints one key with the current tool (brush: the key stops following the base; base
    // tool: it follows it again), sends it and stores its line.
    void PaintKey(int profile, int matrixIndex);
    // Seven writes of 54 bytes inside one transfer; the end command's result.
    int SendTable(int profile);
    // Replaces the profile's file with the template, then reloads and sends it.
    bool RestoreFromTemplate(int profile);

    const UserModeView& View() const { return view_; }
    const KeyColourTable& Colours() const { return colours_; }

private:
    UserModeFile FileOf(int profile) const { return UserModeFile(store_, profile); }
    void WriteSettings(int profile);

    CommandSet& commands_;
    const UserModeStore& store_;
    UserModeView view_;
    KeyColourTable colours_;
};

} // namespace kovantis
