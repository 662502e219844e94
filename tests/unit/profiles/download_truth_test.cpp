// Downloads that fail say so, stop at the first failure, close the transfer when the keyboard
// is there, and leave a journal that the next arrival completes.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "keyboard/key_code.h"
#include "wire/le_bytes.h"
#include "profile_test_support.h"
#include "ports/editor_registry.h"
#include "profiles/macro_download.h"
#include "profiles/profile_controller.h"
#include "profiles/profile_file.h"
#include "profiles/transfer_journal.h"
#include "support/fake_device.h"

namespace kovantis {
namespace {

using namespace kovantis::testing;

constexpr KeyCode kKeyA = 0x01E;
constexpr int kPositionOfA = 19;

MacroRecord Macro(uint16_t id, std::u16string_view name)
{
    MacroRecord r;
    r.SetName(name);
    r.id = id;
    r.playCount = 1;
    r.actionCount = 2;
    r.actions[0] = {50, kKeyA, kMacroPress};
    r.actions[1] = {0, kKeyA, kMacroRelease};
    return r;
}

class DownloadTruthTest : public ::testing::Test {
protected:
    DownloadTruthTest()
    {
        device.State().SetMacroAreaSize(0x40 * 128);
        {
            ProfileData::Lock lock(data.working);
            lock->macros = {Macro(1, u"One")};
            lock->image.Bank(0)[kKeyA] = MakeAssignment(AssignmentKind::Disabled);
        }
        device.ClearSent();
    }
    DownloadLink Link() { return {device.Commands(), device.State(), device.GetPrompter(), device.Texts()}; }
    std::vector<uint8_t> SentCommands() const
    {
        std::vector<uint8_t> commands;
        for (const auto& r : device.Sent())
            commands.push_back(r[3]);
        return commands;
    }

