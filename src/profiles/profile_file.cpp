#include "profiles/profile_file.h"

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

#include "app/text_format.h"
#include "device/device_ids.h"
#include "profiles/string_area.h"
#include "platform/atomic_file.h"
#include "platform/ini_file.h"

namespace kovantis {
namespace {

constexpr uint64_t kFourGiB = uint64_t{1} << 32;

// A file opened for reading, closed on every path.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const std::filesystem::path& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC))
    {
    }
    ~ReadOnlyFile()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    // The size of a regular file; -1 for anything else.
    int64_t Size() const
    {
        struct stat info {};
        if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
            return -1;
        }
        return info.st_size;
    }
    bool ReadAt(uint64_t offset, std::span<uint8_t> out) const
    {
        size_t done = 0;
        while (done < out.size()) {
            const ssize_t n = ::pread(fd_, out.data() + done, out.size() - done,
                                      static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            done += static_cast<size_t>(n);
        }
        return true;
    }

private:
    int fd_;
};

bool HeaderIsValid(const ProfileHeader& h, std::span<const uint8_t, kProfileHeaderSize> bytes)
{
    return h.magic == kProfileFileMagic && h.headerSize == kProfileHeaderSize &&
           h.fixed == kProfileFileFixed && h.version == kProfileFileVersion &&
           h.totalSize >= kProfileImageSize && h.recordCount == kProfileRecordCount &&
           h.macroCount <= kMaxMacros && h.flag <= 1 &&
           h.totalSize == ProfileFileSize(h.macroCount, h.stringAreaSize) &&
           h.checksum == ProfileHeaderChecksum(bytes);
}

std::span<const uint8_t, kProfileHeaderSize> HeaderOf(std::span<const uint8_t> bytes)
{
    return bytes.first<kProfileHeaderSize>();
}

int WriteContents(const std::filesystem::path& path, ProfileContents& contents)
{
    const std::vector<uint8_t> bytes = SerializeProfileContents(contents);
    if (bytes.empty()) {
        return 0;
    }
    return WriteFileAtomically(path.string(), bytes) ? 1 : 0;
}

} // namespace

std::filesystem::path WithProfileExtension(std::filesystem::path path)
{
    if (!path.empty() && !path.has_extension()) {
        path += ".";
        path += std::string(kProfileFileExtension);
    }
    return path;
}

std::filesystem::path WorkingFilePath(const Paths& paths)
{
    paths.EnsureUserFolder();
    return paths.UserFolder() / std::string(kWorkingFileName);
}

int ValidateProfileFile(const std::filesystem::path& path, Prompter& prompter, const TextSource& texts)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return kProfileFileInvalid;
    }
    const ReadOnlyFile file(path);
    if (!file.IsOpen()) {
        return kProfileFileUnreadable;
    }
    const int64_t size = file.Size();
    if (size < static_cast<int64_t>(kProfileImageSize) || static_cast<uint64_t>(size) >= kFourGiB) {
        return kProfileFileInvalid;
    }
    std::array<uint8_t, kProfileHeaderSize> header{};
    if (!file.ReadAt(0, header)) {
        return kProfileFileUnreadable;
    }
    if (!HeaderIsValid(DecodeProfileHeader(header), header)) {
        const std::u16string shown = Utf8ToUtf16(path.string());
        prompter.ShowMessage(FormatText(texts.Text("PROFILE_FORMAT_ERROR"), {std::u16string_view(shown)}));
        return kProfileFileInvalid;
    }
    return kProfileFileValid;
}

