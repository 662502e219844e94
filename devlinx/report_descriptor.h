#pragma once
// The top-level collections of a HID report descriptor (as the kernel shows it in sysfs), and how
// the reports of one hidraw node map onto the keyboard's collections.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "device_match.h"

namespace devlinx {

struct TopLevelCollection {
    uint16_t usage_page = 0;
    uint16_t usage = 0;
    // Ids of the reports declared inside it, in first-seen order; empty when reports carry no id.
    std::vector<uint8_t> report_ids;
};

struct ReportDescriptor {
    std::vector<TopLevelCollection> collections;
    // Some Report ID item was present: every report of the node starts with its id.
    bool numbered = false;
    // false when the bytes ended inside an item, collections did not balance or nested too deep;
    // the collections closed before that point are still listed.
    bool complete = true;
};

ReportDescriptor ParseReportDescriptor(const uint8_t* bytes, size_t length);

class ReportRouting {
public:
    explicit ReportRouting(const ReportDescriptor& descriptor);

    bool Serves(Collection c) const { return serves_[Index(c)]; }
    bool ServesAny() const;
    // The collection a report read from the node belongs to, by its report id when reports are
    // numbered; nullopt for reports of collections the keyboard's protocol does not use.
    std::optional<Collection> Route(const uint8_t* report, size_t length) const;
    // The 16-bit code of a consumer report: the two bytes after the report id, little-endian;
    // 0 when the report is too short to hold one.
    uint16_t ConsumerCode(const uint8_t* report, size_t length) const;

private:
    static constexpr int8_t kNone = -1;
    bool numbered_ = false;
    int8_t unnumbered_ = kNone;
    std::array<int8_t, 256> by_id_{};
    std::array<bool, kCollectionCount> serves_{};
};

} // namespace devlinx
