#include "platform/ini_file.h"

#include "unit/platform/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace kovantis {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

TEST(IniFileTest, ReadsWithProfileStringRules)
{
    TempDir dir;
    WriteFile(dir / "a.ini",
              "orphan=before any section\n"
              "[Main]\n"
              "; Key=commented out\n"
              "# Key=also a comment\n"
              "  Key  =  first value  \n"
              "KEY=second value\n"
              "no equals sign here\n"
              "Quoted=\"  kept blanks \"\n"
              "Single='x'\n"
              "Half=\"open\n"
              "Empty=\n"
              "Number= 42abc\n"
              "Negative=-7\n"
              "Huge=99999999999\n"
              "Word=abc\n"
              "[other]\n"
              "Key=other section\n"
              "[ MAIN ]\n"
              "Key=duplicate section\n"
              "Late=only in the second Main\n");
    const IniFile ini((dir / "a.ini").string());

    EXPECT_EQ(ini.ReadString(u"main", u"key"), u"first value");
    EXPECT_EQ(ini.ReadString(u" Main ", u" Key "), u"first value");
    EXPECT_EQ(ini.ReadString(u"other", u"KEY"), u"other section");
    EXPECT_EQ(ini.ReadString(u"Main", u"Late"), u"only in the second Main");
    EXPECT_EQ(ini.ReadString(u"Main", u"Quoted"), u"  kept blanks ");
    EXPECT_EQ(ini.ReadString(u"Main", u"Single"), u"x");
    EXPECT_EQ(ini.ReadString(u"Main", u"Half"), u"\"open");
    EXPECT_EQ(ini.ReadString(u"Main", u"Empty", u"fallback"), u"");
    EXPECT_EQ(ini.ReadString(u"Main", u"orphan", u"fallback"), u"fallback");
    EXPECT_EQ(ini.ReadString(u"Main", u"no equals sign here", u"fallback"), u"fallback");
    EXPECT_EQ(ini.ReadString(u"Missing", u"Key", u"fallback"), u"fallback");
    EXPECT_EQ(IniFile((dir / "none.ini").string()).ReadString(u"Main", u"Key", u"d"), u"d");

    EXPECT_EQ(ini.ReadInt(u"Main", u"Number", -1), 42);
    EXPECT_EQ(ini.ReadInt(u"Main", u"Negative", 0), -7);
    EXPECT_EQ(ini.ReadInt(u"Main", u"Huge", 5), 5);
    EXPECT_EQ(ini.ReadInt(u"Main", u"Word", 5), 5);
    EXPECT_EQ(ini.ReadInt(u"Main", u"Empty", 5), 5);
    EXPECT_EQ(ini.ReadInt(u"Main", u"Absent", 5), 5);

    const IniDocument document = *IniDocument::Load((dir / "a.ini").string());
    EXPECT_TRUE(document.HasSection(u"OTHER"));
    EXPECT_FALSE(document.HasSection(u"Missing"));
    const std::vector<std::u16string> keys = document.Keys(u"main");
    const std::vector<std::u16string> expected = {u"Key",   u"Quoted",   u"Single", u"Half",
                                                  u"Empty", u"Number",   u"Negative",
                                                  u"Huge",  u"Word",     u"Late"};
    EXPECT_EQ(keys, expected);
}

TEST(IniFileTest, WriteChangesOneValueAndKeepsEveryOtherByte)
{
    TempDir dir;
    const std::string path = (dir / "keep.ini").string();
    const std::string original = "; header comment\r\n"
                                 "[Colours]\r\n"
                                 "  Red   =  1   \r\n"
                                 "\r\n"
                                 "Blue=2 ; not a comment\r\n"
                                 "; trailing comment of Colours\r\n"
                                 "[Other]\r\n"
                                 "Red=9";
    WriteFile(path, original);
    const IniFile ini(path);

    ASSERT_TRUE(ini.WriteString(u"COLOURS", u"red", u"5"));
    std::string expected = "; header comment\r\n"
                           "[Colours]\r\n"
                           "  Red   =  5\r\n"
                           "\r\n"
                           "Blue=2 ; not a comment\r\n"
                           "; trailing comment of Colours\r\n"
                           "[Other]\r\n"
                           "Red=9";
    EXPECT_EQ(ReadFile(path), expected);

    // A new key lands after the last entry of its section, before the comment that follows.
    ASSERT_TRUE(ini.WriteString(u"Colours", u"Green", u"3"));
    expected = "; header comment\r\n"
               "[Colours]\r\n"
               "  Red   =  5\r\n"
               "\r\n"
               "Blue=2 ; not a comment\r\n"
               "Green=3\r\n"
               "; trailing comment of Colours\r\n"
               "[Other]\r\n"
               "Red=9";
    EXPECT_EQ(ReadFile(path), expected);

    // The last line had no line end; adding after it gives it one.
    ASSERT_TRUE(ini.WriteString(u"other", u"Blue", u"8"));
    ASSERT_TRUE(ini.WriteString(u"New Section", u"Key", u"  padded "));
    expected += "\r\nBlue=8\r\n\r\n[New Section]\r\nKey=\"  padded \"\r\n";
    EXPECT_EQ(ReadFile(path), expected);
    EXPECT_EQ(ini.ReadString(u"new section", u"key"), u"  padded ");
    EXPECT_EQ(ini.ReadString(u"Other", u"Red"), u"9");
}

