#include "app/text_format.h"

#include <gtest/gtest.h>

namespace kovantis {
namespace {

TEST(TextFormatTest, FillsTheMessagePlaces)
{
    EXPECT_EQ(FormatText(u"The maximum number of macro: %d   ", {100}),
              u"The maximum number of macro: 100   ");
    EXPECT_EQ(FormatText(u"Unknown Key: %03x", {0x154}), u"Unknown Key: 154");
    EXPECT_EQ(FormatText(u"Unknown Key: %03x", {0x5}), u"Unknown Key: 005");
    EXPECT_EQ(FormatText(u"%03X|%x|%#x|%o", {0xab, 0xab, 0xab, 8}), u"0AB|ab|0xab|10");
    EXPECT_EQ(FormatText(u"wrong file: \n  %s", {u"/home/a/b c.kvp"}),
              u"wrong file: \n  /home/a/b c.kvp");
    EXPECT_EQ(FormatText(u"%s%02d", {u"PROFILE", 7}), u"PROFILE07");
    EXPECT_EQ(FormatText(u"%s%02d", {u"PROFILE", 123}), u"PROFILE123");
    EXPECT_EQ(FormatText(u"[%5d|%-5d|%+d|%05d|%.3d]", {-42, 42, 42, -42, 7}),
              u"[  -42|42   |+42|-0042|007]");
    EXPECT_EQ(FormatText(u"%ld %lld %I64d %hd %lu", {1, 2, 3, 4, 5}), u"1 2 3 4 5");
    EXPECT_EQ(FormatText(u"%.2s|%5s|%c", {u"宏编辑", u"ab", u"xyz"}), u"宏编|   ab|x");
    EXPECT_EQ(FormatText(u"100%% sure", {}), u"100% sure");
}

TEST(TextFormatTest, AnyTextIsSafe)
{
    // Places without an argument stay as written; surplus arguments are ignored.
    EXPECT_EQ(FormatText(u"%d of %d, %s", {3}), u"3 of %d, %s");
    EXPECT_EQ(FormatText(u"plain", {1, u"x"}), u"plain");
    // An argument of the other kind is shown, never reinterpreted.
    EXPECT_EQ(FormatText(u"%d|%s|%x", {u"text", -5, -1}), u"text|-5|ffffffff");
    // Unknown directives, a lone percent sign and directives cut off are copied.
    EXPECT_EQ(FormatText(u"%n %p %q %", {1, 2, 3}), u"%n %p %q %");
    EXPECT_EQ(FormatText(u"50%", {1}), u"50%");
    EXPECT_EQ(FormatText(u"%05", {1}), u"%05");
    // Absurd widths are bounded instead of allocating gigabytes.
    const std::u16string wide = FormatText(u"%999999999999d", {1});
    EXPECT_LE(wide.size(), 256u);
    EXPECT_EQ(wide.back(), u'1');
    EXPECT_EQ(FormatText(u"%c", {0}), u"\uFFFD");
}

} // namespace
} // namespace kovantis
