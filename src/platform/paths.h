#pragma once
// Where the program's files live on Linux.
//
//  - Shipped read-only data (Skins/, Help/, Package/) sits beside the program in the build tree
//    (build/bin/Skins) and under <prefix>/share/kovantis/ for a program installed in
//    <prefix>/bin.
//  - Files the program would write beside itself (language choice, user lighting modes) go to
//    the per-user overlay $XDG_DATA_HOME/kovantis/Skins/, which is read first; the shipped file
//    is the fallback and the template. The installed program folder is not writable.
//  - The user's own data lives in <documents>/Kovantis_09A, created when first needed; the
//    documents folder is XDG_DOCUMENTS_DIR from user-dirs.dirs, else $HOME/Documents.
//  - The application settings store is $XDG_CONFIG_HOME/Kovantis_Brenmor/Kovantis.ini.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kovantis {

// The roots every path is built from. Tests pass their own temporary folders.
struct PathRoots {
    std::filesystem::path program_folder;  // folder of the program file
    std::filesystem::path home;            // $HOME
    std::filesystem::path config_home;     // $XDG_CONFIG_HOME
    std::filesystem::path data_home;       // $XDG_DATA_HOME
};

class Paths {
public:
    explicit Paths(PathRoots roots);

    // Roots of the running program: its folder from /proc/self/exe and the environment.
    static Paths FromEnvironment();
    // The roots for a program folder and an environment, following the XDG rules: unset,
    // empty or relative XDG variables fall back to ~/.config and ~/.local/share, and HOME to
    // the account's home folder.
    using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;
    static PathRoots RootsFor(std::filesystem::path program_folder,
                              const EnvironmentLookup& lookup);

    const std::filesystem::path& ProgramFolder() const { return roots_.program_folder; }

    // The shipped Skins/ folder: beside the program when it exists there, else the installed
    // data folder.
    std::filesystem::path SkinsFolder() const;
    std::filesystem::path ShippedFile(std::string_view name) const;
    // The per-user overlay of Skins/.
    std::filesystem::path OverlayFolder() const;
    std::filesystem::path OverlayFile(std::string_view name) const;
    // The overlay copy of a Skins/ file when there is one, else the shipped file.
    std::filesystem::path ResolveReadable(std::string_view name) const;
    // Where a Skins/ file is written: in the overlay, whose folder this creates (an error is
    // left for the write itself to report).
    std::filesystem::path WritablePath(std::string_view name) const;

    std::filesystem::path HelpFolder() const;
    std::filesystem::path HelpIndex() const;
    // Default folder of the firmware updater chooser.
    std::filesystem::path PackageFolder() const;

    std::filesystem::path DocumentsFolder() const;
    // <documents>/Kovantis_09A; not created by asking.
    std::filesystem::path UserFolder() const;
    // Creates the per-user folder when it is missing; false when it still does not exist.
    bool EnsureUserFolder() const;
    std::filesystem::path OvraIni() const;

    // The file behind the application settings store.
    std::filesystem::path SettingsStoreFile() const;

private:
    std::filesystem::path ShippedFolder(std::string_view name) const;

    PathRoots roots_;
};

} // namespace kovantis