    TemporaryHome home;
    Paths paths = home.MakePaths();
    FakeDevice device;
    ScriptedPrompter prompter;
    FakeWindow window;
    NoEditors editors;
    ProfileDataPair data;
    UnsavedChanges changes{window};
    LightingHooks lighting;
    ProfileController controller{
        {data, device.Commands(), device.State(), window, editors, prompter, device.Texts(), paths, changes, lighting}};
};

TEST_F(DownloadTruthTest, EveryWriteCountsAndTheFirstFailureEndsTheTransfer)
{
    // Refused in the middle of the macro area: no keymap goes out, the bracket is closed.
    device.InjectFault(Fault::None, 1);  // begin
    device.InjectFault(Fault::StatusFF, 3);
    DownloadOutcome outcome = RunDownload(data, Link(), DownloadScope{true, -1});
    EXPECT_EQ(outcome.result, -102);
    EXPECT_EQ(outcome.stage, DownloadStage::MacroArea);
    EXPECT_TRUE(outcome.sent);
    EXPECT_EQ(SentCommands(), (std::vector<uint8_t>{0x01, 0x0A, 0x0A, 0x0A, 0x02}));
    EXPECT_EQ(DescribeDownloadFailure(outcome), "writing the macros: the keyboard refused it (status 0xFF)");

    // Only EndTransfer refused: the download used to count as done.
    device.ClearSent();
    device.InjectFault(Fault::None, 1 + 1 + 3 * 7);
    device.InjectFault(Fault::StatusFE, 3);
    EXPECT_EQ(DownloadToKeyboard(data, Link(), true), -103);

    // Silence while profile 2's keymap goes out: -2, and the bracket is still closed.
    device.ClearSent();
    device.InjectFault(Fault::None, 1 + 1 + 7 + 3);
    device.InjectFault(Fault::NoReply, 3);
    outcome = RunDownload(data, Link(), DownloadScope{true, -1});
    EXPECT_EQ(outcome.result, -2);
    EXPECT_EQ(outcome.stage, DownloadStage::Keymap);
    EXPECT_EQ(outcome.profile, 1);
    EXPECT_EQ(SentCommands().back(), 0x02);
    EXPECT_EQ(DescribeDownloadFailure(outcome),
              "writing the key assignments of profile 2: the keyboard did not answer");

    // A library that refuses to send (keyboard pulled): nothing more is tried.
    device.ClearSent();
    device.InjectFault(Fault::RefuseSend, 1);
    outcome = RunDownload(data, Link(), DownloadScope{false, 0});
    EXPECT_EQ(outcome.result, -1);
    EXPECT_FALSE(outcome.sent);
    EXPECT_TRUE(device.Sent().empty());

    // No keyboard at all.
    device.SetPresent(false);
    outcome = RunDownload(data, Link(), DownloadScope{false, 0});
    EXPECT_EQ(outcome.result, 0);
    EXPECT_FALSE(outcome.sent);
    EXPECT_EQ(DescribeDownloadFailure(outcome), "starting the transfer: the keyboard is not connected");
}

TEST_F(DownloadTruthTest, VerifyFindsTheFirstDifference)
{
    DownloadOutcome outcome = RunDownload(data, Link(), DownloadScope{false, 0});
    ASSERT_TRUE(outcome.Succeeded());
    std::string difference;
    EXPECT_EQ(VerifyWrittenAreas(device.Commands(), outcome.written, &difference), 1);
    EXPECT_TRUE(difference.empty());

    Keymap changed = outcome.written.keymaps[0].second;
    changed[3 * kPositionOfA + 1] ^= 0x40;
    ASSERT_EQ(device.Commands().WriteKeymapBlock(changed, 0), 1);
    EXPECT_EQ(VerifyWrittenAreas(device.Commands(), outcome.written, &difference), 0);
    EXPECT_EQ(difference.rfind("key assignments of profile 1, byte " + std::to_string(3 * kPositionOfA + 1), 0), 0u)
        << difference;

    device.InjectFault(Fault::NoReply, 3);
    EXPECT_EQ(VerifyWrittenAreas(device.Commands(), outcome.written, &difference), -2);
    EXPECT_EQ(difference, "reading the macros back: the keyboard did not answer");
}

TEST_F(DownloadTruthTest, AFailedApplyIsShownKeepsApplyAndIsCompletedOnTheNextArrival)
{
    ASSERT_EQ(CreateBlankImage(WorkingFilePath(paths)), 1);
    changes.MarkChanged();
    device.InjectFault(Fault::None, 2);
    device.InjectFault(Fault::NoReply, 3);
    EXPECT_EQ(controller.Apply(), -2);
    EXPECT_TRUE(changes.Pending());
    ASSERT_EQ(prompter.Messages().size(), 1u);
    EXPECT_EQ(prompter.Messages()[0], u"EXTRA_DOWNLOAD_FAILED");
    // The working file is saved, the journal says what the keyboard still lacks, privately.
    ASSERT_TRUE(JournalExists(JournalPath(paths)));
    struct stat info {};
    ASSERT_EQ(::stat(JournalPath(paths).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(WorkingFilePath(paths).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_NE(device.Model().Keymap(0)[3 * kPositionOfA], 0);

    // The next run: the keyboard is not read back half-written; the download is completed.
    ProfileDataPair fresh;
    UnsavedChanges freshChanges{window};
    ProfileController next{
        {fresh, device.Commands(), device.State(), window, editors, prompter, device.Texts(), paths, freshChanges, lighting}};
    EXPECT_EQ(next.LoadFromKeyboard(), 0);
    EXPECT_EQ(prompter.Messages().back(), u"EXTRA_RECOVERY_DONE");
    EXPECT_FALSE(JournalExists(JournalPath(paths)));
    EXPECT_EQ(device.Model().Keymap(0)[3 * kPositionOfA], 0);  // disabled, as applied
    EXPECT_FALSE(freshChanges.Pending());
    {
        ProfileData::Lock lock(fresh.working);
        ASSERT_EQ(lock->macros.size(), 1u);
        EXPECT_EQ(lock->macros[0].Name(), u"One");
    }
    ProfileData onDisk(ProfileDataRole::Working);
    ASSERT_EQ(LoadProfileFile(WorkingFilePath(paths), onDisk), 1);
    ProfileData::Lock lock(onDisk);
    EXPECT_EQ(lock->image.Bank(0)[kKeyA].kind, AssignmentKind::Disabled);
}

TEST_F(DownloadTruthTest, ARecoveryThatFailsKeepsTheJournalAndTheSettings)
{
    ASSERT_EQ(CreateBlankImage(WorkingFilePath(paths)), 1);
    changes.MarkChanged();
    device.SetPresent(false);
    EXPECT_NE(controller.Apply(), 1);  // the active profile cannot be read
    ASSERT_TRUE(JournalExists(JournalPath(paths)));
    device.SetPresent(true);

    // The keyboard refuses everything on the next arrival.
    ProfileDataPair fresh;
    UnsavedChanges freshChanges{window};
    ProfileController next{
        {fresh, device.Commands(), device.State(), window, editors, prompter, device.Texts(), paths, freshChanges, lighting}};
    device.InjectFault(Fault::StatusFE, 3);  // it will not even tell its active profile
    next.LoadFromKeyboard();
    EXPECT_EQ(prompter.Messages().back(), u"EXTRA_RECOVERY_FAILED");
    EXPECT_TRUE(JournalExists(JournalPath(paths)));
    EXPECT_TRUE(freshChanges.Pending());
    {
        ProfileData::Lock lock(fresh.working);
        EXPECT_EQ(lock->image.Bank(0)[kKeyA].kind, AssignmentKind::Disabled);
    }
    // A damaged journal is reported and set aside; the keyboard is then read back as usual.
    WriteBytes(JournalPath(paths), {'K', 'V', 'J', '1', 0, 0});
    EXPECT_EQ(next.RecoverInterruptedDownload(), ProfileController::Recovery::None);
    EXPECT_FALSE(JournalExists(JournalPath(paths)));
}

TEST(TransferJournal, RefusesAnythingItDidNotWriteWhole)
{
    TransferJournal journal{DownloadScope{false, 2}, std::vector<uint8_t>(100, 7)};
    std::vector<uint8_t> bytes = EncodeJournal(journal);
    const auto back = DecodeJournal(bytes);
    ASSERT_TRUE(back);
    EXPECT_FALSE(back->scope.allProfiles);
    EXPECT_EQ(back->scope.profile, 2);
    EXPECT_EQ(back->profileFile, journal.profileFile);

    for (size_t i : {0u, 4u, 5u, 8u, 12u, 40u}) {
        std::vector<uint8_t> broken = bytes;
        broken[i] ^= 0x80;
        EXPECT_FALSE(DecodeJournal(broken)) << i;
    }
    bytes.pop_back();
    EXPECT_FALSE(DecodeJournal(bytes));
    EXPECT_FALSE(DecodeJournal({}));
}

} // namespace
} // namespace kovantis
