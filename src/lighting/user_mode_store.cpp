#include "lighting/user_mode_store.h"

#include <filesystem>
#include <system_error>

#include "platform/atomic_file.h"
#include "platform/paths.h"

namespace kovantis {

namespace {

constexpr std::size_t kMaxModeFileSize = 4 * 1024 * 1024;

} // namespace

std::string UserModeStore::FileName(int index)
{
    return "UserDengColor_" + std::to_string(index) + ".userd";
}

std::string UserModeStore::ReadPath(int index) const
{
    return paths_.ResolveReadable(FileName(index)).string();
}

std::string UserModeStore::PrepareWrite(int index) const
{
    const std::string name = FileName(index);
    const std::filesystem::path overlay = paths_.WritablePath(name);
    std::error_code ec;
    if (!std::filesystem::exists(overlay, ec)) {
        if (const auto shipped = ReadWholeFile(paths_.ShippedFile(name).string(), kMaxModeFileSize)) {
            WriteFileAtomically(overlay.string(), *shipped, FileAccess::Private);
        }
    }
    return overlay.string();
}

bool UserModeStore::CopyTemplateOver(int index) const
{
    const auto bytes = ReadWholeFile(ReadPath(kTemplateModeFile), kMaxModeFileSize);
    return bytes && WriteFileAtomically(paths_.WritablePath(FileName(index)).string(), *bytes, FileAccess::Private);
}

} // namespace kovantis
