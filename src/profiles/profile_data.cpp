#include "profiles/profile_data.h"

#include <new>
#include <stdexcept>

namespace kovantis {
namespace {

// Locks of each role this thread holds (re-entries counted).
thread_local int tWorkingHeld = 0;
thread_local int tSnapshotHeld = 0;

int& HeldCount(ProfileDataRole role) { return role == ProfileDataRole::Working ? tWorkingHeld : tSnapshotHeld; }

} // namespace

ProfileData::ProfileData(ProfileDataRole role) : role_(role), contents_(std::make_unique<ProfileContents>()) {}

ProfileData::Lock::Lock(ProfileData& data) : data_(data)
{
    if (data.role_ == ProfileDataRole::Working && tSnapshotHeld > 0 && tWorkingHeld == 0) {
        throw std::logic_error("the working profile data is locked after the download snapshot");
    }
    data_.mutex_.lock();
    ++HeldCount(data_.role_);
}

ProfileData::Lock::~Lock()
{
    --HeldCount(data_.role_);
    data_.mutex_.unlock();
}

std::unique_ptr<ProfileContents> ProfileData::Lock::Replace(std::unique_ptr<ProfileContents> fresh) const
{
    data_.contents_.swap(fresh);
    return fresh;
}

std::unique_ptr<ProfileContents> NewProfileContents()
{
    try {
        return std::make_unique<ProfileContents>();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace kovantis
