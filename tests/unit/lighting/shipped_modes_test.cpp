// The user-mode files the program ships: every profile's and the template must read as ten
// named modes with a colour line for every key.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "lighting/board_keys.h"
#include "lighting/decimal_list.h"
#include "lighting/rgb.h"
#include "lighting/user_mode_file.h"
#include "platform/ini_file.h"
#include "platform/paths.h"

namespace kovantis {
namespace {

namespace fs = std::filesystem;

TEST(ShippedModes, EveryFileHasTenNamedModesWithAllKeys)
{
    // Under ctest the source folder is given; run by hand, it is where this file lies.
    const char* source = std::getenv("KOVANTIS_SOURCE_DIR");
    const fs::path root = source != nullptr ? fs::path(source) : fs::path(__FILE__).parent_path() / "../../..";
    const fs::path data = root / "data";
    for (int n = 0; n <= kTemplateModeFile; ++n) {
        const std::string name = UserModeStore::FileName(n);
        const auto doc = IniDocument::Load((data / name).string());
        ASSERT_TRUE(doc) << name;
        const int mode = std::stoi(Utf16ToUtf8(doc->Read(u"PRESENTMODE", u"mode", u"-1")));
        EXPECT_GE(mode, 0) << name;
        EXPECT_LT(mode, kUserModeCount) << name;
        for (int m = 0; m < kUserModeCount; ++m) {
            const std::u16string index = FormatDecimalList({m});
            const auto label = doc->Find(u"MODENAME", index);
            ASSERT_TRUE(label) << name << " mode " << m;
            EXPECT_FALSE(label->empty());
            const std::u16string section = UserModeFile::SectionOf(m);
            for (const char16_t* key : {u"jcolor", u"color"}) {
                EXPECT_TRUE(ParseRgb(doc->Read(section, key, u""))) << name << " mode " << m;
            }
            for (int16_t key : BoardKeys()) {
                std::array<int, 4> v{};
                const auto line = doc->Find(section, FormatDecimalList({key}));
                ASSERT_TRUE(line) << name << " mode " << m << " key " << key;
                ASSERT_TRUE(ParseDecimalList(*line, v)) << Utf16ToUtf8(*line);
                EXPECT_TRUE(v[3] == 0 || v[3] == 1);
            }
        }
    }
    // Restore copies the template over a profile's file: it must be as good a start as they are.
    EXPECT_EQ(IniDocument::Load((data / "UserDengColor_3.userd").string())->Keys(u"MODENAME").size(),
              static_cast<size_t>(kUserModeCount));
}

} // namespace
} // namespace kovantis
