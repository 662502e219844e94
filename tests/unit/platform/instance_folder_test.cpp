// The lock and the socket of the running desktop program: one place for both programs, a
// fallback folder nobody else can prepare, a lock nobody else can hold, a channel that answers.

#include <gtest/gtest.h>

#include <cerrno>
#include <map>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/instance_channel.h"
#include "platform/instance_folder.h"
#include "temp_dir.h"

namespace kovantis {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::TempDir;

EnvironmentValue Environment(std::map<std::string, std::string> values)
{
    return [values](const char* name) -> std::optional<std::string> {
        const auto found = values.find(name);
        return found == values.end() ? std::nullopt : std::optional<std::string>(found->second);
    };
}

mode_t ModeOf(const fs::path& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(InstancePaths, RuntimeFolderFirstElseAPrivateFolderOfTheUser)
{
    TempDir dir;
    const fs::path runtime = dir / "run";
    fs::create_directories(runtime);
    std::string error;
    const auto inRuntime = InstancePathsFor(Environment({{"XDG_RUNTIME_DIR", runtime}, {"TMPDIR", dir.path()}}),
                                            ::getuid(), FolderUse::Create, &error);
    ASSERT_TRUE(inRuntime) << error;
    EXPECT_EQ(inRuntime->lock, runtime / "kovantis.lock");
    EXPECT_EQ(inRuntime->socket, runtime / "kovantis.sock");

    // Unset, empty, relative or missing runtime folders all fall back, and only Create makes it.
    const fs::path fallback = dir / ("kovantis-" + std::to_string(::getuid()));
    for (const auto& env : {std::map<std::string, std::string>{{"TMPDIR", dir.path()}},
                            {{"TMPDIR", dir.path()}, {"XDG_RUNTIME_DIR", ""}},
                            {{"TMPDIR", dir.path()}, {"XDG_RUNTIME_DIR", "run"}},
                            {{"TMPDIR", dir.path()}, {"XDG_RUNTIME_DIR", (dir / "gone").string()}}}) {
        const auto inspected = InstancePathsFor(Environment(env), ::getuid(), FolderUse::Inspect, &error);
        ASSERT_TRUE(inspected) << error;
        EXPECT_EQ(inspected->lock, fallback / "kovantis.lock");
        EXPECT_FALSE(fs::exists(fallback)) << "only looking never makes the folder";
        const auto made = InstancePathsFor(Environment(env), ::getuid(), FolderUse::Create, &error);
        ASSERT_TRUE(made) << error;
        EXPECT_EQ(made->socket, fallback / "kovantis.sock");
        EXPECT_EQ(ModeOf(fallback), 0700u);
        fs::remove(fallback);
    }
}

TEST(InstancePaths, AFallbackFolderSomebodyElseCouldHavePreparedIsRefused)
{
    TempDir dir;
    const fs::path fallback = dir / ("kovantis-" + std::to_string(::getuid()));
    const auto env = Environment({{"TMPDIR", dir.path()}});
    const auto refusal = [&](FolderUse use, uid_t uid = ::getuid()) {
        std::string error;
        EXPECT_FALSE(InstancePathsFor(env, uid, use, &error));
        const fs::path folder = dir / ("kovantis-" + std::to_string(uid));
        EXPECT_NE(error.find(folder.string()), std::string::npos) << error;
        return error;
    };

    // A link to a folder that looks right in every other way.
    fs::create_directories(dir / "elsewhere");
    fs::permissions(dir / "elsewhere", fs::perms::owner_all, fs::perm_options::replace);
    fs::create_directory_symlink(dir / "elsewhere", fallback);
    EXPECT_NE(refusal(FolderUse::Create).find("symbolic link"), std::string::npos);
    EXPECT_NE(refusal(FolderUse::Inspect).find("symbolic link"), std::string::npos);
    fs::remove(fallback);

    fs::create_directory(fallback);
    for (const mode_t mode : {0777u, 0720u, 0702u}) {
        ::chmod(fallback.c_str(), mode);
        EXPECT_NE(refusal(FolderUse::Create).find("other users may write"), std::string::npos) << std::oct << mode;
    }
    ::chmod(fallback.c_str(), 0700);
    EXPECT_TRUE(InstancePathsFor(env, ::getuid(), FolderUse::Create, nullptr)) << "0700 and ours is fine";
    // Made by the user running the test: for the user next to it, it is a stranger's folder.
    const uid_t other = ::getuid() + 1;
    fs::create_directory(dir / ("kovantis-" + std::to_string(other)));
    ::chmod((dir / ("kovantis-" + std::to_string(other))).c_str(), 0700);
    EXPECT_NE(refusal(FolderUse::Create, other).find("belongs to user"), std::string::npos);
    EXPECT_NE(refusal(FolderUse::Inspect, other).find("belongs to user"), std::string::npos);
    fs::remove(fallback);

    testing::WriteFile(fallback, "");
    EXPECT_NE(refusal(FolderUse::Create).find("not a folder"), std::string::npos);
}

TEST(InstanceLock, OneHolderAtATimeAndNothingLeftBehind)
{
    TempDir dir;
    const fs::path path = dir / "kovantis.lock";
    std::string error;
    {
        InstanceLock first;
        ASSERT_EQ(first.Acquire(path, &error), InstanceLock::Outcome::Taken) << error;
        EXPECT_EQ(testing::ReadFile(path), std::to_string(::getpid()) + "\nkovantis\n");
        EXPECT_EQ(ModeOf(path), 0600u);
        InstanceLock second;
        EXPECT_EQ(second.Acquire(path, &error), InstanceLock::Outcome::HeldByOther);
        first.Release();
        EXPECT_FALSE(fs::exists(path));
        EXPECT_EQ(second.Acquire(path, &error), InstanceLock::Outcome::Taken) << error;
    }
    EXPECT_FALSE(fs::exists(path)) << "released when it goes";

    // A file left by a program that crashed holds no lock: it is taken over.
    testing::WriteFile(path, "999999999\nkovantis\n");
    InstanceLock after;
    EXPECT_EQ(after.Acquire(path, &error), InstanceLock::Outcome::Taken) << error;
    after.Release();

    InstanceLock nowhere;
    EXPECT_EQ(nowhere.Acquire(dir / "missing" / "kovantis.lock", &error), InstanceLock::Outcome::Failed);
    EXPECT_NE(error.find((dir / "missing" / "kovantis.lock").string()), std::string::npos) << error;
}

TEST(LockHolder, OnlyALiveProcessOfThisUserHoldsTheLock)
{
    TempDir dir;
    const fs::path path = dir / "kovantis.lock";
    const pid_t child = ::fork();
    if (child == 0) {
        ::pause();
        ::_exit(0);
    }
    testing::WriteFile(path, std::to_string(child) + "\nkovantis\n");
    EXPECT_EQ(LockHolder(path), child);
    // Alive but not ours to signal: another user's process never holds our lock.
    EXPECT_FALSE(LockHolder(path, [](long) { return EPERM; }));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_FALSE(LockHolder(path)) << "a process that has ended";

    for (const char* text : {"", "abc\n", "12abc\n", "-5\n", "0\n"}) {
        testing::WriteFile(path, text);
        EXPECT_FALSE(LockHolder(path)) << text;
    }
    testing::WriteFile(path, std::to_string(::getpid()) + "\n");
    EXPECT_FALSE(LockHolder(path)) << "the asking process itself";
    EXPECT_FALSE(LockHolder(dir / "absent"));

    // The real thing: process 1 may not be signalled by an ordinary user.
    testing::WriteFile(path, "1\nkovantis\n");
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(path.c_str(), 0644);
    const std::optional<bool> held = testing::AsUnprivileged([&] { return LockHolder(path).has_value(); });
    ASSERT_TRUE(held.has_value()) << "could not drop root's rights";
    EXPECT_FALSE(*held);
}

TEST(InstanceChannel, ALineIsAnsweredAndSilenceOrAbsenceIsNotSuccess)
{
    TempDir dir;
    const fs::path path = dir / "kovantis.sock";
    EXPECT_FALSE(SendInstanceLine(path, "OPEN\n", 1s)) << "nobody listens";

    std::string error;
    const int listening = ListenOnInstanceSocket(path, &error);
    ASSERT_GE(listening, 0) << error;
    EXPECT_EQ(ModeOf(path), 0600u);
    std::string received;
    std::thread server([&] {
        for (int answered = 0; answered < 2;) {
            const int client = AcceptInstanceClient(listening);
            if (client < 0) {
                std::this_thread::sleep_for(1ms);
                continue;
            }
            char buffer[64];
            ssize_t got = -1;
            while ((got = ::recv(client, buffer, sizeof buffer, 0)) < 0 && errno == EAGAIN)
                std::this_thread::sleep_for(1ms);
            received.append(buffer, static_cast<size_t>(std::max<ssize_t>(got, 0)));
            // The first is answered, the second left waiting.
            if (answered++ == 0)
                ::send(client, "ok\n", 3, MSG_NOSIGNAL);
            else
                std::this_thread::sleep_for(400ms);
            ::close(client);
        }
    });
    EXPECT_TRUE(SendInstanceLine(path, "COMMAND 32784\n", 5s));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(SendInstanceLine(path, "KILL\n", 100ms));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 350ms) << "gives up at its time-out";
    server.join();
    EXPECT_EQ(received, "COMMAND 32784\nKILL\n");

    // A socket file left by a program that ended is replaced.
    ::close(listening);
    const int again = ListenOnInstanceSocket(path, &error);
    EXPECT_GE(again, 0) << error;
    ::close(again);
    EXPECT_LT(ListenOnInstanceSocket(dir / std::string(120, 'x'), &error), 0);
    EXPECT_NE(error.find("too long"), std::string::npos) << error;
}

TEST(LineCollector, LinesArriveWholeWhateverTheChunksAndOverlongOnesAreDropped)
{
    LineCollector lines;
    std::string line;
    lines.Add("OP");
    EXPECT_FALSE(lines.Next(&line));
    lines.Add("EN\nKILL\nCOMM");
    ASSERT_TRUE(lines.Next(&line));
    EXPECT_EQ(line, "OPEN");
    ASSERT_TRUE(lines.Next(&line));
    EXPECT_EQ(line, "KILL");
    EXPECT_FALSE(lines.Next(&line));
    lines.Add("AND 1\n");
    ASSERT_TRUE(lines.Next(&line));
    EXPECT_EQ(line, "COMMAND 1");

    // An endless line is never buffered whole nor cut into something that could be obeyed.
    lines.Add("COMMAND 3" + std::string(300, '2'));
    EXPECT_FALSE(lines.Next(&line));
    lines.Add(std::string(1000, '2') + "\nOPEN\n");
    ASSERT_TRUE(lines.Next(&line));
    EXPECT_EQ(line, "OPEN");
    lines.Add(std::string(LineCollector::kMaxLine + 1, 'x') + "\nKILL\n");
    ASSERT_TRUE(lines.Next(&line));
    EXPECT_EQ(line, "KILL");
}

} // namespace
} // namespace kovantis
