// Finding an installed on-screen keyboard along PATH.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "keyboard/on_screen_keyboard.h"

namespace kovantis {
namespace {

ExecutableCheck Installed(std::set<std::string> paths)
{
    return [paths = std::move(paths)](const std::string& path) { return paths.count(path) > 0; };
}

TEST(OnScreenKeyboard, FindsThePreferredProgramAlongThePath)
{
    // The preferred program wins over a folder order that would find another first.
    EXPECT_EQ(FindOnScreenKeyboard("/usr/local/bin:/usr/bin", Installed({"/usr/local/bin/xvkbd", "/usr/bin/onboard"})),
              "/usr/bin/onboard");
    // Folders in PATH order for one program; a trailing slash is not doubled.
    EXPECT_EQ(FindOnScreenKeyboard("/opt/kb/:/usr/bin", Installed({"/opt/kb/florence", "/usr/bin/florence"})),
              "/opt/kb/florence");
    EXPECT_EQ(FindOnScreenKeyboard("/usr/bin:/bin", Installed({})), "");
    EXPECT_EQ(FindOnScreenKeyboard("", Installed({"/usr/bin/onboard"})), "");
}

TEST(OnScreenKeyboard, NeverLooksInTheCurrentOrARelativeFolder)
{
    std::set<std::string> asked;
    const ExecutableCheck record = [&asked](const std::string& path) {
        asked.insert(path);
        return false;
    };
    EXPECT_EQ(FindOnScreenKeyboard(":.:bin::/usr/bin:", record), "");
    for (const std::string& path : asked)
        EXPECT_EQ(path.rfind("/usr/bin/", 0), 0u) << path;
    EXPECT_FALSE(asked.empty());
}

TEST(OnScreenKeyboard, ExecutableCheckRefusesFoldersAndMissingFiles)
{
    EXPECT_TRUE(IsExecutableFile("/bin/sh"));
    EXPECT_FALSE(IsExecutableFile("/"));
    EXPECT_FALSE(IsExecutableFile("/nonexistent/onboard"));
}

} // namespace
} // namespace kovantis
