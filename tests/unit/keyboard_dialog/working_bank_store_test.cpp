// The dialog's record store over the working profile data: the shown profile's bank, texts
// released only when asked, and every stored record marks the profile changed.

#include <gtest/gtest.h>

#include "profiles/profile_data.h"
#include "profiles/unsaved_changes.h"
#include "profiles/working_bank_store.h"
#include "support/fake_ports.h"

namespace kovantis {
namespace {

TEST(WorkingBankStore, ReadsAndWritesTheBankOfTheShownProfile)
{
    ProfileData working(ProfileDataRole::Working);
    {
        ProfileData::Lock lock(working);
        lock.Replace(NewProfileContents());
        lock->image.Bank(2)[0x1E] = MakeAssignment(AssignmentKind::Key, 0x30);
        lock->strings.Set(GlobalRecordNumber(2, 0x1E), u"program");
        lock->strings.Set(GlobalRecordNumber(2, 0x1F), u"text");
    }
    testing::FakeWindow window;
    UnsavedChanges changes(window);
    int shown = 2;
    WorkingBankStore store(working, changes, [&shown] { return shown; });

    EXPECT_EQ(store.ReadRecord(0x1E), MakeAssignment(AssignmentKind::Key, 0x30));
    EXPECT_TRUE(store.WriteRecord(0x1F, MakeAssignment(AssignmentKind::TextBlock), false));
    EXPECT_TRUE(store.WriteRecord(0x1E, MakeAssignment(AssignmentKind::Media, 3), true));
    EXPECT_TRUE(changes.Pending());
    EXPECT_EQ(window.Count("PostApplyEnabled 1"), 2);
    EXPECT_EQ(store.LastEditedProfile(), 2);
    {
        ProfileData::Lock lock(working);
        EXPECT_EQ(lock->image.Bank(2)[0x1E], MakeAssignment(AssignmentKind::Media, 3));
        EXPECT_EQ(lock->image.Bank(0)[0x1E], KeyAssignment{}) << "other profiles stay";
        EXPECT_FALSE(lock->strings.Text(GlobalRecordNumber(2, 0x1E)));
        EXPECT_TRUE(lock->strings.Text(GlobalRecordNumber(2, 0x1F)));
    }

    // The shown profile is asked each time.
    shown = 0;
    EXPECT_TRUE(store.WriteRecord(0x1E, MakeAssignment(AssignmentKind::Key, 0x2E), true));
    EXPECT_EQ(store.LastEditedProfile(), 0);
    EXPECT_EQ(store.ReadRecord(0x1E), MakeAssignment(AssignmentKind::Key, 0x2E));

    // Nothing is stored outside the three profiles' banks.
    changes.Clear();
    shown = 3;
    EXPECT_FALSE(store.WriteRecord(0x1E, MakeAssignment(AssignmentKind::Key, 0x2E), true));
    shown = 0;
    EXPECT_FALSE(store.WriteRecord(512, MakeAssignment(AssignmentKind::Key, 0x2E), true));
    EXPECT_FALSE(changes.Pending());
}

} // namespace
} // namespace kovantis
