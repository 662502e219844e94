// Any bytes as a hidraw node's report descriptor (sysfs hands the library whatever the device
// declares): parsing never reads past the bytes and ends with a consistent result, and routing
// any report by it never reads past the report.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "report_descriptor.h"
#include "fuzz/fuzz_check.h"

using kovantis::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace devlinx;
    const ReportDescriptor descriptor = ParseReportDescriptor(data, size);

    // Each top-level collection takes at least its Collection and End Collection items.
    Check(descriptor.collections.size() <= size / 2);
    for (const TopLevelCollection& tlc : descriptor.collections) {
        Check(descriptor.numbered || tlc.report_ids.empty());
        std::vector<uint8_t> ids = tlc.report_ids;
        std::sort(ids.begin(), ids.end());
        Check(std::adjacent_find(ids.begin(), ids.end()) == ids.end());
    }
    // The same bytes give the same result.
    const ReportDescriptor again = ParseReportDescriptor(data, size);
    Check(again.collections.size() == descriptor.collections.size() &&
          again.numbered == descriptor.numbered && again.complete == descriptor.complete);

    // The descriptor's own bytes stand in for reports of every length, down to none.
    const ReportRouting routing(descriptor);
    for (size_t length = 0; length <= std::min<size_t>(size, 8); ++length) {
        const uint8_t* report = data + size - length;
        if (const auto c = routing.Route(report, length))
            Check(routing.Serves(*c));
        routing.ConsumerCode(report, length);
    }
    return 0;
}
