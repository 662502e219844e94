#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "cli/json_writer.h"
#include "cli/key_lookup.h"
#include "cli/people_units.h"

namespace kovantis::cli {
namespace {

TEST(JsonWriter, NestsSeparatesAndEscapes)
{
    std::ostringstream out;
    JsonWriter json(out);
    json.BeginObject()
        .Field("name", "say \"hi\"\\\n\x01")
        .Field("count", 3)
        .Field("on", true)
        .Key("list")
        .BeginArray()
        .Number(1)
        .BeginObject()
        .EndObject()
        .EndArray()
        .Key("empty")
        .BeginArray()
        .EndArray()
        .EndObject();
    EXPECT_EQ(out.str(), "{\n"
                         "  \"name\": \"say \\\"hi\\\"\\\\\\n\\u0001\",\n"
                         "  \"count\": 3,\n"
                         "  \"on\": true,\n"
                         "  \"list\": [\n"
                         "    1,\n"
                         "    {}\n"
                         "  ],\n"
                         "  \"empty\": []\n"
                         "}\n");
    EXPECT_EQ(JsonQuoted("Größe"), "\"Größe\"");
}

TEST(PeopleUnits, ProfilesAreOneToThreeAndRoundTrip)
{
    for (int index = 0; index < 3; ++index)
        EXPECT_EQ(ParseProfileNumber(std::to_string(ProfileNumberOf(index))), index);
    for (const char* wrong : {"0", "4", "-1", "1.0", "", "one", "01x", "0x1"})
        EXPECT_EQ(ParseProfileNumber(wrong), std::nullopt) << wrong;
}

TEST(PeopleUnits, ReportRateIsInHertzAndRoundTrips)
{
    for (int choice = 0; choice < 4; ++choice) {
        const std::string hz = std::to_string(ReportRateHzOf(choice));
        EXPECT_EQ(ParseReportRate(hz), choice);
        EXPECT_EQ(ParseReportRate(hz + "Hz"), choice);
        EXPECT_EQ(ParseReportRate(hz + " Hz"), choice);
    }
    EXPECT_EQ(ReportRateHzOf(0), 125);
    EXPECT_EQ(ReportRateHzOf(3), 1000);
    EXPECT_EQ(ReportRateHzOf(7), 1000) << "a choice above 3 shows as the fourth";
    for (const char* wrong : {"0", "1", "2", "3", "100", "2000", "Hz", "1000 kHz", "", "125.0"})
        EXPECT_EQ(ParseReportRate(wrong), std::nullopt) << wrong;
}

TEST(KeyLookup, EveryListedNameFindsItsKeyAsShownInAnyCaseWithoutSpaces)
{
    const auto& keys = ListedKeys();
    ASSERT_EQ(keys.size(), 105u) << "104 keys and Fn";
    std::set<int> controls;
    for (const ListedKey& key : keys) {
        ASSERT_FALSE(key.name.empty());
        controls.insert(key.controlId);
        std::string lower, compact;
        for (char c : key.name) {
            lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (c != ' ')
                compact += c;
        }
        for (const std::string& spelling : {key.name, lower, compact}) {
            const auto found = FindKey(spelling);
            ASSERT_TRUE(found) << spelling;
            EXPECT_EQ(found->controlId, key.controlId) << spelling << " names another key";
        }
    }
    EXPECT_EQ(controls.size(), keys.size());
    EXPECT_EQ(FindKey("Fn")->matrixIndex, 110);
    EXPECT_FALSE(FindKey(""));
    EXPECT_FALSE(FindKey("   "));
    EXPECT_FALSE(FindKey("NoSuchKey"));
}

} // namespace
} // namespace kovantis::cli
