#include "app/language_table.h"

#include "app/language_slots.h"
#include "platform/paths.h"

#include "unit/platform/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <set>

namespace kovantis {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// A shipped language file beside a program in dir/bin, and the per-user overlay in dir/data.
class LanguageTableTest : public ::testing::Test {
protected:
    LanguageTableTest() : paths_({dir_ / "bin", dir_ / "home", dir_ / "config", dir_ / "data"}) {}

    void Ship(const std::string& text) { WriteFile(paths_.ShippedFile("language.ini"), text); }
    fs::path Overlay() const { return paths_.OverlayFile("language.ini"); }

    TempDir dir_;
    Paths paths_;
};

constexpr const char* kShipped = "[LANGUAGE]\n"
                                 "language=%s\n"
                                 "[ENGINSH]\n"
                                 "MACRO_NEW_PREFIX=Macro\n"
                                 "MAIN_CAPTION=Keyboard Settings\n"
                                 "PROFILE_1=Profile 1\n"
                                 "[CHINESE]\n"
                                 "MACRO_NEW_PREFIX=宏\n"
                                 "PROFILE_1=配置 1\n";

std::string Shipped(const std::string& language)
{
    std::string text = kShipped;
    return text.replace(text.find("%s"), 2, language);
}

TEST_F(LanguageTableTest, BuiltInTextsOnlyUntilTheFirstLoad)
{
    LanguageTable table(paths_);
    EXPECT_EQ(table.Text("MACRO_ACTION_RECORD_DELAY"), u"RecordDelay");
    EXPECT_EQ(table.Text("MAIN_UPDATE_BACKUP_OK"), u"备份成功!");
    EXPECT_EQ(table.Text("PROFILE_NEW"), u"\\The new contextual  mode");

    // No language file at all: every slot and every other key reads as empty text.
    table.Load();
    for (const LanguageSlot& slot : LanguageSlots()) {
        EXPECT_EQ(table.Text(slot.key), u"") << slot.key;
    }
    EXPECT_EQ(table.Lookup("PROFILE_1"), u"");
    EXPECT_FALSE(table.IsEnglish());
    EXPECT_EQ(table.LanguageValue(), 0);
}

TEST_F(LanguageTableTest, SectionFollowsTheLanguageValue)
{
    LanguageTable table(paths_);
    Ship(Shipped("1"));
    table.Load();
    EXPECT_TRUE(table.IsEnglish());
    EXPECT_EQ(table.SectionName(), u"ENGINSH");
    EXPECT_EQ(table.Text("MAIN_CAPTION"), u"Keyboard Settings");
    EXPECT_EQ(table.Text("PROFILE_1"), u"Profile 1");

    // Anything but 1 is Chinese; a key missing there is empty, never the English text.
    for (const char* value : {"2", "0", "", "yes"}) {
        Ship(Shipped(value));
        table.Load();
        EXPECT_FALSE(table.IsEnglish()) << value;
        EXPECT_EQ(table.Text("MACRO_NEW_PREFIX"), u"宏") << value;
        EXPECT_EQ(table.SlotText("MAIN_CAPTION"), u"") << value;
        EXPECT_EQ(table.Lookup("PROFILE_1"), u"配置 1") << value;
    }
    EXPECT_EQ(table.LanguageValue(), 0);
    Ship(Shipped("2"));
    table.Load();
    EXPECT_EQ(table.LanguageValue(), 2);

    // The overlay is read first, key by key; the shipped file fills in what it lacks.
    WriteFile(Overlay(), "[language]\nLANGUAGE=1\n[enginsh]\nMAIN_CAPTION=Mine\n");
    table.Load();
    EXPECT_TRUE(table.IsEnglish());
    EXPECT_EQ(table.Text("MAIN_CAPTION"), u"Mine");
    EXPECT_EQ(table.Text("MACRO_NEW_PREFIX"), u"Macro");
}

TEST_F(LanguageTableTest, LanguageCommandsWriteTheOverlayAndReload)
{
    Ship(Shipped("0"));
    const std::string shipped = ReadFile(paths_.ShippedFile("language.ini"));
    LanguageTable table(paths_);
    table.Load();
    ASSERT_EQ(table.Text("MACRO_NEW_PREFIX"), u"宏");

    EXPECT_TRUE(table.RunLanguageCommand(kCommandLanguageEnglish));
    EXPECT_EQ(table.InRunChoice(), LanguageChoice::English);
    EXPECT_EQ(table.Text("MACRO_NEW_PREFIX"), u"Macro");
    EXPECT_EQ(table.Text("MAIN_CAPTION"), u"Keyboard Settings");
    EXPECT_EQ(ReadFile(Overlay()), "[LANGUAGE]\nlanguage=1\n");
    EXPECT_EQ(ReadFile(paths_.ShippedFile("language.ini")), shipped);

    // A later start without an in-run choice reads the choice back from the overlay.
    LanguageTable next_start(paths_);
    next_start.Load();
    EXPECT_TRUE(next_start.IsEnglish());

    EXPECT_TRUE(table.RunLanguageCommand(kCommandLanguageChinese));
    EXPECT_EQ(table.Text("MACRO_NEW_PREFIX"), u"宏");
    EXPECT_EQ(ReadFile(Overlay()), "[LANGUAGE]\nlanguage=0\n");
    EXPECT_FALSE(table.RunLanguageCommand(32780));
}

TEST_F(LanguageTableTest, InRunChoiceHoldsWhenTheValueCannotBeWritten)
{
    Ship(Shipped("1"));
    // The overlay folder cannot be created: a file stands where it should be.
    WriteFile(dir_ / "data/kovantis", "not a folder");
    LanguageTable table(paths_);
    table.Load();
    ASSERT_TRUE(table.IsEnglish());

    table.RunLanguageCommand(kCommandLanguageChinese);
    EXPECT_FALSE(table.IsEnglish());
    EXPECT_EQ(table.Text("MACRO_NEW_PREFIX"), u"宏");
    EXPECT_EQ(table.LanguageValue(), 0);
    table.Load();
    EXPECT_FALSE(table.IsEnglish());
}

TEST(LanguageSlotsTest, EveryKeyOnceWithItsLimit)
{
    std::set<std::string_view> keys;
    for (const LanguageSlot& slot : LanguageSlots()) {
        EXPECT_TRUE(keys.insert(slot.key).second) << slot.key;
        EXPECT_EQ(FindLanguageSlot(slot.key), &slot);
    }
    EXPECT_EQ(keys.size(), 86u);
    EXPECT_EQ(LanguageSlots().front().key, "MACRO_ACTION_RECORD_DELAY");
    EXPECT_EQ(LanguageSlots().back().key, "MAIN_NO_DEVICE_PROMPT");
    EXPECT_EQ(FindLanguageSlot("EXTRA_MACRO_TOO_LONG")->limit, 197u);
    EXPECT_EQ(FindLanguageSlot("MAIN_UPDATE_BACKUP_OK")->limit, 5u);
    EXPECT_EQ(FindLanguageSlot("MAIN_UPDATE_ERROR_TEXT")->limit, 12u);
    EXPECT_EQ(FindLanguageSlot("UNKNOWN_KEY")->limit, 107u);
    EXPECT_EQ(FindLanguageSlot("PROFILE_1"), nullptr);
    EXPECT_EQ(FindLanguageSlot("main_caption"), nullptr);
}

// The placeholders of a text, in order, so that a translation cannot lose or swap one.
std::vector<std::string> Placeholders(const std::u16string& text)
{
    static const std::regex directive("%[-0+ #]*[0-9]*(\\.[0-9]+)?[a-zA-Z%]");
    const std::string utf8 = Utf16ToUtf8(text);
    std::vector<std::string> found;
    for (std::sregex_iterator it(utf8.begin(), utf8.end(), directive), end; it != end; ++it) {
        found.push_back(it->str());
    }
    return found;
}

TEST(ShippedLanguageFileTest, EverySlotHasARealTextInBothLanguages)
{
    const char* source = std::getenv("KOVANTIS_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    const std::optional<IniDocument> file =
        IniDocument::Load((fs::path(source) / "data/language.ini").string());
    ASSERT_TRUE(file);
    EXPECT_EQ(file->Read(u"LANGUAGE", u"language", u""), u"1");

    const std::vector<std::u16string> english = file->Keys(u"ENGINSH");
    const std::vector<std::u16string> chinese = file->Keys(u"CHINESE");
    EXPECT_EQ(std::set(english.begin(), english.end()), std::set(chinese.begin(), chinese.end()));
    for (const std::u16string& key : english) {
        EXPECT_NE(file->Read(u"ENGINSH", key, u""), u"") << Utf16ToUtf8(key);
        EXPECT_NE(file->Read(u"CHINESE", key, u""), u"") << Utf16ToUtf8(key);
    }
    for (const LanguageSlot& slot : LanguageSlots()) {
        const std::u16string key = Utf8ToUtf16(slot.key);
        const std::u16string en = file->Read(u"ENGINSH", key, u"");
        const std::u16string zh = file->Read(u"CHINESE", key, u"");
        EXPECT_NE(en, u"") << slot.key;
        EXPECT_NE(zh, u"") << slot.key;
        EXPECT_EQ(Placeholders(en), Placeholders(std::u16string(slot.builtin))) << slot.key;
        EXPECT_EQ(Placeholders(zh), Placeholders(std::u16string(slot.builtin))) << slot.key;
    }
    // The recorder's option is stored under this text; alike in both, it survives a switch.
    EXPECT_EQ(file->Read(u"ENGINSH", u"MACRO_ACTION_RECORD_DELAY", u""),
              file->Read(u"CHINESE", u"MACRO_ACTION_RECORD_DELAY", u""));
    // The macro memory gauge fills in the bytes used, then the keyboard's space.
    for (const char16_t* section : {u"ENGINSH", u"CHINESE"}) {
        EXPECT_EQ(Placeholders(file->Read(section, u"MACRO_SPACE_USED", u"")), (std::vector<std::string>{"%d", "%d"}))
            << Utf16ToUtf8(section);
    }
    for (const char* key : {"PROFILE_1", "PROFILE_CANCLE", "MENU_4", "MENU_33", "GUANYU_BANQUAN",
                            "A_BOTTOM", "MACRO_CANCLE", "FUNCTION_TISHI", "COMPOSITE_MACRO_OVER"}) {
        EXPECT_NE(file->Read(u"CHINESE", Utf8ToUtf16(key), u""), u"") << key;
    }
}

} // namespace
} // namespace kovantis
