// The desktop program's Apply in the fault matrix: the profile controller on the real device
// link (libdevlinx.so against kovantis-vkbd, in this process) with the program's own texts.
// Every fault of the table hits the middle of the download; each cell says what Apply returned
// and told the user, that it did not hang, that Apply stays enabled after a failure, and what the
// keyboard and the working file hold after the next arrival has completed the journal.

#include <gtest/gtest.h>

#include <csignal>
#include <future>
#include <optional>

#include "app/language_table.h"
#include "device/command_set.h"
#include "device/request_channel.h"
#include "fault_table.h"
#include "ports/clock.h"
#include "profiles/profile_controller.h"
#include "profiles/profile_file.h"
#include "profiles/transfer_journal.h"
#include "support/cli_home.h"
#include "support/fake_ports.h"
#include "support/vkbd_link.h"

using namespace std::chrono_literals;

namespace kovantis::testing {
namespace {

// The program's side as it stands after the keyboard's arrival: the link and the controller on
// fresh profile data. A new one is the next start of the program.
struct Program {
    Program(const DeviceFunctions& functions, const Paths& paths, const TextSource& texts)
        : link(functions, window, prompter, noTexts, SystemClock())
    {
        link.State().SetWindowReady(true);
        started = link.Start() == 1 && (link.InitialDeviceCount() > 0 || link.State().WaitUntilPresent(10s));
        link.GetPresence().WaitIdle();
        controller.emplace(ProfileEnvironment{data, link.Commands(), link.State(), window, window, prompter, texts,
                                              paths, changes, lighting});
    }
    ~Program() { link.Stop(); }

    FakeWindow window;
    FakePrompter prompter;
    FakeTexts noTexts;  // the link's own messages are not under test here
    DeviceLink link;
    ProfileDataPair data;
    UnsavedChanges changes{window};
    LightingHooks lighting;
    std::optional<ProfileController> controller;
    bool started = false;
};

std::unique_ptr<VkbdProcess> keyboard;
std::optional<DeviceFunctions> library;

// What a clean Apply of the new data leaves, and where the fault goes.
struct Reference {
    int faultAfter = 0;     // from the start of Apply
    int faultAfterCli = 0;  // from the start of kovantis-cli apply, which meets the keyboard first
    KeyboardHolds holds;
};
std::optional<Reference> reference;

class ApplyFaultMatrix : public ::testing::TestWithParam<Fault> {
protected:
    static void SetUpTestSuite()
    {
        if (keyboard != nullptr)
            return;
        keyboard = std::make_unique<VkbdProcess>(kMatrixKeyboard);
        std::string error;
        library = LoadLibraryFor(*keyboard, error);
        ASSERT_TRUE(library) << error;
    }

    void SetUp() override
    {
        ASSERT_TRUE(keyboard->Running() && library);
        paths_.emplace(PathRoots{BinDir(), home_.Root(), home_.Root() / "config", home_.Root() / "data"});
        texts_.emplace(*paths_);
        texts_->Load();
        WriteSampleProfile(home_.Root() / "old.kvp", 0);
        WriteSampleProfile(home_.Root() / "new.kvp", 1);
        if (!reference) {
            Prepare();
            int before = CommandsReceived(*keyboard);
            ASSERT_EQ(program_->controller->Apply(), 1) << Said();
            const int apply = CommandsReceived(*keyboard) - before;
            Prepare();
            HandOverToCli();
            before = CommandsReceived(*keyboard);
            const ProgramRun run = home_.Run({"apply"});
            ASSERT_EQ(run.exitCode, 0) << run.err;
            const int cli = CommandsReceived(*keyboard) - before;
            reference.emplace(Reference{apply / 2, cli - (apply - apply / 2), ReadHolds(*keyboard)});
        }
        Prepare();
    }

    void TearDown() override
    {
        program_.reset();
        library->End();  // the next test's link connects anew
    }

    // The keyboard holds the old file (imported), the working data is the new one, not applied.
    void Prepare()
    {
        program_.reset();
        library->End();
        ASSERT_EQ(keyboard->Control("reset").substr(0, 2), "ok");
        Disarm(*keyboard);
        std::filesystem::remove(WorkingFilePath(*paths_));
        std::filesystem::remove(JournalPath(*paths_));
        program_ = std::make_unique<Program>(*library, *paths_, *texts_);
        ASSERT_TRUE(program_->started);
        program_->controller->OnKeyboardArrived();  // reads the keyboard into the working file
        ASSERT_EQ(program_->controller->ImportFile(home_.Root() / "old.kvp"), 1);
        ASSERT_EQ(Working(), Slurp(home_.Root() / "old.kvp"));
        old_ = ReadHolds(*keyboard);
        ProfileData::Lock(program_->data.working).Replace(ReadProfileContents(home_.Root() / "new.kvp"));
        program_->changes.MarkChanged();
    }

