#include "support/sample_profiles.h"

#include <gtest/gtest.h>

#include "keyboard/key_code.h"
#include "profiles/profile_file.h"

namespace kovantis::testing {

std::filesystem::path GreetingProfileFile(const std::filesystem::path& path)
{
    ProfileData data(ProfileDataRole::Working);
    {
        ProfileData::Lock lock(data);
        *lock = *BlankProfileContents();
        MacroRecord m;
        m.SetName(u"Greeting");
        m.id = 1;
        m.playCount = 2;
        m.actionCount = 2;
        m.actions[0] = {100, 0x023, kMacroPress};
        m.actions[1] = {0, 0x023, kMacroRelease};
        lock->macros.push_back(m);
        lock->image.Bank(1)[SlotOf(0x01E)] = MakeAssignment(AssignmentKind::PlayMacro, 1);
        lock->image.Bank(2)[SlotOf(0x010)] = MakeAssignment(AssignmentKind::Disabled);
    }
    EXPECT_EQ(SaveProfileFile(path, data), 1);
    return path;
}

std::filesystem::path OtherProfileFile(const std::filesystem::path& path)
{
    ProfileData data(ProfileDataRole::Working);
    {
        ProfileData::Lock lock(data);
        *lock = *BlankProfileContents();
        for (uint16_t id = 1; id <= 3; ++id) {
            MacroRecord m;
            m.SetName(u"Other");
            m.id = id;
            m.playCount = 1;
            m.actionCount = 40;
            for (uint16_t i = 0; i < 40; ++i)
                m.actions[i] = {static_cast<uint16_t>(10 * i), 0x01F, static_cast<uint16_t>(i % 2)};
            lock->macros.push_back(m);
        }
        for (int bank = 0; bank < 3; ++bank)
            lock->image.Bank(bank)[SlotOf(0x011)] = MakeAssignment(AssignmentKind::PlayMacro, 3);
    }
    EXPECT_EQ(SaveProfileFile(path, data), 1);
    return path;
}

} // namespace kovantis::testing
