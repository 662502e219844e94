#include "profiles/transfer_journal.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/atomic_file.h"
#include "wire/le_bytes.h"
#include "platform/regular_file.h"
#include "profiles/profile_file.h"
#include "profiles/profile_image.h"

namespace kovantis {
namespace {

constexpr uint8_t kMagic[4] = {'K', 'V', 'J', '1'};
constexpr size_t kHeaderSize = 16;
constexpr uint8_t kAllProfiles = 0x01;
// A journal holds one profile file; nothing larger was ever written.
constexpr uint64_t kMaxJournalSize = kHeaderSize + kProfileImageSize + 100ull * 16512 + (16u << 20);

uint32_t Fnv1a(std::span<const uint8_t> bytes)
{
    uint32_t hash = 2166136261u;
    for (uint8_t b : bytes) {
        hash = (hash ^ b) * 16777619u;
    }
    return hash;
}

} // namespace

std::filesystem::path JournalPath(const Paths& paths)
{
    std::filesystem::path path = WorkingFilePath(paths);
    path += std::string(kJournalSuffix);
    return path;
}

// Layout: "KVJ1", flags (bit 0: all profiles), profile (0xFF: the active one), two zero bytes,
// u32 payload size, u32 FNV-1a of the payload, then the payload (a profile file).
std::vector<uint8_t> EncodeJournal(const TransferJournal& journal)
{
    std::vector<uint8_t> bytes(kHeaderSize + journal.profileFile.size());
    std::copy(std::begin(kMagic), std::end(kMagic), bytes.begin());
    bytes[4] = journal.scope.allProfiles ? kAllProfiles : 0;
    bytes[5] = journal.scope.profile < 0 ? 0xFF : static_cast<uint8_t>(journal.scope.profile);
    WriteU32(bytes, 8, static_cast<uint32_t>(journal.profileFile.size()));
    WriteU32(bytes, 12, Fnv1a(journal.profileFile));
    std::copy(journal.profileFile.begin(), journal.profileFile.end(), bytes.begin() + kHeaderSize);
    return bytes;
}

std::optional<TransferJournal> DecodeJournal(std::span<const uint8_t> bytes)
{
    if (bytes.size() < kHeaderSize || !std::equal(std::begin(kMagic), std::end(kMagic), bytes.begin())) {
        return std::nullopt;
    }
    const uint32_t size = ReadU32(bytes, 8);
    if (bytes.size() - kHeaderSize != size || (bytes[4] & ~kAllProfiles) != 0 || bytes[6] != 0 || bytes[7] != 0) {
        return std::nullopt;
    }
    const std::span<const uint8_t> payload = bytes.subspan(kHeaderSize);
    if (Fnv1a(payload) != ReadU32(bytes, 12)) {
        return std::nullopt;
    }
    TransferJournal journal;
    journal.scope.allProfiles = (bytes[4] & kAllProfiles) != 0;
    journal.scope.profile = bytes[5] == 0xFF ? -1 : bytes[5];
    if (journal.scope.profile >= kProfileCount) {
        return std::nullopt;
    }
    journal.profileFile.assign(payload.begin(), payload.end());
    return journal;
}

bool WriteJournal(const std::filesystem::path& path, const TransferJournal& journal)
{
    try {
        return WriteFileAtomically(path.string(), EncodeJournal(journal), FileAccess::Private);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

std::optional<TransferJournal> ReadJournal(const std::filesystem::path& path, std::string* problem)
{
    FileCheck check;
    const std::optional<std::string> bytes = ReadRegularFile(path.string(), kMaxJournalSize, &check);
    if (!bytes) {
        if (problem != nullptr) {
            *problem = check.problem == FileProblem::Missing ? std::string() : DescribeFileProblem(path.string(), check);
        }
        return std::nullopt;
    }
    std::optional<TransferJournal> journal =
        DecodeJournal(std::span(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()));
    if (!journal && problem != nullptr) {
        *problem = path.string() + ": is damaged and cannot be used";
    }
    return journal;
}

bool JournalExists(const std::filesystem::path& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool RemoveJournal(const std::filesystem::path& path)
{
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        return false;
    }
    const int folder = ::open(path.parent_path().empty() ? "." : path.parent_path().c_str(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

} // namespace kovantis
