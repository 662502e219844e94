#include "cli/failure_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "device/command_set.h"
#include "device/request_channel.h"

namespace kovantis::cli {
namespace {

class FailureTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kovantis-failure-text-XXXXXX";
        folder_ = ::mkdtemp(pattern);
    }
    void TearDown() override
    {
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(folder_);
    }
    std::filesystem::path folder_;
};

TEST_F(FailureTextTest, ReadProblemsSayWhatTheSystemSays)
{
    EXPECT_EQ(ReadProblem(folder_ / "missing.kvp"), "No such file or directory");
    EXPECT_EQ(ReadProblem(folder_), "Is a directory");
    EXPECT_EQ(ReadProblem(folder_ / "missing" / "deeper.kvp"), "No such file or directory");
    std::ofstream(folder_ / "plain.kvp") << "x";
    EXPECT_EQ(ReadProblem(folder_ / "plain.kvp"), std::nullopt);
    EXPECT_EQ(ReadProblem(folder_ / "plain.kvp" / "below"), "Not a directory");
    ASSERT_EQ(::mkfifo((folder_ / "pipe").c_str(), 0600), 0);
    EXPECT_EQ(ReadProblem(folder_ / "pipe"), "not a regular file") << "a pipe would block the read";
}

TEST_F(FailureTextTest, UnreadableFileIsNamedAsSuch)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root opens any file: permissions cannot make one unreadable here";
    std::ofstream(folder_ / "secret.kvp") << "x";
    std::filesystem::permissions(folder_ / "secret.kvp", std::filesystem::perms::none);
    EXPECT_EQ(ReadProblem(folder_ / "secret.kvp"), "Permission denied");
}

TEST_F(FailureTextTest, WriteProblemsNameTheFolder)
{
    EXPECT_EQ(WriteProblem(folder_ / "new.kvp"), std::nullopt);
    EXPECT_EQ(WriteProblem(folder_), "Is a directory");
    const auto missing = WriteProblem(folder_ / "no-such-folder" / "new.kvp");
    ASSERT_TRUE(missing);
    EXPECT_NE(missing->find((folder_ / "no-such-folder").string()), std::string::npos) << *missing;
    EXPECT_NE(missing->find("No such file or directory"), std::string::npos) << *missing;
    std::ofstream(folder_ / "file") << "x";
    const auto notFolder = WriteProblem(folder_ / "file" / "new.kvp");
    ASSERT_TRUE(notFolder);
    EXPECT_EQ(*notFolder, (folder_ / "file").string() + " is not a folder");
}

TEST(ResultReason, EveryKnownResultHasItsOwnWords)
{
    const std::vector<int> known{kSendNoDevice, kSendRefused, kSendNoReply, kResultRefusedFF, kResultRefusedFE,
                                 kResultBadArgument};
    std::set<std::string> texts;
    for (int result : known) {
        const std::string text = ResultReason(result);
        EXPECT_EQ(text.find("result"), std::string::npos) << text;
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), known.size());
    EXPECT_NE(ResultReason(kSendNoReply).find("did not answer"), std::string::npos);
    EXPECT_NE(ResultReason(kResultRefusedFF).find("refused"), std::string::npos);
    EXPECT_NE(ResultReason(-7).find("-7"), std::string::npos);
}

} // namespace
} // namespace kovantis::cli
