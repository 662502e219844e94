#pragma once
// The profile manager's list and buttons, without a widget: three rows for the on-board
// profiles (each the working file, which holds all three) plus any files the user added or
// loaded; the ticked row is the profile the keyboard activates on Apply.

#include <filesystem>
#include <string>
#include <vector>

#include "app/app_settings.h"
#include "profiles/profile_controller.h"

namespace kovantis {

struct ProfileRow {
    std::u16string name;            // file name without folder and extension
    std::filesystem::path folder;   // the folder, ending in a separator
    bool ticked = false;
};

class ProfileManagerModel {
public:
    ProfileManagerModel(ProfileController& controller, const AppSettings& settings);
    ~ProfileManagerModel();
    ProfileManagerModel(const ProfileManagerModel&) = delete;
    ProfileManagerModel& operator=(const ProfileManagerModel&) = delete;

    // When the dialog opens: the three on-board rows, the active one ticked, Apply disabled.
    void Fill();

    const std::vector<ProfileRow>& Rows() const { return rows_; }
    int SelectedRow() const { return selected_; }
    void Select(int row) { selected_ = row; }
    bool ApplyEnabled() const { return applyEnabled_; }
    bool IsOpen() const { return open_; }

    // A blank file saved where the user chooses (the row is added even when the write failed).
    void Add();
    // A file the user chooses (not read now).
    void Load();
    // Removes the selected row; the file is not touched.
    void Delete();
    // Ticking one row clears the others.
    void Tick(int row, bool ticked);

    // Stores the list, activates the ticked on-board profile, reads the keyboard back. 0 (with
    // a message, Apply left enabled) when the keyboard did not take the ticked profile.
    int Apply();
    // Apply, then close; a failed Apply keeps the dialog open. 1 when it closed.
    int Ok();
    void Cancel();

    // A profile switch elsewhere while the dialog is open.
    void FollowActiveProfile(int profile);

private:
    void AppendRow(const std::filesystem::path& file);
    void Close();

    ProfileController& controller_;
    const AppSettings& settings_;
    std::vector<ProfileRow> rows_;
    int selected_ = -1;
    bool applyEnabled_ = false;
    bool open_ = false;
};

} // namespace kovantis
