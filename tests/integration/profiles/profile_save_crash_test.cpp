#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "profiles/profile_file.h"
#include "support/fake_ports.h"

namespace kovantis {
namespace {

// The largest file there is: 100 macros of 2000 steps.
void FillMaximal(ProfileData& data, uint16_t stamp)
{
    ProfileData::Lock lock(data);
    lock->macros.assign(kMaxMacros, MacroRecord{});
    for (size_t i = 0; i < lock->macros.size(); ++i) {
        MacroRecord& m = lock->macros[i];
        m.SetName(u"Macro");
        m.id = static_cast<uint16_t>(i + 1);
        m.playCount = 1;
        m.actionCount = kMaxMacroActions;
        m.actions.fill(MacroAction{stamp, 0x01E, kMacroPress});
    }
}

TEST(ProfileSaveCrash, AKilledSaveLeavesTheOldFileWhole)
{
    char pattern[] = "/tmp/kovantis-crash-XXXXXX";
    const std::filesystem::path folder = ::mkdtemp(pattern);
    const std::filesystem::path file = folder / "$Profile0";
    ProfileData data(ProfileDataRole::Working);
    FillMaximal(data, 10);
    ASSERT_EQ(SaveProfileFile(file, data), 1);

    testing::FakePrompter prompter;
    testing::FakeTexts texts;
    for (int round = 0; round < 8; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves new contents over and over until it is killed.
            ProfileData mine(ProfileDataRole::Working);
            for (uint16_t stamp = 20;; stamp = static_cast<uint16_t>(stamp + 10)) {
                FillMaximal(mine, stamp);
                SaveProfileFile(file, mine);
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(15 + 17 * round));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);

        EXPECT_EQ(ValidateProfileFile(file, prompter, texts), 1) << round;
        ProfileData loaded(ProfileDataRole::Working);
        ASSERT_EQ(LoadProfileFile(file, loaded), 1) << round;
        ProfileData::Lock lock(loaded);
        ASSERT_EQ(lock->macros.size(), static_cast<size_t>(kMaxMacros));
        // Whole contents of one save, never a mix of two.
        const uint32_t stamp = lock->macros[0].actions[0].delay;
        EXPECT_EQ(lock->macros[99].actions[1999].delay, stamp) << round;
    }
    EXPECT_TRUE(prompter.Messages().empty());
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace kovantis
