#include "profiles/profile_file.h"

#include <limits>

#include "app/text_format.h"
#include "device/device_ids.h"
#include "profiles/string_area.h"
#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "platform/regular_file.h"

namespace kovantis {
namespace {

constexpr uint64_t kFourGiB = uint64_t{1} << 32;

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
    return WriteFileAtomically(path.string(), bytes, FileAccess::Private) ? 1 : 0;
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
    FileCheck check;
    const RegularFile file(path.string(), &check);
    if (!file.IsOpen()) {
        return check.problem == FileProblem::Missing ? kProfileFileInvalid : kProfileFileUnreadable;
    }
    if (file.Size() < kProfileImageSize || file.Size() >= kFourGiB) {
        return kProfileFileInvalid;
    }
    std::array<uint8_t, kProfileHeaderSize> header{};
    if (!file.ReadAt(0, header)) {
        return kProfileFileUnreadable;
    }
    if (!HeaderIsValid(DecodeProfileHeader(header), header)) {
        ShowFormatError(path, prompter, texts);
        return kProfileFileInvalid;
    }
    return kProfileFileValid;
}

void ShowFormatError(const std::filesystem::path& path, Prompter& prompter, const TextSource& texts)
{
    const std::u16string shown = Utf8ToUtf16(path.string());
    prompter.ShowMessage(FormatText(texts.Text("PROFILE_FORMAT_ERROR"), {std::u16string_view(shown)}));
}

std::unique_ptr<ProfileContents> ParseProfileContents(std::span<const uint8_t> bytes)
{
    if (bytes.size() < kProfileImageSize) {
        return nullptr;
    }
    const ProfileHeader header = DecodeProfileHeader(HeaderOf(bytes));
    if (header.macroCount > kMaxMacros || header.stringAreaSize > kMaxStringAreaSize ||
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

ProfileFileRead ReadProfileFile(const std::filesystem::path& path)
{
    ProfileFileRead read;
    const std::string name = path.string();
    FileCheck check;
    const RegularFile file(name, &check);
    if (!file.IsOpen()) {
        read.problem = DescribeFileProblem(name, check);
        return read;
    }
    const uint64_t size = file.Size();
    if (size < kProfileImageSize) {
        read.problem = name + ": " + (size == 0 ? std::string("is empty") : "is only " + std::to_string(size) + " bytes") +
                       ", too short for a profile file (at least " + std::to_string(kProfileImageSize) + " bytes)";
        return read;
    }
    std::array<uint8_t, kProfileHeaderSize> headerBytes{};
    if (!file.ReadAt(0, headerBytes)) {
        read.problem = name + ": cannot be read";
        return read;
    }
    const ProfileHeader header = DecodeProfileHeader(headerBytes);
    read.headerValid = HeaderIsValid(header, headerBytes);
    // Every limit is checked against the header and the file's real size before the body is
    // allocated or read.
    if (header.macroCount > kMaxMacros) {
        read.problem = name + ": its header announces " + std::to_string(header.macroCount) +
                       " macros, more than the " + std::to_string(kMaxMacros) + " a profile holds";
        return read;
    }
    if (header.stringAreaSize > kMaxStringAreaSize) {
        read.problem = name + ": its header announces " + std::to_string(header.stringAreaSize) +
                       " bytes of texts, more than the " + std::to_string(kMaxStringAreaSize) +
                       " a profile file may hold";
        return read;
    }
    const uint64_t needed = ProfileFileSize(header.macroCount, header.stringAreaSize);
    if (size < needed) {
        read.problem = name + ": is " + std::to_string(size) + " bytes, but its header announces " +
                       std::to_string(needed) + " (the file is cut short)";
        return read;
    }
    try {
        // The one pass over the file: the header is read again with the rest.
        std::vector<uint8_t> bytes(static_cast<size_t>(needed));
        if (!file.ReadAt(0, bytes)) {
            read.problem = name + ": ended while it was read";
            return read;
        }
        read.contents = ParseProfileContents(bytes);
    } catch (const std::bad_alloc&) {
        read.problem = name + ": not enough memory to read it";
        return read;
    }
    if (!read.contents) {
        read.problem = name + ": holds a macro record that breaks the limits of a macro";
    } else if (!read.headerValid) {
        read.problem = name + ": its header is not that of a profile file (wrong mark, version, sizes or checksum)";
    }
    return read;
}

std::unique_ptr<ProfileContents> ReadProfileContents(const std::filesystem::path& path)
{
    return ReadProfileFile(path).contents;
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
