#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "keyboard/key_code.h"
#include "profiles/keyboard_readback.h"
#include "profiles/macro_download.h"
#include "support/fake_device.h"

namespace kovantis {
namespace {

using testing::FakeDevice;

MacroRecord LongMacro(uint16_t id, int steps)
{
    MacroRecord r;
    r.SetName(u"Long");
    r.id = id;
    r.playCount = 1;
    r.actionCount = static_cast<uint16_t>(steps);
    for (int i = 0; i < steps; ++i) {
        r.actions[static_cast<size_t>(i)] = {5, 0x01E, static_cast<uint16_t>(i % 2)};
    }
    return r;
}

// Every (sent, total) the transfer told, in order.
struct Told {
    std::vector<std::pair<int, int>> calls;
    TransferProgress Progress()
    {
        return [this](int sent, int total) { calls.emplace_back(sent, total); };
    }
    // The shares shown never go back and end at the whole.
    void ExpectSteadyToTheEnd(size_t reports) const
    {
        ASSERT_EQ(calls.size(), reports) << "one call per report sent";
        double last = 0;
        for (size_t i = 0; i < calls.size(); ++i) {
            EXPECT_EQ(calls[i].first, static_cast<int>(i) + 1);
            const double share = static_cast<double>(calls[i].first) / calls[i].second;
            EXPECT_GE(share, last) << "at report " << i + 1;
            last = share;
        }
        EXPECT_EQ(calls.back().first, calls.back().second) << "the last report is the last one counted";
    }
};

TEST(TransferProgress, ADownloadCountsEveryReportItSends)
{
    FakeDevice device;
    device.State().SetMacroAreaSize(8192);
    ProfileDataPair data;
    {
        ProfileData::Lock lock(data.working);
        lock->macros = {LongMacro(1, 300), LongMacro(2, 40)};
    }
    device.ClearSent();
    Told told;
    DownloadLink link{device.Commands(), device.State(), device.GetPrompter(), device.Texts(), told.Progress()};
    ASSERT_EQ(DownloadToKeyboard(data, link, true), 1);
    told.ExpectSteadyToTheEnd(device.Sent().size());
    EXPECT_GT(told.calls.size(), 40u);

    // Once the transfer is over, the next exchanges are nobody's progress.
    const size_t counted = told.calls.size();
    device.Commands().ForgetActiveProfile();
    device.Commands().GetActiveProfile();
    EXPECT_EQ(told.calls.size(), counted);
}

TEST(TransferProgress, AReadBackCountsEveryReportAndEndsAtTheWhole)
{
    FakeDevice device;
    device.State().SetMacroAreaSize(8192);
    ProfileDataPair data;
    {
        ProfileData::Lock lock(data.working);
        lock->macros = {LongMacro(1, 200)};
    }
    ASSERT_EQ(DownloadToKeyboard(data, {device.Commands(), device.State(), device.GetPrompter(), device.Texts()}, true),
              1);
    device.Commands().GetActiveProfile();  // cached: the read-back itself sends only what it reads
    device.ClearSent();
    Told told;
    ASSERT_TRUE(ReadKeyboardContents(device.Commands(), device.State(), device.Texts(), nullptr, told.Progress()));
    told.ExpectSteadyToTheEnd(device.Sent().size());
}

} // namespace
} // namespace kovantis
