#include "report_descriptor.h"

#include <gtest/gtest.h>

#include <vector>

namespace devlinx {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

ReportDescriptor Parse(const Bytes& bytes)
{
    return ParseReportDescriptor(bytes.data(), bytes.size());
}

// The keyboard's vendor interface as a composite device declares it: the command channel, the
// consumer events and the status output, each with its report id.
const Bytes kCommandCollection = {
    0x06, 0x1C, 0xFF,             // Usage Page (0xFF1C)
    0x09, 0x92,                   // Usage (0x92)
    0xA1, 0x01,                   // Collection (Application)
    0x85, 0x04,                   //   Report ID (4)
    0x15, 0x00, 0x26, 0xFF, 0x00, //   Logical Minimum (0), Maximum (255)
    0x75, 0x08, 0x95, 0x3F,       //   Report Size (8), Count (63)
    0x09, 0x01, 0x81, 0x02,       //   Usage (1), Input
    0x09, 0x02, 0x91, 0x02,       //   Usage (2), Output
    0xC0,                         // End Collection
};
const Bytes kConsumerCollection = {
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, // Usage Page (Consumer), Usage (Consumer Control)
    0x85, 0x03,                         //   Report ID (3)
    0xA1, 0x02,                         //   Collection (Logical), nested
    0x19, 0x00, 0x2A, 0xFF, 0x03,       //     Usage Minimum (0), Maximum (0x3FF)
    0x15, 0x00, 0x26, 0xFF, 0x03,       //     Logical Minimum (0), Maximum (0x3FF)
    0x75, 0x10, 0x95, 0x01, 0x81, 0x00, //     Report Size (16), Count (1), Input
    0xC0, 0xC0,
};
const Bytes kStatusCollection = {
    0x05, 0x08, 0x09, 0x89, 0xA1, 0x01, // Usage Page (LEDs), Usage (0x89)
    0x85, 0x05,                         //   Report ID (5)
    0x09, 0x4B, 0x15, 0x00, 0x25, 0x01, 0x75, 0x08, 0x95, 0x01, 0x91, 0x02, 0xC0,
};
// A boot keyboard: no report ids, LED usages inside but no LED collection.
const Bytes kBootKeyboard = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00,
    0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01,
    0x95, 0x05, 0x75, 0x01, 0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01,
    0x75, 0x03, 0x91, 0x01, 0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x05, 0x07,
    0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0,
};

TEST(ReportDescriptor, CompositeKeyboardInterfaceListsEachTopLevelCollectionWithItsReportIds)
{
    const auto d = Parse(Join({kCommandCollection, kConsumerCollection, kStatusCollection}));
    EXPECT_TRUE(d.complete);
    EXPECT_TRUE(d.numbered);
    ASSERT_EQ(d.collections.size(), 3u);
    EXPECT_EQ(d.collections[0].usage_page, 0xFF1C);
    EXPECT_EQ(d.collections[0].usage, 0x0092);
    EXPECT_EQ(d.collections[0].report_ids, Bytes{0x04});
    // The nested logical collection neither becomes a collection of its own nor hides the
    // report id used inside it.
    EXPECT_EQ(d.collections[1].usage_page, 0x000C);
    EXPECT_EQ(d.collections[1].usage, 0x0001);
    EXPECT_EQ(d.collections[1].report_ids, Bytes{0x03});
    EXPECT_EQ(d.collections[2].usage_page, 0x0008);
    EXPECT_EQ(d.collections[2].usage, 0x0089);
    EXPECT_EQ(d.collections[2].report_ids, Bytes{0x05});

    const ReportRouting routing(d);
    EXPECT_TRUE(routing.Serves(Collection::command));
    EXPECT_TRUE(routing.Serves(Collection::consumer));
    EXPECT_TRUE(routing.Serves(Collection::status));
    const uint8_t reply[64] = {0x04, 0x01, 0x00, 0x01};
    const uint8_t event[3] = {0x03, 0xFF, 0x02};
    const uint8_t other[8] = {0x01};
    EXPECT_EQ(routing.Route(reply, sizeof reply), Collection::command);
    EXPECT_EQ(routing.Route(event, sizeof event), Collection::consumer);
    EXPECT_EQ(routing.Route(other, sizeof other), std::nullopt);
    EXPECT_EQ(routing.Route(reply, 0), std::nullopt);
    // The event code follows the report id; a report too short for it gives 0.
    EXPECT_EQ(routing.ConsumerCode(event, sizeof event), 0x02FF);
    EXPECT_EQ(routing.ConsumerCode(event, 2), 0);
}

