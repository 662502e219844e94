#include "app/app_settings.h"

#include "platform/paths.h"
#include "platform/settings_store.h"
#include "ports/text_source.h"

#include "unit/platform/temp_dir.h"

#include <gtest/gtest.h>

#include <map>

namespace kovantis {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

class MapTexts final : public TextSource {
public:
    std::u16string Text(std::string_view key) const override
    {
        const auto found = texts.find(std::string(key));
        return found == texts.end() ? std::u16string() : found->second;
    }
    std::map<std::string, std::u16string> texts;
};

class AppSettingsTest : public ::testing::Test {
protected:
    AppSettingsTest()
        : paths_({dir_ / "bin", dir_ / "home", dir_ / "config", dir_ / "data"}),
          store_(paths_.SettingsStoreFile()),
          settings_(paths_, store_, texts_)
    {
    }

    TempDir dir_;
    Paths paths_;
    SettingsStore store_;
    MapTexts texts_;
    AppSettings settings_;
};

TEST_F(AppSettingsTest, LightingViewIsOnOnlyForOne)
{
    // A fresh account: no per-user folder yet, so the write fails without a word.
    EXPECT_FALSE(settings_.LightingView());
    settings_.SetLightingView(true);
    EXPECT_FALSE(settings_.LightingView());
    EXPECT_FALSE(std::filesystem::exists(paths_.UserFolder()));

    ASSERT_TRUE(paths_.EnsureUserFolder());
    settings_.SetLightingView(true);
    EXPECT_TRUE(settings_.LightingView());
    EXPECT_EQ(ReadFile(paths_.OvraIni()), "[KEYCOLOR]\nDengCheck=1\n");
    settings_.SetLightingView(false);
    EXPECT_FALSE(settings_.LightingView());

    for (const char* value : {"2", "on", "01", "", "true"}) {
        WriteFile(paths_.OvraIni(), std::string("[KEYCOLOR]\nDengCheck=") + value + "\n");
        EXPECT_FALSE(settings_.LightingView()) << value;
    }
    WriteFile(paths_.OvraIni(), "[keycolor]\n dengcheck = 1 \n");
    EXPECT_TRUE(settings_.LightingView());
}

TEST_F(AppSettingsTest, FlipAndRecordDelayInTheSettingsStore)
{
    EXPECT_FALSE(settings_.Flip());
    ASSERT_TRUE(settings_.SetFlip(true));
    EXPECT_TRUE(settings_.Flip());
    EXPECT_EQ(store_.Read(u"Flip", u""), u"1");
    // Any number but 0 is on.
    for (const char16_t* on : {u"2", u"-1", u"01", u" 7"}) {
        store_.Write(u"Flip", on);
        EXPECT_TRUE(settings_.Flip()) << std::u16string_view(on).size();
    }
    for (const char16_t* off : {u"0", u"00", u"", u"off"}) {
        store_.Write(u"Flip", off);
        EXPECT_FALSE(settings_.Flip()) << std::u16string_view(off).size();
    }
    ASSERT_TRUE(settings_.SetFlip(false));
    EXPECT_EQ(store_.Read(u"Flip", u""), u"0");

    texts_.texts["MACRO_ACTION_RECORD_DELAY"] = u"RecordDelay";
    EXPECT_EQ(settings_.ReadRecordDelaySetting(), 0);
    EXPECT_EQ(settings_.WriteRecordDelaySetting(1), 1);
    EXPECT_EQ(settings_.ReadRecordDelaySetting(), 1);
    EXPECT_EQ(store_.Read(u"RecordDelay", u""), u"1");
    EXPECT_EQ(settings_.WriteRecordDelaySetting(7), 0);
    EXPECT_EQ(store_.Read(u"RecordDelay", u""), u"0");

    // The name follows the language text: worded otherwise, the old value is not found.
    settings_.WriteRecordDelaySetting(1);
    texts_.texts["MACRO_ACTION_RECORD_DELAY"] = u"录制延迟";
    EXPECT_EQ(settings_.ReadRecordDelaySetting(), 0);
    settings_.WriteRecordDelaySetting(1);
    EXPECT_EQ(store_.Read(u"录制延迟", u""), u"1");

    // A text that cannot name a value (missing language file, "=" in it) uses the built-in.
    for (const char16_t* text : {u"", u"Delay=On", u"  "}) {
        texts_.texts["MACRO_ACTION_RECORD_DELAY"] = text;
        EXPECT_EQ(settings_.RecordDelayValueName(), u"RecordDelay");
    }
    EXPECT_EQ(settings_.ReadRecordDelaySetting(), 1);
    store_.Write(u"RecordDelay", u"5");
    EXPECT_EQ(settings_.ReadRecordDelaySetting(), 5);
}

TEST_F(AppSettingsTest, StoredProfileListIsRenumberedEveryTime)
{
    const std::vector<std::filesystem::path> three = {"/home/a/One.kvp", "/home/a/Two.kvp",
                                                      "/home/a/配置.kvp"};
    settings_.StoreProfileList(three);
    EXPECT_EQ(store_.Read(u"PROFILE00", u""), u"3");
    EXPECT_EQ(store_.Read(u"PROFILE01", u""), u"/home/a/One.kvp");
    EXPECT_EQ(store_.Read(u"PROFILE03", u""), u"/home/a/配置.kvp");

    const std::vector<std::filesystem::path> one = {"/home/a/Two.kvp"};
    settings_.StoreProfileList(one);
    EXPECT_EQ(store_.Read(u"PROFILE00", u""), u"1");
    EXPECT_EQ(store_.Read(u"PROFILE01", u""), u"/home/a/Two.kvp");
    EXPECT_EQ(ProfileListValueName(12), u"PROFILE12");
}

} // namespace
} // namespace kovantis
