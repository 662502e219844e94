#pragma once
// The container of all per-profile key data: the profile image, the macro list and the texts
// of launch and text-block records, behind one recursive lock. There are two instances for the
// whole run: the working copy that every editor changes and the download snapshot that only a
// download reads. Whoever needs both takes the working copy's lock first; taking the working
// copy while holding only the snapshot is refused (it could deadlock against a download).

#include <memory>
#include <mutex>
#include <vector>

#include "keyboard/assignment_strings.h"
#include "macros/macro_record.h"
#include "profiles/profile_image.h"

namespace kovantis {

struct ProfileContents {
    ProfileImage image;
    std::vector<MacroRecord> macros;  // at most kMaxMacros, in list order
    AssignmentStrings strings;
};

enum class ProfileDataRole { Working, Snapshot };

class ProfileData {
public:
    explicit ProfileData(ProfileDataRole role);
    ProfileData(const ProfileData&) = delete;
    ProfileData& operator=(const ProfileData&) = delete;

    // Holds the lock for its lifetime and gives access to the contents. Throws std::logic_error
    // when taking it would break the lock order (a programming error, never a run-time state).
    class Lock {
    public:
        explicit Lock(ProfileData& data);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

        ProfileContents& operator*() const { return *data_.contents_; }
        ProfileContents* operator->() const { return data_.contents_.get(); }
        // Installs `fresh` and hands back the old contents (a load that succeeded).
        std::unique_ptr<ProfileContents> Replace(std::unique_ptr<ProfileContents> fresh) const;

    private:
        ProfileData& data_;
    };

    ProfileDataRole Role() const { return role_; }

private:
    const ProfileDataRole role_;
    std::recursive_mutex mutex_;
    std::unique_ptr<ProfileContents> contents_;
};

// Fresh, empty contents: all-zero image, no macros, no strings. Null when memory runs out.
std::unique_ptr<ProfileContents> NewProfileContents();

// The two instances the program keeps for its whole run.
struct ProfileDataPair {
    ProfileData working{ProfileDataRole::Working};
    ProfileData snapshot{ProfileDataRole::Snapshot};
};

} // namespace kovantis
