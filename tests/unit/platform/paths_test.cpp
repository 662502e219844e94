#include "platform/paths.h"
#include "platform/settings_store.h"

#include "unit/platform/temp_dir.h"

#include <gtest/gtest.h>

#include <map>

namespace kovantis {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

PathRoots RootsIn(const TempDir& dir)
{
    return {dir / "prefix/bin", dir / "home", dir / "config", dir / "data"};
}

TEST(PathsTest, RootsFollowTheXdgRules)
{
    std::map<std::string, std::string> environment = {
        {"HOME", "/home/ann"}, {"XDG_CONFIG_HOME", "/cfg"}, {"XDG_DATA_HOME", "/data"}};
    const auto lookup = [&environment](const char* name) -> std::optional<std::string> {
        const auto found = environment.find(name);
        return found == environment.end() ? std::nullopt : std::optional(found->second);
    };
    PathRoots roots = Paths::RootsFor("/opt/k/bin", lookup);
    EXPECT_EQ(roots.home, "/home/ann");
    EXPECT_EQ(roots.config_home, "/cfg");
    EXPECT_EQ(roots.data_home, "/data");

    // Relative and empty values are not valid XDG folders.
    environment["XDG_CONFIG_HOME"] = "relative/cfg";
    environment["XDG_DATA_HOME"] = "";
    roots = Paths::RootsFor("/opt/k/bin", lookup);
    EXPECT_EQ(roots.config_home, "/home/ann/.config");
    EXPECT_EQ(roots.data_home, "/home/ann/.local/share");

    environment.clear();
    roots = Paths::RootsFor("/opt/k/bin", lookup);
    EXPECT_TRUE(roots.home.is_absolute());
    EXPECT_EQ(roots.config_home, roots.home / ".config");

    EXPECT_TRUE(Paths::FromEnvironment().ProgramFolder().is_absolute());
}

TEST(PathsTest, ShippedFilesBesideTheProgramElseInstalledAndOverlayFirst)
{
    TempDir dir;
    const Paths paths(RootsIn(dir));
    const fs::path installed = dir / "prefix/share/kovantis";

    // Nothing shipped anywhere: the folder beside the program, so errors name it.
    EXPECT_EQ(paths.SkinsFolder(), dir / "prefix/bin/Skins");

    fs::create_directories(installed / "Skins");
    fs::create_directories(installed / "Help");
    EXPECT_EQ(paths.SkinsFolder(), installed / "Skins");
    EXPECT_EQ(paths.HelpIndex(), installed / "Help/index.html");
    EXPECT_EQ(paths.PackageFolder(), dir / "prefix/bin/Package");

    // The build tree layout: Skins/ beside the program wins.
    fs::create_directories(dir / "prefix/bin/Skins");
    EXPECT_EQ(paths.ShippedFile("Main.ini"), dir / "prefix/bin/Skins/Main.ini");

    EXPECT_EQ(paths.OverlayFolder(), dir / "data/kovantis/Skins");
    EXPECT_EQ(paths.ResolveReadable("language.ini"), dir / "prefix/bin/Skins/language.ini");
    EXPECT_FALSE(fs::exists(paths.OverlayFolder()));
    const fs::path writable = paths.WritablePath("language.ini");
    EXPECT_EQ(writable, dir / "data/kovantis/Skins/language.ini");
    EXPECT_TRUE(fs::is_directory(paths.OverlayFolder()));
    WriteFile(writable, "[LANGUAGE]\nlanguage=0\n");
    EXPECT_EQ(paths.ResolveReadable("language.ini"), writable);

    EXPECT_EQ(Paths({dir / "prefix/bin/", {}, {}, {}}).ProgramFolder(), dir / "prefix/bin");
}

TEST(PathsTest, DocumentsFolderFromUserDirsAndUserFolderOnDemand)
{
    TempDir dir;
    const Paths paths(RootsIn(dir));
    const fs::path home = dir / "home";
    const fs::path user_dirs = dir / "config/user-dirs.dirs";

    EXPECT_EQ(paths.DocumentsFolder(), home / "Documents");

    WriteFile(user_dirs, "# written by xdg-user-dirs-update\n"
                         "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
                         "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    EXPECT_EQ(paths.DocumentsFolder(), home / "Dokumente");

    WriteFile(user_dirs, "XDG_DOCUMENTS_DIR=\"/srv/docs/\"\n");
    EXPECT_EQ(paths.DocumentsFolder(), "/srv/docs");

    WriteFile(user_dirs, "  XDG_DOCUMENTS_DIR=\"${HOME}/My \\\"Docs\\\"\"\n");
    EXPECT_EQ(paths.DocumentsFolder(), home / "My \"Docs\"");

    // Invalid entries are skipped; the last valid one counts.
    WriteFile(user_dirs, "XDG_DOCUMENTS_DIR=\"$HOME/first\"\n"
                         "XDG_DOCUMENTS_DIR=\"relative\"\n"
                         "XDG_DOCUMENTS_DIR=$HOME/unquoted\n"
                         "XDG_DOCUMENTS_DIRX=\"$HOME/other\"\n"
                         "XDG_DOCUMENTS_DIR=\"$HOMEWORK\"\n");
    EXPECT_EQ(paths.DocumentsFolder(), home / "first");

    WriteFile(user_dirs, "XDG_DOCUMENTS_DIR=\"$HOME\"\n");
    EXPECT_EQ(paths.UserFolder(), home / "Kovantis_09A");
    EXPECT_EQ(paths.OvraIni(), home / "Kovantis_09A/ovra.ini");
    EXPECT_FALSE(fs::exists(paths.UserFolder()));
    EXPECT_TRUE(paths.EnsureUserFolder());
    EXPECT_TRUE(fs::is_directory(paths.UserFolder()));
    EXPECT_TRUE(paths.EnsureUserFolder());

    // A file where the folder should be: reported, not hidden.
    WriteFile(user_dirs, "XDG_DOCUMENTS_DIR=\"$HOME/blocked\"\n");
    WriteFile(home / "blocked", "a file");
    EXPECT_FALSE(paths.EnsureUserFolder());
}

TEST(SettingsStoreTest, ValuesLiveInSectionProfilesOfTheConfigFile)
{
    TempDir dir;
    const Paths paths(RootsIn(dir));
    EXPECT_EQ(paths.SettingsStoreFile(), dir / "config/Kovantis_Brenmor/Kovantis.ini");

    const SettingsStore store(paths.SettingsStoreFile());
    EXPECT_EQ(store.Read(u"Flip", u"0"), u"0");
    ASSERT_TRUE(store.Write(u"Flip", u"1"));
    ASSERT_TRUE(store.Write(u"PROFILE00", u"0"));
    EXPECT_EQ(store.Read(u"flip", u"0"), u"1");
    EXPECT_EQ(ReadFile(paths.SettingsStoreFile()), "[PROFILES]\nFlip=1\nPROFILE00=0\n");
}

} // namespace
} // namespace kovantis