TEST(IniFileTest, WriteCreatesFileAndRefusesWhatWouldNotReadBack)
{
    TempDir dir;
    const std::string path = (dir / "new.ini").string();
    const IniFile ini(path);

    EXPECT_FALSE(ini.WriteString(u"", u"Key", u"v"));
    EXPECT_FALSE(ini.WriteString(u"Sec]tion", u"Key", u"v"));
    EXPECT_FALSE(ini.WriteString(u"Section", u"Ke=y", u"v"));
    EXPECT_FALSE(ini.WriteString(u"Section", u"Key\nInjected", u"v"));
    EXPECT_FALSE(ini.WriteString(u"Section", u"[Key", u"v"));
    EXPECT_FALSE(ini.WriteString(u"Section", u"  ", u"v"));
    EXPECT_FALSE(std::filesystem::exists(path));

    ASSERT_TRUE(ini.WriteString(u"Section", u"Key", u"line one\r\n[Evil]\nX=1"));
    EXPECT_EQ(ReadFile(path), "[Section]\nKey=line one  [Evil] X=1\n");
    ASSERT_TRUE(ini.WriteString(u"Section", u"Quoted", u"\"as is\""));
    EXPECT_EQ(ini.ReadString(u"Section", u"Quoted"), u"\"as is\"");
    EXPECT_FALSE(IniDocument::Load(path)->HasSection(u"Evil"));

    // No folder, no file: the folder is the caller's to create.
    EXPECT_FALSE(IniFile((dir / "missing" / "x.ini").string()).WriteString(u"S", u"K", u"v"));
}

TEST(IniFileTest, ReadsBomAndUtf16AndWritesUtf8)
{
    TempDir dir;
    const std::string utf8_path = (dir / "bom8.ini").string();
    WriteFile(utf8_path, "\xEF\xBB\xBF[CHINESE]\nText=\xE4\xB8\xAD\xE6\x96\x87\n");
    EXPECT_EQ(IniFile(utf8_path).ReadString(u"chinese", u"text"), u"中文");
    ASSERT_TRUE(IniFile(utf8_path).WriteString(u"CHINESE", u"Other", u"x"));
    EXPECT_EQ(ReadFile(utf8_path),
              "\xEF\xBB\xBF[CHINESE]\nText=\xE4\xB8\xAD\xE6\x96\x87\nOther=x\n");

    // UTF-16LE with BOM, including a character outside the basic plane.
    const std::u16string text = u"[Sec]\r\nName=宏😀\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char16_t unit : text) {
        utf16.push_back(static_cast<char>(unit & 0xFF));
        utf16.push_back(static_cast<char>(unit >> 8));
    }
    const std::string utf16_path = (dir / "utf16.ini").string();
    WriteFile(utf16_path, utf16);
    const IniFile ini(utf16_path);
    EXPECT_EQ(ini.ReadString(u"SEC", u"name"), u"宏😀");
    ASSERT_TRUE(ini.WriteString(u"Sec", u"Added", u"1"));
    EXPECT_EQ(ReadFile(utf16_path), "\xEF\xBB\xBF[Sec]\r\nName=宏😀\r\nAdded=1\r\n");

    // Bytes that are not UTF-8 read as replacement characters and survive other writes.
    const std::string latin_path = (dir / "latin1.ini").string();
    WriteFile(latin_path, "[S]\nName=caf\xE9\n");
    EXPECT_EQ(IniFile(latin_path).ReadString(u"S", u"Name"), u"caf\uFFFD");
    ASSERT_TRUE(IniFile(latin_path).WriteString(u"S", u"Other", u"1"));
    EXPECT_EQ(ReadFile(latin_path), "[S]\nName=caf\xE9\nOther=1\n");
}

TEST(IniFileTest, FailedWriteLeavesTheOldFileAndNoLeftovers)
{
    TempDir dir;
    const std::filesystem::path folder = dir / "locked";
    const std::string path = (folder / "settings.ini").string();
    const std::string original = "[S]\nKey=old\n";
    WriteFile(path, original);
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(folder.c_str(), 0555);
    ::chmod(path.c_str(), 0644);

    const std::optional<bool> written =
        testing::AsUnprivileged([&] { return IniFile(path).WriteString(u"S", u"Key", u"new"); });
    ::chmod(folder.c_str(), 0755);
    if (!written) {
        GTEST_SKIP() << "cannot drop root rights here";
    }
    EXPECT_FALSE(*written);
    EXPECT_EQ(ReadFile(path), original);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1);

    // A target that cannot be replaced (a folder) fails the rename: nothing is left behind.
    std::filesystem::create_directory(dir / "taken.ini");
    EXPECT_FALSE(IniFile((dir / "taken.ini").string()).WriteString(u"S", u"K", u"v"));
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos);
    }
}

TEST(IniFileTest, WriteKeepsPermissionsAndFollowsSymbolicLinks)
{
    TempDir dir;
    const std::filesystem::path real = dir / "real.ini";
    WriteFile(real, "[S]\nKey=1\n");
    ::chmod(real.c_str(), 0600);
    std::filesystem::create_symlink(real, dir / "link.ini");

    ASSERT_TRUE(IniFile((dir / "link.ini").string()).WriteString(u"S", u"Key", u"2"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ini"));
    EXPECT_EQ(ReadFile(real), "[S]\nKey=2\n");
    struct stat info {};
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(IniFileTest, ConvertsBetweenUtf8AndUtf16)
{
    EXPECT_EQ(Utf8ToUtf16("A\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"), u"Aé中😀");
    EXPECT_EQ(Utf16ToUtf8(u"Aé中😀"), "A\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80");
    // Overlong forms, encoded surrogates, truncated sequences and stray continuation bytes.
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("x\xE4\xB8"), u"x\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\x80z"), u"\uFFFDz");
    EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
    const char16_t lone[] = {u'a', 0xD800, u'b', 0xDC00};
    EXPECT_EQ(Utf16ToUtf8(std::u16string_view(lone, 4)), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
}

} // namespace
} // namespace kovantis
