#pragma once
// The key assignment dialog's record store: the bank of the profile the main window shows, in
// the working profile data, read and written under its lock. A stored record marks the profile
// changed, which enables the main window's Apply button.

#include <functional>

#include "keyboard/assignment_record_store.h"
#include "profiles/profile_data.h"
#include "profiles/unsaved_changes.h"

namespace kovantis {

class WorkingBankStore final : public AssignmentRecordStore {
public:
    // `shownProfile` gives the profile (0 to 2) whose bank the window shows, asked at every read
    // and write.
    WorkingBankStore(ProfileData& working, UnsavedChanges& changes, std::function<int()> shownProfile);

    KeyAssignment ReadRecord(int record) override;
    // False when the record or the shown profile is out of range.
    bool WriteRecord(int record, const KeyAssignment& value, bool releaseText) override;

    // The profile the last record was stored in; -1 before any.
    int LastEditedProfile() const { return lastEdited_; }

private:
    ProfileData& working_;
    UnsavedChanges& changes_;
    std::function<int()> shownProfile_;
    int lastEdited_ = -1;
};

} // namespace kovantis