std::unique_ptr<ProfileContents> ParseProfileContents(std::span<const uint8_t> bytes)
{
    if (bytes.size() < kProfileImageSize) {
        return nullptr;
    }
    const ProfileHeader header = DecodeProfileHeader(HeaderOf(bytes));
    if (header.macroCount > kMaxMacros ||
        bytes.size() < ProfileFileSize(header.macroCount, header.stringAreaSize)) {
        return nullptr;
    }
    std::unique_ptr<ProfileContents> contents = NewProfileContents();
    if (!contents) {
        return nullptr;
    }
    try {
        DecodeProfileImage(bytes.first<kProfileImageSize>(), contents->image);
        contents->macros.resize(header.macroCount);
        size_t at = kProfileImageSize;
        for (MacroRecord& record : contents->macros) {
            if (!DecodeMacroRecord(bytes.subspan(at).first<kMacroRecordSize>(), record)) {
                return nullptr;
            }
            at += kMacroRecordSize;
        }
        UnpackStringArea(contents->image.records, bytes.subspan(at, header.stringAreaSize), contents->strings);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return contents;
}

std::unique_ptr<ProfileContents> ReadProfileContents(const std::filesystem::path& path)
{
    const ReadOnlyFile file(path);
    if (!file.IsOpen()) {
        return nullptr;
    }
    const int64_t size = file.Size();
    if (size < static_cast<int64_t>(kProfileImageSize)) {
        return nullptr;
    }
    std::array<uint8_t, kProfileHeaderSize> headerBytes{};
    if (!file.ReadAt(0, headerBytes)) {
        return nullptr;
    }
    const ProfileHeader header = DecodeProfileHeader(headerBytes);
    const uint64_t needed = ProfileFileSize(header.macroCount, header.stringAreaSize);
    if (header.macroCount > kMaxMacros || static_cast<uint64_t>(size) < needed) {
        return nullptr;
    }
    try {
        std::vector<uint8_t> bytes(static_cast<size_t>(needed));
        if (!file.ReadAt(0, bytes)) {
            return nullptr;
        }
        return ParseProfileContents(bytes);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

int LoadProfileFile(const std::filesystem::path& path, ProfileData& data)
{
    std::unique_ptr<ProfileContents> fresh = ReadProfileContents(path);
    if (!fresh) {
        return 0;
    }
    ProfileData::Lock lock(data);
    lock.Replace(std::move(fresh));
    return 1;
}

std::vector<uint8_t> SerializeProfileContents(ProfileContents& contents)
{
    try {
        const std::vector<uint8_t> area = PackStringArea(contents.image.records, contents.strings);
        const size_t count = std::min(contents.macros.size(), static_cast<size_t>(kMaxMacros));
        const uint64_t total = ProfileFileSize(static_cast<uint32_t>(count), area.size());
        if (total > std::numeric_limits<uint32_t>::max()) {
            return {};
        }
        BuildProfileHeader(contents.image.header, static_cast<uint16_t>(count),
                           static_cast<uint32_t>(area.size()));
        std::vector<uint8_t> bytes(static_cast<size_t>(total));
        const std::span<uint8_t> out(bytes);
        EncodeProfileImage(contents.image, out.first<kProfileImageSize>());
        size_t at = kProfileImageSize;
        for (size_t i = 0; i < count; ++i, at += kMacroRecordSize) {
            EncodeMacroRecord(contents.macros[i], out.subspan(at).first<kMacroRecordSize>());
        }
        std::copy(area.begin(), area.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
        return bytes;
    } catch (const std::bad_alloc&) {
        return {};
    }
}

int SaveProfileFile(const std::filesystem::path& path, ProfileData& data)
{
    ProfileData::Lock lock(data);
    return WriteContents(path, *lock);
}

int SaveWorkingFile(const Paths& paths, ProfileData& data)
{
    std::error_code error;
    const std::filesystem::path path = WorkingFilePath(paths);
    if (!std::filesystem::exists(path, error)) {
        return 0;
    }
    return SaveProfileFile(path, data);
}

std::unique_ptr<ProfileContents> BlankProfileContents()
{
    std::unique_ptr<ProfileContents> contents = NewProfileContents();
    if (contents) {
        const DeviceIds ids = DeviceIdsFromEnvironment();
        InitBlankImage(contents->image, ids.vendorId, ids.productId);
    }
    return contents;
}

int CreateBlankImage(const std::filesystem::path& path)
{
    std::unique_ptr<ProfileContents> contents = BlankProfileContents();
    return contents ? WriteContents(path, *contents) : 0;
}

int CreateBlankImage(ProfileData& data)
{
    std::unique_ptr<ProfileContents> contents = BlankProfileContents();
    if (!contents) {
        return 0;
    }
    ProfileData::Lock lock(data);
    lock.Replace(std::move(contents));
    return 1;
}

} // namespace kovantis
