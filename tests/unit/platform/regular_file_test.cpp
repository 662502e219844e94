// Files from outside are refused at once unless they are regular files, with a cause a user
// can read; files holding the user's data are written for the user alone.

#include <gtest/gtest.h>

#include <chrono>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "platform/regular_file.h"
#include "temp_dir.h"

namespace kovantis {
namespace {

using testing::TempDir;

TEST(RegularFile, RefusesWhatIsNotARegularFileWithoutBlocking)
{
    TempDir dir;
    const std::string fifo = (dir.path() / "pipe").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string link = (dir.path() / "dangling").string();
    ASSERT_EQ(::symlink((dir.path() / "nowhere").c_str(), link.c_str()), 0);

    const auto start = std::chrono::steady_clock::now();
    struct Case {
        std::string path;
        FileProblem problem;
        const char* words;
    };
    for (const Case& c : {Case{fifo, FileProblem::Fifo, "FIFO"},
                          Case{dir.path().string(), FileProblem::Folder, "folder"},
                          Case{"/dev/null", FileProblem::Device, "device"},
                          Case{link, FileProblem::Missing, "does not exist"},
                          Case{(dir.path() / "absent").string(), FileProblem::Missing, "does not exist"}}) {
        FileCheck check;
        EXPECT_FALSE(ReadRegularFile(c.path, 1 << 20, &check)) << c.path;
        EXPECT_EQ(check.problem, c.problem) << c.path;
        const std::string message = DescribeFileProblem(c.path, check);
        EXPECT_EQ(message.rfind(c.path + ": ", 0), 0u) << message;
        EXPECT_NE(message.find(c.words), std::string::npos) << message;
        // The readers built on it refuse the same without waiting for a writer.
        EXPECT_FALSE(ReadWholeFile(c.path, 1 << 20));
        EXPECT_FALSE(IniDocument::Load(c.path));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(RegularFile, ReadsInOnePassAndRefusesWhatIsTooLarge)
{
    TempDir dir;
    const std::string file = (dir.path() / "f").string();
    ASSERT_TRUE(WriteFileAtomically(file, std::string_view("0123456789")));
    EXPECT_EQ(ReadRegularFile(file, 10).value_or(""), "0123456789");
    FileCheck check;
    EXPECT_FALSE(ReadRegularFile(file, 9, &check));
    EXPECT_EQ(check.problem, FileProblem::TooLarge);
    // A sparse file announcing gigabytes is refused by its size, before any allocation.
    const std::string sparse = (dir.path() / "sparse").string();
    ASSERT_EQ(::truncate(file.c_str(), 0), 0);
    ASSERT_TRUE(WriteFileAtomically(sparse, std::string_view("x")));
    ASSERT_EQ(::truncate(sparse.c_str(), int64_t{3} << 30), 0);
    EXPECT_FALSE(ReadRegularFile(sparse, 1 << 20, &check));
    EXPECT_EQ(check.problem, FileProblem::TooLarge);
}

TEST(AtomicFile, PrivateFilesAreTheUsersAloneWhateverTheUmaskAndTheOldFile)
{
    TempDir dir;
    const std::string file = (dir.path() / "profile").string();
    const mode_t old = ::umask(0);
    ASSERT_TRUE(WriteFileAtomically(file, std::string_view("shared")));
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0666u);
    ASSERT_TRUE(WriteFileAtomically(file, std::string_view("private"), FileAccess::Private));
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    const std::string fresh = (dir.path() / "fresh").string();
    ASSERT_TRUE(WriteFileAtomically(fresh, std::string_view("x"), FileAccess::Private));
    ASSERT_EQ(::stat(fresh.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ::umask(old);
}

} // namespace
} // namespace kovantis
