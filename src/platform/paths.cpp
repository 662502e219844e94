#include "platform/paths.h"

#include "platform/atomic_file.h"

#include <cstdlib>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace kovantis {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSettingsVendor = "Kovantis_Brenmor";
constexpr std::string_view kAppTitle = "Kovantis";
constexpr std::string_view kUserFolderName = "Kovantis_09A";
constexpr std::size_t kMaxUserDirsSize = 64u << 10;

bool IsDirectory(const fs::path& path)
{
    std::error_code error;
    return fs::is_directory(path, error);
}

bool IsRegularFile(const fs::path& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

fs::path WithoutTrailingSeparator(fs::path path)
{
    path = path.lexically_normal();
    if (!path.has_filename() && path.has_parent_path() && path != path.root_path()) {
        path = path.parent_path();
    }
    return path;
}

fs::path AccountHome()
{
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir) {
        return entry->pw_dir;
    }
    return "/";
}

fs::path ProgramFolderOfProcess()
{
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (!error && program.has_parent_path()) {
        return program.parent_path();
    }
    return fs::current_path(error);
}

// One value of user-dirs.dirs: a double-quoted string that is "$HOME", "$HOME/..." or an
// absolute path, with backslash escapes; anything else is not a valid entry.
std::optional<fs::path> UserDirValue(std::string_view quoted, const fs::path& home)
{
    if (quoted.size() < 2 || quoted.front() != '"') {
        return std::nullopt;
    }
    std::string value;
    bool closed = false;
    for (std::size_t i = 1; i < quoted.size(); ++i) {
        const char c = quoted[i];
        if (c == '\\' && i + 1 < quoted.size()) {
            value.push_back(quoted[++i]);
        } else if (c == '"') {
            closed = true;
            break;
        } else {
            value.push_back(c);
        }
    }
    if (!closed) {
        return std::nullopt;
    }
    for (std::string_view prefix : {"$HOME", "${HOME}"}) {
        if (value == prefix) {
            return home;
        }
        if (value.starts_with(prefix) && value[prefix.size()] == '/') {
            return home / fs::path(value.substr(prefix.size() + 1));
        }
    }
    if (value.starts_with('/')) {
        return fs::path(value);
    }
    return std::nullopt;
}

std::optional<fs::path> DocumentsFromUserDirs(std::string_view text, const fs::path& home)
{
    constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR";
    std::optional<fs::path> found;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
            line.remove_prefix(1);
        }
        if (!line.starts_with(kKey) || line.substr(kKey.size(), 1) != "=") {
            continue;
        }
        // Like the shell reading the file, the last valid assignment counts.
        if (std::optional<fs::path> value = UserDirValue(line.substr(kKey.size() + 1), home)) {
            found = std::move(value);
        }
    }
    return found;
}

} // namespace

Paths::Paths(PathRoots roots) : roots_(std::move(roots))
{
    roots_.program_folder = WithoutTrailingSeparator(roots_.program_folder);
}

PathRoots Paths::RootsFor(fs::path program_folder, const EnvironmentLookup& lookup)
{
    const auto absolute = [&lookup](const char* name) -> std::optional<fs::path> {
        const std::optional<std::string> value = lookup(name);
        if (!value || value->empty() || !value->starts_with('/')) {
            return std::nullopt;
        }
        return fs::path(*value);
    };
    PathRoots roots;
    roots.program_folder = std::move(program_folder);
    roots.home = absolute("HOME").value_or(AccountHome());
    roots.config_home = absolute("XDG_CONFIG_HOME").value_or(roots.home / ".config");
    roots.data_home = absolute("XDG_DATA_HOME").value_or(roots.home / ".local" / "share");
    return roots;
}

Paths Paths::FromEnvironment()
{
    return Paths(RootsFor(ProgramFolderOfProcess(), [](const char* name) {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    }));
}

fs::path Paths::ShippedFolder(std::string_view name) const
{
    const fs::path beside = roots_.program_folder / name;
    if (IsDirectory(beside)) {
        return beside;
    }
    const fs::path installed = roots_.program_folder.parent_path() / "share" / "kovantis" / name;
    return IsDirectory(installed) ? installed : beside;
}

fs::path Paths::SkinsFolder() const
{
    return ShippedFolder("Skins");
}

fs::path Paths::ShippedFile(std::string_view name) const
{
    return SkinsFolder() / name;
}

fs::path Paths::OverlayFolder() const
{
    return roots_.data_home / "kovantis" / "Skins";
}

fs::path Paths::OverlayFile(std::string_view name) const
{
    return OverlayFolder() / name;
}

fs::path Paths::ResolveReadable(std::string_view name) const
{
    const fs::path overlay = OverlayFile(name);
    return IsRegularFile(overlay) ? overlay : ShippedFile(name);
}

fs::path Paths::WritablePath(std::string_view name) const
{
    std::error_code error;
    fs::create_directories(OverlayFolder(), error);
    return OverlayFile(name);
}

fs::path Paths::HelpFolder() const
{
    return ShippedFolder("Help");
}

fs::path Paths::HelpIndex() const
{
    return HelpFolder() / "index.html";
}

fs::path Paths::PackageFolder() const
{
    return ShippedFolder("Package");
}

fs::path Paths::DocumentsFolder() const
{
    const fs::path user_dirs = roots_.config_home / "user-dirs.dirs";
    if (const std::optional<std::string> text = ReadWholeFile(user_dirs, kMaxUserDirsSize)) {
        if (std::optional<fs::path> documents = DocumentsFromUserDirs(*text, roots_.home)) {
            return WithoutTrailingSeparator(*documents);
        }
    }
    return roots_.home / "Documents";
}

fs::path Paths::UserFolder() const
{
    return DocumentsFolder() / kUserFolderName;
}

bool Paths::EnsureUserFolder() const
{
    const fs::path folder = UserFolder();
    std::error_code error;
    fs::create_directories(folder, error);
    return IsDirectory(folder);
}

fs::path Paths::OvraIni() const
{
    return UserFolder() / "ovra.ini";
}

fs::path Paths::SettingsStoreFile() const
{
    return roots_.config_home / kSettingsVendor / (std::string(kAppTitle) + ".ini");
}

} // namespace kovantis
