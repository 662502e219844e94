#include <gtest/gtest.h>

#include <string>

#include "skin/skin_rect.h"

namespace kovantis {
namespace {

TEST(SkinRect, ReadsTheFirstFourNumbers)
{
    EXPECT_EQ(ParseSkinRect(u"10,20,30,40"), (SkinRect{10, 20, 30, 40}));
    EXPECT_EQ(ParseSkinRect(u"10, 20, 30, 40"), (SkinRect{10, 20, 30, 40}));
    EXPECT_EQ(ParseSkinRect(u"10,20,30,40,99,x"), (SkinRect{10, 20, 30, 40}));
    EXPECT_EQ(ParseSkinRect(u"+5,-3,7,8"), (SkinRect{5, -3, 7, 8}));
}

TEST(SkinRect, MissingOrUnreadableNumbersCountAsOne)
{
    EXPECT_EQ(ParseSkinRect(kAbsentRectValue), (SkinRect{1, 1, 1, 1}));
    EXPECT_EQ(ParseSkinRect(u""), (SkinRect{1, 1, 1, 1}));
    EXPECT_EQ(ParseSkinRect(u"10,20"), (SkinRect{10, 20, 1, 1}));
    EXPECT_EQ(ParseSkinRect(u"10,20,30"), (SkinRect{10, 20, 30, 1}));
    // Reading stops at the first thing that is not a number; the rest keeps its 1.
    EXPECT_EQ(ParseSkinRect(u"10,x,30,40"), (SkinRect{10, 1, 1, 1}));
    EXPECT_EQ(ParseSkinRect(u"10 ,20,30,40"), (SkinRect{10, 1, 1, 1}));
    EXPECT_EQ(ParseSkinRect(u"abc"), (SkinRect{1, 1, 1, 1}));
}

TEST(SkinRect, OnlyXAndYDecideAbsence)
{
    EXPECT_TRUE(ParseSkinRect(u"1,1,1,1").IsAbsent());
    const SkinRect wide = ParseSkinRect(u"1,1,300,40");
    EXPECT_TRUE(wide.IsAbsent());
    EXPECT_EQ(wide.w, 300);
    EXPECT_EQ(wide.h, 40);
    EXPECT_FALSE(ParseSkinRect(u"1,2,1,1").IsAbsent());
    EXPECT_FALSE(ParseSkinRect(u"0,0,10,10").IsAbsent());
}

TEST(SkinRect, DamagedValuesStayWithinSaneBounds)
{
    EXPECT_EQ(ParseSkinRect(u"99999999999999999999,-99999999999999,5,5"), (SkinRect{32767, -32767, 5, 5}));
    EXPECT_EQ(ParseSkinRect(u"10,20,-30,-40"), (SkinRect{10, 20, 0, 0}));
    // Characters past the 259th are not part of the value.
    const std::u16string padded = u"10,20,30," + std::u16string(250, u'0') + u"7";
    EXPECT_EQ(ParseSkinRect(padded).h, 0);
    EXPECT_EQ(ParseSkinRect(padded.substr(0, 200) + u"5").h, 5);
}

} // namespace
} // namespace kovantis
