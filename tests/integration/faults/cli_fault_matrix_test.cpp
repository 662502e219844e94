// The command line's fault matrix: every fault of the table in the middle of an import, a
// read-back and a lighting write, each against a keyboard and a home of its own. Every cell says
// what the program answered (exit status and message), that it did not hang, and what the
// keyboard and the files hold afterwards; a failed import is completed by the next run.

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <map>
#include <optional>

#include "fault_table.h"
#include "support/cli_home.h"

namespace kovantis::testing {
namespace {

enum class Operation { Import, ReadBack, Lighting };

std::string OperationName(Operation op)
{
    switch (op) {
    case Operation::Import: return "Import";
    case Operation::ReadBack: return "ReadBack";
    case Operation::Lighting: break;
    }
    return "Lighting";
}

// A keyboard holding the old profile file, and a home whose working file is that file.
struct Bench {
    Bench()
    {
        home.UseKeyboard(keyboard);
        WriteSampleProfile(OldFile(), 0);
        WriteSampleProfile(NewFile(), 1);
    }
    std::filesystem::path OldFile() const { return home.Root() / "old.kvp"; }
    std::filesystem::path NewFile() const { return home.Root() / "new.kvp"; }
    std::filesystem::path ReadFile() const { return home.Root() / "out" / "read.kvp"; }
    std::filesystem::path Journal() const { return home.WorkingFile().string() + ".journal"; }

    std::vector<std::string> Arguments(Operation op) const
    {
        switch (op) {
        case Operation::Import: return {"import", NewFile().string()};
        case Operation::ReadBack: return {"read-keyboard", ReadFile().string()};
        case Operation::Lighting: break;
        }
        return {"lighting", "brightness", "1"};
    }

    VkbdProcess keyboard{kMatrixKeyboard};
    CliHome home;
};

// One clean run of each operation on a bench of its own: where the fault goes and what a run
// that succeeds leaves.
struct Reference {
    int faultAfter = 0;          // commands answered before the one the fault hits
    KeyboardHolds holds;         // what the keyboard holds after a clean run
    std::string readBack;        // the file a clean read-back writes
};

const Reference& ReferenceFor(Operation op)
{
    static std::map<Operation, Reference> references;
    if (const auto found = references.find(op); found != references.end())
        return found->second;
    Bench bench;
    Reference& reference = references[op];
    EXPECT_EQ(bench.home.Run({"import", bench.OldFile().string()}).exitCode, 0);
    int before = CommandsReceived(bench.keyboard);
    EXPECT_EQ(bench.home.Run({"status"}).exitCode, 0);
    const int arrival = CommandsReceived(bench.keyboard) - before;  // the arrival's reads and status's own
    std::filesystem::create_directories(bench.ReadFile().parent_path());
    before = CommandsReceived(bench.keyboard);
    const ProgramRun run = bench.home.Run(bench.Arguments(op));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const int total = CommandsReceived(bench.keyboard) - before;
    // Halfway through the transfer; a lighting change is begin, write, end: the write.
    reference.faultAfter = op == Operation::Lighting ? total - 2 : arrival + (total - arrival) / 2;
    reference.holds = ReadHolds(bench.keyboard);
    reference.readBack = Slurp(bench.ReadFile());
    return reference;
}

class CliFaultMatrix : public ::testing::TestWithParam<std::tuple<Operation, Fault>> {
protected:
    void SetUp() override
    {
        std::tie(op_, fault_) = GetParam();
        reference_ = &ReferenceFor(op_);
        ASSERT_TRUE(bench_.keyboard.Running());
        ASSERT_EQ(bench_.home.Run({"import", bench_.OldFile().string()}).exitCode, 0);
        std::filesystem::create_directories(bench_.ReadFile().parent_path());
        std::ofstream(bench_.ReadFile()) << "what the file held before";
        before_ = ReadHolds(bench_.keyboard);
        working_ = Slurp(bench_.home.WorkingFile());
        ASSERT_EQ(working_, Slurp(bench_.OldFile()));
    }

    // Runs the operation with the fault armed; false when it hung.
    ProgramRun RunWithFault()
    {
        const int received = CommandsReceived(bench_.keyboard);
        Arm(bench_.keyboard, fault_, reference_->faultAfter);
        const CliHome::Child child = bench_.home.Start(bench_.Arguments(op_));
        if (fault_ == Fault::Unplug || fault_ == Fault::Kill) {
            EXPECT_TRUE(WaitUntilReceived(bench_.keyboard, received + reference_->faultAfter + 1));
            if (fault_ == Fault::Unplug)
                bench_.keyboard.Control("unplug");
            else
                ::kill(child.pid, SIGKILL);
        }
        bool hung = false;
        ProgramRun run = bench_.home.Wait(child, std::chrono::seconds(60), &hung);
        EXPECT_FALSE(hung) << "the operation hangs";
        Disarm(bench_.keyboard);
        return run;
    }

