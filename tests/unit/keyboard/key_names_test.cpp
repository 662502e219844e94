// Display names: fixed names, the run-time names from the language and the unknown-key text.

#include <gtest/gtest.h>

#include "keyboard/key_names.h"
#include "map_texts.h"

namespace kovantis {
namespace {

using test::MapTexts;

TEST(KeyNames, FixedNamesAndTheUnknownKeyText)
{
    const KeyNames names;
    EXPECT_EQ(names.KeyNameOf(0x01E), u"A");
    EXPECT_EQ(names.KeyNameOf(0x136), u"Right Shift");
    EXPECT_EQ(names.KeyNameOf(0x148), u"\u2191");
    EXPECT_EQ(names.KeyNameOf(0x154), u"Unknown Key: 154");  // lower-case hex, three digits
    EXPECT_EQ(names.KeyNameOf(0x05A), u"Unknown Key: 05a");
    EXPECT_EQ(names.KeyNameOf(0), u"Unknown Key: 000");
}

TEST(KeyNames, RunTimeNamesStartBuiltInAndFollowTheLanguage)
{
    KeyNames names;
    EXPECT_EQ(names.KeyNameOf(0x16D), u"Hello world");
    EXPECT_EQ(names.MediaFunctionName(17), u"Hello world");
    EXPECT_EQ(names.FunctionActionName(0), u"Open");
    EXPECT_EQ(names.FunctionActionName(8), u"Select All");
    EXPECT_EQ(names.FunctionActionName(10), u"Zoom+");

    names.Load(MapTexts{{"MEDIA_PALYER_1", u"媒体播放器"},
                        {"MEDIA_MAIL_18", u"Mail"},
                        {"FUNC_KEY_DESC1", u"打开"},
                        {"FUNC_KEY_DESC11", u"Zoom in"},
                        {"UNKNOWN_KEY", u"?%03X?"}});
    EXPECT_EQ(names.KeyNameOf(0x16D), u"媒体播放器");
    EXPECT_EQ(names.MediaFunctionName(0), u"媒体播放器");
    EXPECT_EQ(names.KeyNameOf(0x16C), u"Mail");
    EXPECT_EQ(names.FunctionActionName(0), u"打开");
    EXPECT_EQ(names.FunctionActionName(10), u"Zoom in");
    EXPECT_EQ(names.KeyNameOf(0x154), u"?154?");
    // A key the language lacks reads as empty, never as the built-in text.
    EXPECT_EQ(names.FunctionActionName(1), u"");
    EXPECT_EQ(names.MediaFunctionName(1), u"");
    // A media slot left without a name is shown like an unknown key.
    EXPECT_EQ(names.KeyNameOf(0x122), u"?122?");
    // Outside the lists: empty, never another entry.
    EXPECT_EQ(names.MediaFunctionName(18), u"");
    EXPECT_EQ(names.MediaFunctionName(-1), u"");
    EXPECT_EQ(names.FunctionActionName(11), u"");
}

TEST(KeyNames, LongNamesAreCut)
{
    KeyNames names;
    names.Load(MapTexts{{"MEDIA_CALC_17", std::u16string(300, u'x')}, {"UNKNOWN_KEY", std::u16string(300, u'u') + u"%x"}});
    EXPECT_EQ(names.MediaFunctionName(16).size(), 107u);
    EXPECT_EQ(names.KeyNameOf(0x121).size(), 107u);
    EXPECT_EQ(names.KeyNameOf(0x154), std::u16string(259, u'u'));
}

TEST(FormatUnknownKey, TakesOnlyOneHexConversionAndNothingElse)
{
    EXPECT_EQ(FormatUnknownKey(u"Unknown Key: %03x", 0x154), u"Unknown Key: 154");
    EXPECT_EQ(FormatUnknownKey(u"%x", 0x5), u"5");
    EXPECT_EQ(FormatUnknownKey(u"%05X", 0xAB), u"000AB");
    EXPECT_EQ(FormatUnknownKey(u"[%4x]", 0xAB), u"[  ab]");
    EXPECT_EQ(FormatUnknownKey(u"100%% %03x", 0x1), u"100% 001");
    // A language file is outside input: other conversions are text, a second one is left alone.
    EXPECT_EQ(FormatUnknownKey(u"%s%n %d %03x %x", 0x154), u"%s%n %d 154 %x");
    EXPECT_EQ(FormatUnknownKey(u"%99999999999999999999x", 1), u"%99999999999999999999x");
    EXPECT_EQ(FormatUnknownKey(u"no code", 0x154), u"no code");
    EXPECT_EQ(FormatUnknownKey(u"trailing %", 0x154), u"trailing %");
    EXPECT_EQ(FormatUnknownKey(u"", 0x154), u"");
}

} // namespace
} // namespace kovantis