TEST(ReportDescriptor, InterfacesWithoutKeyboardCollectionsOrWithoutReportIds)
{
    // The boot keyboard interface of the same device: its LED usages are no status collection.
    const auto boot = Parse(kBootKeyboard);
    EXPECT_TRUE(boot.complete);
    EXPECT_FALSE(boot.numbered);
    ASSERT_EQ(boot.collections.size(), 1u);
    EXPECT_EQ(boot.collections[0].usage_page, 0x0001);
    EXPECT_EQ(boot.collections[0].usage, 0x0006);
    EXPECT_TRUE(boot.collections[0].report_ids.empty());
    EXPECT_FALSE(ReportRouting(boot).ServesAny());

    // A mouse whose pointer collection is nested: one top-level collection.
    const Bytes mouse = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09,
                         0x19, 0x01, 0x29, 0x03, 0x15, 0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01,
                         0x81, 0x02, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x15, 0x81, 0x25, 0x7F,
                         0x75, 0x08, 0x95, 0x02, 0x81, 0x06, 0xC0, 0xC0};
    const auto m = Parse(mouse);
    ASSERT_EQ(m.collections.size(), 1u);
    EXPECT_EQ(m.collections[0].usage, 0x0002);

    // The command channel alone without a report id: every report of the node is a reply.
    Bytes unnumbered = kCommandCollection;
    unnumbered.erase(unnumbered.begin() + 7, unnumbered.begin() + 9);
    const ReportRouting routing(Parse(unnumbered));
    EXPECT_TRUE(routing.Serves(Collection::command));
    EXPECT_FALSE(routing.Serves(Collection::consumer));
    const uint8_t report[64] = {0x7E};
    EXPECT_EQ(routing.Route(report, sizeof report), Collection::command);

    // A vendor collection that nests a consumer-control collection serves no consumer events.
    const Bytes nested = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x05, 0x0C, 0x09, 0x01,
                          0xA1, 0x01, 0xC0, 0xC0};
    EXPECT_FALSE(ReportRouting(Parse(nested)).ServesAny());
}

TEST(ReportDescriptor, ItemFormsLongItemsExtendedUsagesPushPopAndLateUsagePage)
{
    // A long item (0xFE, size, tag, data) between the items is stepped over.
    const Bytes long_item = Join({{0xFE, 0x03, 0x10, 0xA1, 0x01, 0xC0}, kCommandCollection});
    const auto a = Parse(long_item);
    EXPECT_TRUE(a.complete);
    ASSERT_EQ(a.collections.size(), 1u);
    EXPECT_EQ(a.collections[0].usage_page, 0xFF1C);

    // A four-byte usage carries its own page; a four-byte usage page keeps its low half.
    const Bytes extended = {0x05, 0x01, 0x0B, 0x01, 0x00, 0x0C, 0x00, 0xA1, 0x01, 0xC0,
                            0x07, 0x1C, 0xFF, 0x00, 0x00, 0x09, 0x92, 0xA1, 0x01, 0xC0};
    const auto b = Parse(extended);
    ASSERT_EQ(b.collections.size(), 2u);
    EXPECT_EQ(b.collections[0].usage_page, 0x000C);
    EXPECT_EQ(b.collections[0].usage, 0x0001);
    EXPECT_EQ(b.collections[1].usage_page, 0xFF1C);
    EXPECT_EQ(b.collections[1].usage, 0x0092);

    // Push and Pop save and restore the usage page and the report id.
    const Bytes push_pop = {0x06, 0x1C, 0xFF, 0x85, 0x04, 0xA4, 0x05, 0x0C, 0x85, 0x09, 0xB4,
                            0x09, 0x92, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x3F, 0x81, 0x02, 0xC0};
    const auto c = Parse(push_pop);
    ASSERT_EQ(c.collections.size(), 1u);
    EXPECT_EQ(c.collections[0].usage_page, 0xFF1C);
    EXPECT_EQ(c.collections[0].report_ids, Bytes{0x04});

    // A usage page given after the usage but before the collection applies to it, as the
    // kernel reads it; one that an earlier usage already had leaves that usage alone.
    const auto d = Parse({0x09, 0x01, 0x05, 0x0C, 0xA1, 0x01, 0xC0});
    ASSERT_EQ(d.collections.size(), 1u);
    EXPECT_EQ(d.collections[0].usage_page, 0x000C);
    const auto e = Parse({0x05, 0x01, 0x09, 0x06, 0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0xC0});
    ASSERT_EQ(e.collections.size(), 1u);
    EXPECT_EQ(e.collections[0].usage_page, 0x0001);
    EXPECT_EQ(e.collections[0].usage, 0x0006);
}

TEST(ReportDescriptor, DamagedDescriptorsKeepWhatClosedAndNeverReadPastTheEnd)
{
    const Bytes good = Join({kCommandCollection, kConsumerCollection});
    // Cut anywhere after the second collection opened: the first one survives.
    for (size_t cut = kCommandCollection.size() + 5; cut < good.size(); ++cut) {
        const Bytes part(good.begin(), good.begin() + static_cast<long>(cut));
        const auto d = Parse(part);
        EXPECT_FALSE(d.complete) << cut;
        ASSERT_EQ(d.collections.size(), 1u) << cut;
        EXPECT_EQ(d.collections[0].usage, 0x0092);
    }
    // An item whose data runs past the end, a long item longer than what is left.
    EXPECT_FALSE(Parse({0x06, 0x1C}).complete);
    EXPECT_FALSE(Parse({0x27, 0x01, 0x02, 0x03}).complete);
    EXPECT_FALSE(Parse({0xFE, 0x10, 0x00, 0x01}).complete);
    EXPECT_FALSE(Parse({0xFE, 0x00}).complete);
    // End Collection without a collection, Pop without Push, nesting beyond any real device.
    EXPECT_FALSE(Parse({0xC0}).complete);
    EXPECT_FALSE(Parse({0xB4}).complete);
    EXPECT_FALSE(Parse(Bytes(200, 0xA1)).complete);
    EXPECT_FALSE(Parse(Bytes(200, 0xA4)).complete);
    EXPECT_TRUE(Parse({}).complete);
    EXPECT_TRUE(Parse({}).collections.empty());
}

} // namespace
} // namespace devlinx
