#include "report_descriptor.h"

#include <algorithm>
#include <span>

#include "wire/le_bytes.h"

namespace devlinx {
namespace {

// Item prefixes: tag in the high nibble, type in bits 2-3, size code in bits 0-1.
enum ItemType : uint8_t { kMain = 0, kGlobal = 1, kLocal = 2 };
enum MainTag : uint8_t {
    kInput = 0x8,
    kOutput = 0x9,
    kCollection = 0xA,
    kFeature = 0xB,
    kEndCollection = 0xC
};
enum GlobalTag : uint8_t { kUsagePage = 0x0, kReportId = 0x8, kPush = 0xA, kPop = 0xB };
enum LocalTag : uint8_t { kUsage = 0x0 };
constexpr uint8_t kLongItemPrefix = 0xFE;
// Deeper nesting or more pushes than any real device uses mark the descriptor as damaged.
constexpr size_t kMaxDepth = 32;

struct GlobalState {
    uint16_t usage_page = 0;
    uint8_t report_id = 0;
};

// A Usage since the last main item, with the page it belongs to.
struct PendingUsage {
    uint16_t page = 0;
    uint16_t usage = 0;
    bool extended = false; // four-byte form: the page came with it
};
// More usages than this before one main item are not remembered; only the first one matters.
constexpr size_t kMaxPendingUsages = 64;

uint32_t ItemData(const uint8_t* data, size_t size)
{
    uint32_t value = 0;
    for (size_t i = 0; i < size; ++i)
        value |= static_cast<uint32_t>(data[i]) << (8 * i);
    return value;
}

class Parser {
public:
    ReportDescriptor Run(const uint8_t* bytes, size_t length)
    {
        size_t pos = 0;
        while (pos < length) {
            const uint8_t prefix = bytes[pos];
            if (prefix == kLongItemPrefix) {
                // Long items carry no usage or collection information; step over them.
                if (length - pos < 3 || length - pos - 3 < bytes[pos + 1])
                    return Damaged();
                pos += 3 + bytes[pos + 1];
                continue;
            }
            static constexpr size_t kSizes[4] = {0, 1, 2, 4};
            const size_t size = kSizes[prefix & 0x3];
            if (length - pos - 1 < size)
                return Damaged();
            const uint32_t data = ItemData(bytes + pos + 1, size);
            pos += 1 + size;
            if (!Item(static_cast<uint8_t>((prefix >> 2) & 0x3), static_cast<uint8_t>(prefix >> 4),
                      data, size))
                return Damaged();
        }
        if (depth_ != 0)
            return Damaged();
        return std::move(result_);
    }

private:
    bool Item(uint8_t type, uint8_t tag, uint32_t data, size_t size)
    {
        switch (type) {
        case kMain:
            return MainItem(tag);
        case kGlobal:
            return GlobalItem(tag, data);
        case kLocal:
            if (tag == kUsage && usages_.size() < kMaxPendingUsages) {
                // A four-byte usage names its page in the high half.
                const bool extended = size == 4;
                usages_.push_back(PendingUsage{
                    extended ? static_cast<uint16_t>(data >> 16) : global_.usage_page,
                    static_cast<uint16_t>(data), extended});
            }
            return true;
        default:
            return true;
        }
    }

    // As the kernel does: a Usage Page given after short usages but before their main item
    // applies to the trailing usages that do not have it yet.
    void ApplyLastUsagePage()
    {
        for (auto it = usages_.rbegin(); it != usages_.rend(); ++it) {
            if (it->extended)
                continue;
            if (it->page == global_.usage_page)
                break;
            it->page = global_.usage_page;
        }
    }

    bool MainItem(uint8_t tag)
    {
        ApplyLastUsagePage();
        switch (tag) {
        case kCollection:
            if (depth_ == kMaxDepth)
                return false;
            if (depth_ == 0) {
                const PendingUsage first = usages_.empty() ? PendingUsage{} : usages_.front();
                open_ = TopLevelCollection{first.page, first.usage, {}};
            }
            ++depth_;
            break;
        case kEndCollection:
            if (depth_ == 0)
                return false;
            if (--depth_ == 0)
                result_.collections.push_back(std::move(open_));
            break;
        case kInput:
        case kOutput:
        case kFeature:
            if (depth_ > 0 && result_.numbered && !Contains(open_.report_ids, global_.report_id))
                open_.report_ids.push_back(global_.report_id);
            break;
        default:
            break;
        }
        usages_.clear();
        return true;
    }

    bool GlobalItem(uint8_t tag, uint32_t data)
    {
        switch (tag) {
        case kUsagePage:
            global_.usage_page = static_cast<uint16_t>(data);
            break;
        case kReportId:
            global_.report_id = static_cast<uint8_t>(data);
            result_.numbered = true;
            break;
        case kPush:
            if (stack_.size() == kMaxDepth)
                return false;
            stack_.push_back(global_);
            break;
        case kPop:
            if (stack_.empty())
                return false;
            global_ = stack_.back();
            stack_.pop_back();
            break;
        default:
            break;
        }
        return true;
    }

    static bool Contains(const std::vector<uint8_t>& ids, uint8_t id)
    {
        return std::find(ids.begin(), ids.end(), id) != ids.end();
    }

    ReportDescriptor Damaged()
    {
        result_.complete = false;
        return std::move(result_);
    }

    ReportDescriptor result_;
    GlobalState global_;
    std::vector<GlobalState> stack_;
    std::vector<PendingUsage> usages_;
    TopLevelCollection open_;
    size_t depth_ = 0;
};

} // namespace

ReportDescriptor ParseReportDescriptor(const uint8_t* bytes, size_t length)
{
    return Parser().Run(bytes, length);
}

ReportRouting::ReportRouting(const ReportDescriptor& descriptor) : numbered_(descriptor.numbered)
{
    by_id_.fill(kNone);
    for (const TopLevelCollection& tlc : descriptor.collections) {
        const auto c = CollectionOfUsage(tlc.usage_page, tlc.usage);
        if (!c)
            continue;
        serves_[Index(*c)] = true;
        const auto index = static_cast<int8_t>(Index(*c));
        if (unnumbered_ == kNone)
            unnumbered_ = index;
        for (uint8_t id : tlc.report_ids)
            by_id_[id] = index;
    }
}

bool ReportRouting::ServesAny() const
{
    return std::find(serves_.begin(), serves_.end(), true) != serves_.end();
}

std::optional<Collection> ReportRouting::Route(const uint8_t* report, size_t length) const
{
    if (length == 0)
        return std::nullopt;
    const int8_t index = numbered_ ? by_id_[report[0]] : unnumbered_;
    if (index == kNone)
        return std::nullopt;
    return static_cast<Collection>(index);
}

uint16_t ReportRouting::ConsumerCode(const uint8_t* report, size_t length) const
{
    const size_t offset = numbered_ ? 1 : 0;
    if (length < offset + 2)
        return 0;
    return kovantis::ReadU16(std::span(report, length), offset);
}

} // namespace devlinx
