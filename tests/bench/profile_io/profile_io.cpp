// Saving and loading the largest profile file (100 macros of 2000 steps) against writing and
// reading the same bytes plainly, in the same run and the same folder. Both writes reach the
// disk (fsync), since a save that could be lost in a crash is no baseline for one that cannot.
//
//   profile_io [FOLDER] [ROUNDS]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "profiles/profile_file.h"

namespace {

using Steady = std::chrono::steady_clock;

double Seconds(Steady::duration d) { return std::chrono::duration<double>(d).count(); }

void PlainWrite(const std::string& path, const std::vector<uint8_t>& bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) || ::fsync(fd) != 0) {
        std::perror("plain write");
        std::exit(1);
    }
    ::close(fd);
}

std::vector<uint8_t> PlainRead(const std::string& path, size_t size)
{
    std::vector<uint8_t> bytes(size);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::read(fd, bytes.data(), size) != static_cast<ssize_t>(size)) {
        std::perror("plain read");
        std::exit(1);
    }
    ::close(fd);
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace kovantis;
    const std::filesystem::path folder = argc > 1 ? argv[1] : std::filesystem::temp_directory_path();
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    const std::filesystem::path profile = folder / "profile_io_bench.kvp";
    const std::string plain = (folder / "profile_io_bench.bin").string();

    ProfileData data(ProfileDataRole::Working);
    {
        ProfileData::Lock lock(data);
        lock->macros.assign(kMaxMacros, MacroRecord{});
        for (size_t i = 0; i < lock->macros.size(); ++i) {
            lock->macros[i].SetName(u"Benchmark macro");
            lock->macros[i].id = static_cast<uint16_t>(i + 1);
            lock->macros[i].actionCount = kMaxMacroActions;
            lock->macros[i].actions.fill({100, 0x01E, kMacroPress});
        }
    }
    std::vector<uint8_t> bytes;
    {
        ProfileData::Lock lock(data);
        bytes = SerializeProfileContents(*lock);
    }

    Steady::duration ours{}, baseline{};
    for (int r = 0; r < rounds; ++r) {
        // Alternate the order so that neither side always meets a warm or a cold cache.
        for (int side = 0; side < 2; ++side) {
            const auto start = Steady::now();
            if ((side + r) % 2 == 0) {
                ProfileData loaded(ProfileDataRole::Working);
                if (SaveProfileFile(profile, data) != 1 || LoadProfileFile(profile, loaded) != 1) {
                    std::fprintf(stderr, "profile_io: save or load failed\n");
                    return 1;
                }
                ours += Steady::now() - start;
            } else {
                PlainWrite(plain, bytes);
                const std::vector<uint8_t> back = PlainRead(plain, bytes.size());
                baseline += Steady::now() - start;
                if (back != bytes) {
                    return 1;
                }
            }
        }
    }
    std::filesystem::remove(profile);
    std::filesystem::remove(plain);
    const double ratio = Seconds(ours) / Seconds(baseline);
    std::printf("profile_io: %zu-byte file, %d rounds: save+load %.2f ms, plain write+read %.2f ms\n", bytes.size(),
                rounds, 1000 * Seconds(ours) / rounds, 1000 * Seconds(baseline) / rounds);
    std::printf("profile_io ratio %.3f (goal <= 2)\n", ratio);
    return 0;
}
