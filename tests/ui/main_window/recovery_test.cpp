// The main window meets a keyboard that an earlier run left half written: the download its
// journal describes is completed before anything is read back, and the user is told whether it
// was.
#include "main_window_fixture.h"

#include <algorithm>
#include <atomic>

#include "keyboard/key_code.h"
#include "profiles/profile_file.h"
#include "profiles/transfer_journal.h"
#include "wire/command_report.h"
#include "ui/skin/c_png_button.h"

namespace kovantis::testing {
namespace {

constexpr KeyCode kKeyQ = 0x010;
const KeyAssignment kDisabled = MakeAssignment(AssignmentKind::Disabled);

class RecoveryTest : public MainWindowTest {
protected:
    // What an import killed in the middle leaves: the journal of all three profiles, with Q
    // disabled in each, while the keyboard holds its factory keymaps.
    void LeaveInterruptedImport()
    {
        std::unique_ptr<ProfileContents> contents = BlankProfileContents();
        ASSERT_TRUE(contents);
        for (int bank = 0; bank < kProfileCount; ++bank)
            contents->image.Bank(bank)[SlotOf(kKeyQ)] = kDisabled;
        ASSERT_TRUE(paths_->EnsureUserFolder());
        ASSERT_TRUE(WriteJournal(JournalPath(*paths_),
                                 TransferJournal{DownloadScope{true, -1}, SerializeProfileContents(*contents)}));
        factory_ = Keyboard().Dump("keymap 0");
    }

    // One of the messages is that text (up to the cause it fills in).
    bool Said(std::string_view key) const
    {
        const std::u16string text = language_->Text(key);
        const std::u16string opening = text.substr(0, text.find(u'%'));
        const std::vector<std::u16string> said = prompter_.Messages();
        return !text.empty() &&
               std::any_of(said.begin(), said.end(), [&](const std::u16string& m) { return m.starts_with(opening); });
    }

    std::vector<uint8_t> factory_;
};

TEST_F(RecoveryTest, AnInterruptedImportIsCompletedWhenTheKeyboardArrivesAndTheUserIsTold)
{
    LeaveInterruptedImport();
    StartWindow();
    EXPECT_TRUE(Said("EXTRA_RECOVERY_DONE"));
    EXPECT_FALSE(Said("EXTRA_RECOVERY_FAILED"));
    EXPECT_FALSE(JournalExists(JournalPath(*paths_)));
    for (int profile = 0; profile < kProfileCount; ++profile) {
        EXPECT_NE(Keyboard().Dump("keymap " + std::to_string(profile)), factory_) << "profile " << profile + 1;
        EXPECT_EQ(Record(profile, SlotOf(kKeyQ)), kDisabled) << "the window shows what the keyboard holds";
    }
    EXPECT_FALSE(ApplyEnabled()) << "nothing is pending";
    const std::unique_ptr<ProfileContents> working = ReadProfileContents(WorkingFilePath(*paths_));
    ASSERT_TRUE(working);
    EXPECT_EQ(working->image.Bank(2)[SlotOf(kKeyQ)], kDisabled) << "the working file agrees with the keyboard";
}

// The keyboard refuses the next transfer's opening bracket every time it is sent: armed on the
// keyboard the moment the program sends it, whatever came before.
std::atomic<VkbdProcess*> refuseBeginOn{nullptr};
DevlinxRequestWriteOneFn realWriteOne = nullptr;

int32_t RefusingBegin(const DeviceSelector* selector, int32_t zero1, int32_t zero2, const uint8_t* report,
                      int32_t length, uint32_t check, int32_t zero3)
{
    if (report != nullptr && length > static_cast<int32_t>(kCommandOffset) &&
        report[kCommandOffset] == kCmdBeginTransfer) {
        if (VkbdProcess* keyboard = refuseBeginOn.exchange(nullptr))
            keyboard->Control("refuse ff 3");
    }
    return realWriteOne(selector, zero1, zero2, report, length, check, zero3);
}

TEST_F(RecoveryTest, ARecoveryTheKeyboardRefusesIsToldAndLeftToApply)
{
    LeaveInterruptedImport();
    DeviceFunctions& library = LibraryTable();
    realWriteOne = library.RequestWriteOne;
    library.RequestWriteOne = RefusingBegin;
    const std::unique_ptr<DeviceFunctions, void (*)(DeviceFunctions*)> restore(
        &library, [](DeviceFunctions* table) { table->RequestWriteOne = realWriteOne; });
    refuseBeginOn = &Keyboard();
    StartWindow();
    EXPECT_TRUE(Said("EXTRA_RECOVERY_FAILED"));
    EXPECT_FALSE(Said("EXTRA_RECOVERY_DONE"));
    EXPECT_TRUE(JournalExists(JournalPath(*paths_))) << "the next start tries again";
    EXPECT_EQ(Keyboard().Dump("keymap 0"), factory_);
    EXPECT_EQ(Record(0, SlotOf(kKeyQ)), kDisabled) << "the window keeps what was being written";
    ASSERT_TRUE(WaitUntil([this] { return ApplyEnabled(); })) << "Apply is left to send it";

    Click("CONTROL2_APPLY");
    EXPECT_NE(Keyboard().Dump("keymap 0"), factory_);
    EXPECT_FALSE(JournalExists(JournalPath(*paths_)));
    EXPECT_FALSE(ApplyEnabled());
}

} // namespace
} // namespace kovantis::testing
