#include "profiles/working_bank_store.h"

#include "wire/profile_count.h"

namespace kovantis {
namespace {

bool InRange(int profile, int record)
{
    return profile >= 0 && profile < kProfileCount && record >= 0 && record < kRecordsPerBank;
}

} // namespace

WorkingBankStore::WorkingBankStore(ProfileData& working, UnsavedChanges& changes, std::function<int()> shownProfile)
    : working_(working), changes_(changes), shownProfile_(std::move(shownProfile))
{
}

KeyAssignment WorkingBankStore::ReadRecord(int record)
{
    const int profile = shownProfile_();
    if (!InRange(profile, record))
        return {};
    ProfileData::Lock lock(working_);
    return lock->image.Bank(profile)[static_cast<size_t>(record)];
}

bool WorkingBankStore::WriteRecord(int record, const KeyAssignment& value, bool releaseText)
{
    const int profile = shownProfile_();
    if (!InRange(profile, record))
        return false;
    {
        ProfileData::Lock lock(working_);
        lock->image.Bank(profile)[static_cast<size_t>(record)] = value;
        if (releaseText)
            lock->strings.Release(GlobalRecordNumber(profile, record));
    }
    lastEdited_ = profile;
    changes_.MarkChanged();
    return true;
}

} // namespace kovantis
