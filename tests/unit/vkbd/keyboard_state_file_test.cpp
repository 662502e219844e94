#include "unit/vkbd/model_requests.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace kovantis::vkbd {
namespace {

namespace fs = std::filesystem;
using testing::MakeRequest;
using testing::StatusOf;

class StateFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() /
                  ("vkbd-state-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        path_ = (folder_ / "keyboard.state").string();
    }
    void TearDown() override
    {
        fs::permissions(folder_, fs::perms::owner_all);
        fs::remove_all(folder_);
    }

    static void Change(KeyboardModel& model, uint8_t seed)
    {
        std::vector<uint8_t> data(56, seed);
        ASSERT_EQ(StatusOf(model, MakeRequest(kCmdWriteKeymap, 56, 400, data)), kStatusOk);
        ASSERT_EQ(StatusOf(model, MakeRequest(kCmdWriteMacroArea, 56, 100, data)), kStatusOk);
        ASSERT_EQ(StatusOf(model, MakeRequest(kCmdWriteKeyColours, 54, 512 + 54, data)),
                  kStatusOk);
        ASSERT_TRUE(model.SetLightingField(1, 5, seed));
        std::vector<uint8_t> settings(model.Settings().begin(), model.Settings().end());
        settings[kSettingsActiveProfile] = 2;
        settings[3] = seed;
        ASSERT_EQ(StatusOf(model, MakeRequest(kCmdWriteSettings, 44, 0, settings)), kStatusOk);
    }

    static bool SameMemory(const KeyboardModel& a, const KeyboardModel& b)
    {
        bool same = std::ranges::equal(a.Settings(), b.Settings()) &&
                    std::ranges::equal(a.ProfileRecords(), b.ProfileRecords()) &&
                    std::ranges::equal(a.MacroArea(), b.MacroArea());
        for (int p = 0; p < kProfileCount; ++p) {
            same = same && std::ranges::equal(a.Keymap(p), b.Keymap(p)) &&
                   std::ranges::equal(a.KeyColours(p), b.KeyColours(p));
        }
        return same;
    }

    std::vector<char> FileBytes() const
    {
        std::ifstream in(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    void WriteFileBytes(const std::vector<char>& bytes) const
    {
        std::ofstream(path_, std::ios::binary | std::ios::trunc).write(bytes.data(),
                                                                     std::ssize(bytes));
    }

    fs::path folder_;
    std::string path_;
};

TEST_F(StateFileTest, RoundTripKeepsAllWritableMemory)
{
    KeyboardModel model;
    Change(model, 0x42);
    ASSERT_TRUE(model.Save(path_));
    KeyboardModel restored;
    EXPECT_FALSE(SameMemory(model, restored));
    ASSERT_TRUE(restored.Load(path_));
    EXPECT_TRUE(SameMemory(model, restored));
    EXPECT_EQ(restored.ActiveProfile(), 2);
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(StateFileTest, HardwareBytesComeFromTheOptionsNotTheFile)
{
    KeyboardModel big;  // 0x40 units
    Change(big, 0x42);
    ASSERT_TRUE(big.Save(path_));
    KeyboardOptions options;
    options.macroSpaceUnits = 1;
    options.useDefaultEffects = false;
    KeyboardModel small(options);
    ASSERT_TRUE(small.Load(path_));
    EXPECT_EQ(small.Settings()[kSettingsMacroSpace], 1);
    EXPECT_EQ(small.Settings()[kSettingsEffectList], 0);
    EXPECT_EQ(small.Settings()[3], 0x42);
    ASSERT_EQ(small.MacroArea().size(), 128u);
    EXPECT_TRUE(std::equal(small.MacroArea().begin(), small.MacroArea().end(),
                           big.MacroArea().begin()));
}

TEST_F(StateFileTest, InvalidFilesAreRejectedAndMemoryKept)
{
    KeyboardModel saved;
    Change(saved, 0x42);
    ASSERT_TRUE(saved.Save(path_));
    const auto good = FileBytes();

    KeyboardModel model;
    const KeyboardModel fresh;
    EXPECT_FALSE(model.Load((folder_ / "missing").string()));

    auto corrupt = good;
    corrupt[200] ^= 0x01;
    WriteFileBytes(corrupt);
    EXPECT_FALSE(model.Load(path_));

    WriteFileBytes(std::vector<char>(good.begin(), good.end() - 1));
    EXPECT_FALSE(model.Load(path_));

    auto longer = good;
    longer.push_back(0);
    WriteFileBytes(longer);
    EXPECT_FALSE(model.Load(path_));

    WriteFileBytes({'K', 'V'});
    EXPECT_FALSE(model.Load(path_));

    auto huge = good;
    huge[8] = huge[9] = huge[10] = huge[11] = '\xFF';  // claims a 4 GiB macro area
    WriteFileBytes(huge);
    EXPECT_FALSE(model.Load(path_));

    EXPECT_TRUE(SameMemory(model, fresh));
}

// A save that fails half-way (the disk fills up) or cannot even start (a read-only folder)
// leaves the previous state file as it was and no temporary file behind.
TEST_F(StateFileTest, FailedSaveLeavesTheOldFileIntact)
{
    KeyboardModel model;
    Change(model, 0x11);
    ASSERT_TRUE(model.Save(path_));
    const auto before = FileBytes();
    Change(model, 0x22);

    {
        rlimit saved{};
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit tiny = saved;
        tiny.rlim_cur = 1000;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
        const bool savedOk = model.Save(path_);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
        EXPECT_FALSE(savedOk);
    }
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);

    if (::geteuid() != 0) {  // root writes into read-only folders
        fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(model.Save(path_));
        fs::permissions(folder_, fs::perms::owner_all);
        EXPECT_EQ(FileBytes(), before);
    }

    KeyboardModel restored;
    ASSERT_TRUE(restored.Load(path_));
    EXPECT_EQ(restored.ProfileRecords()[42 + 5], 0x11);
}

} // namespace
} // namespace kovantis::vkbd