    // kovantis-cli takes over the keyboard (it serves one host at a time) with the working data
    // saved as the working file.
    void HandOverToCli()
    {
        ASSERT_EQ(SaveWorkingFile(*paths_, program_->data.working), 1);
        program_.reset();
        library->End();
        home_.UseKeyboard(*keyboard);
    }

    // What the program told the user, for a failure's explanation.
    std::string Said() const
    {
        std::string text;
        for (const std::u16string& message : program_->prompter.Messages())
            text += Utf16ToUtf8(message) + "\n";
        return text;
    }

    std::string Working() const { return Slurp(WorkingFilePath(*paths_)); }
    std::string NewFile() const { return Slurp(home_.Root() / "new.kvp"); }
    std::u16string Text(std::string_view key) const { return texts_->Text(key); }

    CliHome home_;
    std::optional<Paths> paths_;
    std::optional<LanguageTable> texts_;
    std::unique_ptr<Program> program_;
    KeyboardHolds old_;
};

// The result Apply gives for each fault.
bool ResultFits(Fault fault, int result)
{
    switch (fault) {
    case Fault::Unplug: return result == kSendRefused || result == kSendNoDevice;
    case Fault::Silence:
    case Fault::WrongCommand: return result == kSendNoReply;
    case Fault::RefuseFF: return result == kResultRefusedFF;
    case Fault::RefuseFE: return result == kResultRefusedFE;
    case Fault::LateReply: return result == 1;
    case Fault::Kill: break;
    }
    return false;
}

TEST_P(ApplyFaultMatrix, AnswersTrulyAndTheNextArrivalCompletesTheDownload)
{
    const Fault fault = GetParam();
    const int received = CommandsReceived(*keyboard);
    if (fault == Fault::Kill) {
        // The program is killed in the middle of its Apply: kovantis-cli's apply is this very
        // Apply in a process of its own.
        HandOverToCli();
        Arm(*keyboard, fault, reference->faultAfterCli);
        const CliHome::Child child = home_.Start({"apply"});
        EXPECT_TRUE(WaitUntilReceived(*keyboard, received + reference->faultAfterCli + 1));
        ::kill(child.pid, SIGKILL);
        bool hung = false;
        home_.Wait(child, 60s, &hung);
        EXPECT_FALSE(hung);
    } else {
        Arm(*keyboard, fault, reference->faultAfter);
        auto apply = std::async(std::launch::async, [this] { return program_->controller->Apply(); });
        if (fault == Fault::Unplug) {
            EXPECT_TRUE(WaitUntilReceived(*keyboard, received + reference->faultAfter + 1));
            keyboard->Control("unplug");
        }
        ASSERT_EQ(apply.wait_for(60s), std::future_status::ready) << "Apply hangs";
        const int result = apply.get();
        EXPECT_TRUE(ResultFits(fault, result)) << "Apply gave " << result;
        EXPECT_EQ(program_->changes.Pending(), Fails(fault)) << "Apply must stay enabled after a failure only";
        const std::vector<std::u16string> said = program_->prompter.Messages();
        if (Fails(fault)) {
            ASSERT_FALSE(said.empty()) << "a failure was not told";
            const std::string message = Utf16ToUtf8(said.back());
            EXPECT_TRUE(SaysOneOf(message, CauseWords(fault))) << "the cause is not named: " << message;
            EXPECT_NE(message.find("writing the "), std::string::npos) << "the stage is not named: " << message;
        } else {
            EXPECT_TRUE(said.empty()) << Utf16ToUtf8(said.front());
        }
    }
    Disarm(*keyboard);
    EXPECT_EQ(Working(), NewFile()) << "the working file is saved before the download";
    EXPECT_EQ(JournalExists(JournalPath(*paths_)), fault != Fault::LateReply);
    if (fault == Fault::LateReply) {
        EXPECT_EQ(ReadHolds(*keyboard), reference->holds);
        return;
    }
    EXPECT_NE(ReadHolds(*keyboard), old_) << "the fault came before the download began";

    // The program starts again and meets the keyboard: the interrupted download is completed.
    program_.reset();
    library->End();
    program_ = std::make_unique<Program>(*library, *paths_, *texts_);
    ASSERT_TRUE(program_->started);
    program_->controller->OnKeyboardArrived();
    const std::vector<std::u16string> said = program_->prompter.Messages();
    ASSERT_FALSE(said.empty());
    EXPECT_EQ(said.back(), Text("EXTRA_RECOVERY_DONE"));
    EXPECT_EQ(ReadHolds(*keyboard), reference->holds) << "the keyboard does not hold the new data in full";
    EXPECT_EQ(Working(), NewFile());
    EXPECT_FALSE(JournalExists(JournalPath(*paths_)));
    EXPECT_FALSE(program_->changes.Pending());
}

INSTANTIATE_TEST_SUITE_P(Matrix, ApplyFaultMatrix, ::testing::ValuesIn(kAllFaults),
                         [](const ::testing::TestParamInfo<Fault>& info) { return FaultName(info.param) + "DuringApply"; });

} // namespace
} // namespace kovantis::testing