    // Exit status and message of the faulted run; `stage` is what the message must name.
    void ExpectAnswer(const ProgramRun& run, const std::string& stage)
    {
        if (fault_ == Fault::Kill)
            return;  // killed: no word from it
        if (!Fails(fault_)) {
            EXPECT_EQ(run.exitCode, 0) << run.err;
            return;
        }
        EXPECT_EQ(run.exitCode, 1) << run.err;
        EXPECT_TRUE(SaysOneOf(run.err, CauseWords(fault_))) << "the cause is not named: " << run.err;
        EXPECT_NE(run.err.find(stage), std::string::npos) << "the stage is not named: " << run.err;
    }

    Operation op_ = Operation::Import;
    Fault fault_ = Fault::Unplug;
    const Reference* reference_ = nullptr;
    Bench bench_;
    KeyboardHolds before_;
    std::string working_;
};

TEST_P(CliFaultMatrix, AnswersTrulyAndLeavesOldOrNewDataInFull)
{
    const ProgramRun run = RunWithFault();
    const KeyboardHolds after = ReadHolds(bench_.keyboard);
    switch (op_) {
    case Operation::Import: {
        ExpectAnswer(run, "writing the ");
        // The working file is saved before the download; the journal stays until the keyboard
        // holds it all.
        EXPECT_EQ(Slurp(bench_.home.WorkingFile()), Slurp(bench_.NewFile()));
        EXPECT_EQ(std::filesystem::exists(bench_.Journal()), fault_ != Fault::LateReply);
        if (fault_ == Fault::LateReply) {
            EXPECT_EQ(after, reference_->holds);
            break;
        }
        // The next run meets the keyboard and completes the download first.
        const CliHome::Child next = bench_.home.Start({"status"});
        const ProgramRun completed = bench_.home.Wait(next);
        EXPECT_EQ(completed.exitCode, 0) << completed.err;
        EXPECT_NE(completed.err.find("has now been completed"), std::string::npos) << completed.err;
        EXPECT_EQ(ReadHolds(bench_.keyboard), reference_->holds) << "the keyboard does not hold the import in full";
        EXPECT_EQ(Slurp(bench_.home.WorkingFile()), Slurp(bench_.NewFile()));
        EXPECT_FALSE(std::filesystem::exists(bench_.Journal()));
        break;
    }
    case Operation::ReadBack:
        ExpectAnswer(run, "reading the keyboard");
        EXPECT_EQ(after, before_) << "a read changed the keyboard";
        EXPECT_EQ(Slurp(bench_.ReadFile()),
                  fault_ == Fault::LateReply ? reference_->readBack : "what the file held before")
            << "the file was written with what was not read in full";
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(bench_.ReadFile().parent_path()), {}), 1)
            << "a file was left beside the one asked for";
        EXPECT_EQ(Slurp(bench_.home.WorkingFile()), working_);
        break;
    case Operation::Lighting: {
        ExpectAnswer(run, "lighting");
        KeyboardHolds lightingOnly = before_;
        lightingOnly.lighting = after.lighting;
        EXPECT_EQ(after, lightingOnly) << "a lighting write changed more than the lighting";
        const bool old = after.lighting == before_.lighting;
        EXPECT_TRUE(old || after.lighting == reference_->holds.lighting) << "half a lighting change";
        if (fault_ == Fault::RefuseFF || fault_ == Fault::RefuseFE) {
            EXPECT_TRUE(old) << "a refused write was carried out";
        }
        if (fault_ == Fault::LateReply) {
            EXPECT_EQ(after.lighting, reference_->holds.lighting);
        }
        EXPECT_EQ(Slurp(bench_.home.WorkingFile()), working_);
        break;
    }
    }
    // Whatever happened, the keyboard serves the next command.
    const ProgramRun status = bench_.home.Wait(bench_.home.Start({"status"}));
    EXPECT_EQ(status.exitCode, 0) << status.err;
}

std::string CellName(const ::testing::TestParamInfo<std::tuple<Operation, Fault>>& info)
{
    return FaultName(std::get<1>(info.param)) + "During" + OperationName(std::get<0>(info.param));
}

INSTANTIATE_TEST_SUITE_P(Import, CliFaultMatrix,
                         ::testing::Combine(::testing::Values(Operation::Import), ::testing::ValuesIn(kAllFaults)),
                         CellName);
INSTANTIATE_TEST_SUITE_P(ReadBack, CliFaultMatrix,
                         ::testing::Combine(::testing::Values(Operation::ReadBack), ::testing::ValuesIn(kAllFaults)),
                         CellName);
INSTANTIATE_TEST_SUITE_P(Lighting, CliFaultMatrix,
                         ::testing::Combine(::testing::Values(Operation::Lighting), ::testing::ValuesIn(kAllFaults)),
                         CellName);

} // namespace
} // namespace kovantis::testing
