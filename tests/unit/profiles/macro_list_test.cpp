#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "profiles/macro_list.h"
#include "support/fake_ports.h"

namespace kovantis {
namespace {

using testing::FakeWindow;

MacroRecord Committed(uint16_t id, std::u16string_view name = u"M")
{
    MacroRecord r = NewMacroRecord(name, {});
    r.id = id;
    r.fresh = 0;
    return r;
}

KeyAssignment PlayMacro(uint32_t id) { return MakeAssignment(AssignmentKind::PlayMacro, id); }

class MacroListTest : public ::testing::Test {
protected:
    KeyAssignment& Record(int bank, int record)
    {
        ProfileData::Lock lock(data.working);
        return lock->image.Bank(bank)[static_cast<size_t>(record)];
    }
    void SetMacros(std::vector<MacroRecord> macros)
    {
        ProfileData::Lock lock(data.working);
        lock->macros = std::move(macros);
    }

    ProfileDataPair data;
    FakeWindow window;
    UnsavedChanges changes{window};
};

TEST_F(MacroListTest, NewRecordTakesTheLowestFreeIdAndCutsLongNames)
{
    const std::vector<MacroRecord> inUse = {Committed(1), Committed(2), Committed(4)};
    const MacroRecord r = NewMacroRecord(std::u16string(300, u'x'), inUse);
    EXPECT_EQ(r.id, 3);
    EXPECT_EQ(r.fresh, 1);
    EXPECT_EQ(r.playCount, 1);
    EXPECT_EQ(r.actionCount, 0);
    EXPECT_EQ(r.Name().size(), 249u);
    EXPECT_EQ(r.name[249], u'\0');

    std::vector<MacroRecord> full;
    for (uint16_t id = 1; id <= kMaxMacros; ++id) {
        full.push_back(Committed(id));
    }
    EXPECT_EQ(NewMacroRecord(u"x", full).id, 0);
}

TEST_F(MacroListTest, LookupsByIdAndPosition)
{
    SetMacros({Committed(5, u"Fire"), Committed(2, u"Jump"), Committed(5, u"Second five")});
    EXPECT_EQ(MacroPositionOf(data.working, 2), 1);
    EXPECT_EQ(MacroPositionOf(data.working, 5), 0);   // the first with the id
    EXPECT_EQ(MacroPositionOf(data.working, 9), 0);   // none: position 0, not an error
    EXPECT_EQ(MacroIdAt(data.working, 1), 2);
    EXPECT_EQ(MacroIdAt(data.working, 3), 0);
    EXPECT_EQ(MacroIdAt(data.working, -1), 0);
    EXPECT_EQ(MacroNameOf(data.working, 5), u"Fire");
    EXPECT_EQ(MacroNameOf(data.working, 9), u"");
}

TEST_F(MacroListTest, IsAssignedLooksAtEveryBankAndNeverAtFreshRecords)
{
    SetMacros({Committed(3)});
    EXPECT_FALSE(IsMacroAssigned(data.working, Committed(3)));
    Record(3, 511) = PlayMacro(3);  // the very last entry of the image
    EXPECT_TRUE(IsMacroAssigned(data.working, Committed(3)));
    MacroRecord fresh = Committed(3);
    fresh.fresh = 1;
    EXPECT_FALSE(IsMacroAssigned(data.working, fresh));
}

TEST_F(MacroListTest, CommitRepairsPlayMacroAssignmentsInAllBanks)
{
    SetMacros({Committed(1), Committed(2), Committed(3)});
    Record(0, 10) = PlayMacro(3);   // old macro 3 deleted, its id handed to a new macro
    Record(2, 20) = PlayMacro(1);   // still there
    Record(1, 30) = PlayMacro(0);   // unbound
    Record(2, 40) = PlayMacro(9);   // never existed, in a profile that is not active
    Record(1, 41) = MakeAssignment(AssignmentKind::Key, 3);

    MacroRecord renewed = NewMacroRecord(u"New", std::vector<MacroRecord>{Committed(1), Committed(2)});
    ASSERT_EQ(renewed.id, 3);
    MacroRecord kept = Committed(1);
    kept.reserved504 = 0xBEEF;
    ASSERT_EQ(CommitMacroList(data.working, std::vector<MacroRecord>{kept, Committed(2), renewed}, changes, window), 1);

    EXPECT_EQ(Record(0, 10).kind, AssignmentKind::Default);
    EXPECT_EQ(Record(0, 10).value, 3u);  // the other fields are left as they were
    EXPECT_EQ(Record(2, 20), PlayMacro(1));
    EXPECT_EQ(Record(1, 30), PlayMacro(1));  // bound to the first macro of the list
    EXPECT_EQ(Record(2, 40).kind, AssignmentKind::Default);
    EXPECT_EQ(Record(1, 41), MakeAssignment(AssignmentKind::Key, 3));
    {
        ProfileData::Lock lock(data.working);
        ASSERT_EQ(lock->macros.size(), 3u);
        EXPECT_EQ(lock->macros[2].fresh, 0);
        EXPECT_EQ(lock->macros[0].reserved504, 0xBEEF);
    }
    EXPECT_TRUE(changes.Pending());
    EXPECT_EQ(window.Count("PostRefreshKeys"), 1);
    EXPECT_EQ(window.Count("PostApplyEnabled 1"), 1);
}

TEST_F(MacroListTest, CommitOfAnEmptyListClearsBoundAssignmentsOnly)
{
    SetMacros({Committed(1)});
    Record(0, 1) = PlayMacro(1);
    Record(0, 2) = PlayMacro(0);
    ASSERT_EQ(CommitMacroList(data.working, {}, changes, window), 1);
    EXPECT_EQ(Record(0, 1).kind, AssignmentKind::Default);
    EXPECT_EQ(Record(0, 2), PlayMacro(0));
    ProfileData::Lock lock(data.working);
    EXPECT_TRUE(lock->macros.empty());
}

TEST_F(MacroListTest, CommitThatRepairsNothingLeavesApplyAlone)
{
    SetMacros({Committed(1)});
    Record(0, 1) = PlayMacro(1);
    ASSERT_EQ(CommitMacroList(data.working, std::vector<MacroRecord>{Committed(1, u"Renamed")}, changes, window), 1);
    EXPECT_FALSE(changes.Pending());
    EXPECT_TRUE(window.Calls().empty());
    EXPECT_EQ(MacroNameOf(data.working, 1), u"Renamed");
    EXPECT_EQ(CommitMacroList(data.working, std::vector<MacroRecord>(kMaxMacros + 1), changes, window), 0);
    EXPECT_EQ(MacroNameOf(data.working, 1), u"Renamed");
}

TEST_F(MacroListTest, IdsCompareInSixteenBitsEverywhere)
{
    // The commit reads an assignment's value 0x10002 as macro 2; so must every lookup, or the
    // key would play the macro at position 0 and show no name.
    SetMacros({Committed(1, u"One"), Committed(2, u"Two")});
    Record(0, 5) = PlayMacro(0x10002);
    EXPECT_EQ(MacroPositionOf(data.working, 0x10002), 1);
    EXPECT_EQ(MacroNameOf(data.working, 0x10002), u"Two");
    EXPECT_TRUE(IsMacroAssigned(data.working, Committed(2)));
    ASSERT_EQ(CommitMacroList(data.working, std::vector<MacroRecord>{Committed(1), Committed(2)}, changes, window), 1);
    EXPECT_EQ(Record(0, 5), PlayMacro(0x10002));
}

TEST(ProfileDataLocks, WorkingBeforeSnapshotIsEnforced)
{
    ProfileDataPair data;
    {
        ProfileData::Lock working(data.working);
        ProfileData::Lock snapshot(data.snapshot);
        ProfileData::Lock again(data.working);  // re-entering a held lock is no order at all
        EXPECT_EQ(MacroPositionOf(data.working, 1), 0);
    }
    {
        ProfileData::Lock snapshot(data.snapshot);
        EXPECT_THROW(ProfileData::Lock working(data.working), std::logic_error);
    }
    // The refused attempt left nothing held: another thread takes both.
    std::thread other([&] {
        ProfileData::Lock working(data.working);
        ProfileData::Lock snapshot(data.snapshot);
    });
    other.join();
}

TEST(ProfileDataLocks, ReplaceSwapsWholeContents)
{
    ProfileData data(ProfileDataRole::Working);
    auto fresh = NewProfileContents();
    fresh->macros.resize(2);
    ProfileData::Lock lock(data);
    auto old = lock.Replace(std::move(fresh));
    EXPECT_EQ(lock->macros.size(), 2u);
    EXPECT_TRUE(old->macros.empty());
}

} // namespace
} // namespace kovantis
