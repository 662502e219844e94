// A full macro area (macro space byte 0xFF, 32 640 bytes) and one keymap downloaded to
// kovantis-vkbd with 1 ms on the link each way, against the floor the link allows: every
// exchange's round trip, measured in the same run, plus the 10 ms the closing bracket waits.
//
//   download [ROUNDS]

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "macros/macro_area.h"
#include "profiles/macro_download.h"
#include "support/vkbd_link.h"

namespace {

using Steady = std::chrono::steady_clock;

double Milliseconds(Steady::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

} // namespace

int main(int argc, char** argv)
{
    using namespace kovantis;
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    testing::VkbdLink setup({"--macro-space", "255", "--latency-ms", "1"});
    if (!setup.Error().empty()) {
        std::fprintf(stderr, "download: %s\n", setup.Error().c_str());
        return 1;
    }
    DeviceLink& link = setup.Link();
    const int space = link.State().MacroAreaSize();

    // Eight nameless macros that fill the macro area to its last byte.
    ProfileDataPair data;
    {
        ProfileData::Lock lock(data.working);
        lock->macros.assign(8, MacroRecord{});
        const int steps = (space - 16 - 2 * 8 - 8 * 4) / 4;
        for (size_t i = 0; i < 8; ++i) {
            MacroRecord& m = lock->macros[i];
            m.id = static_cast<uint16_t>(i + 1);
            m.playCount = 1;
            m.actionCount = static_cast<uint16_t>(steps / 8 + (static_cast<int>(i) < steps % 8 ? 1 : 0));
            m.actions.fill({100, 0x01E, kMacroPress});
        }
    }
    uint32_t imageSize = 0;
    {
        ProfileData::Lock lock(data.working);
        imageSize = MeasureMacroAreaImage(lock->macros).withNames;
    }
    link.Commands().GetActiveProfile();  // cached, as after the keyboard's arrival

    // The link's own round trip: one exchange at a time, nothing else.
    std::array<uint8_t, kSettingsBlockSize> settings{};
    const int probes = 200;
    const auto probeStart = Steady::now();
    for (int i = 0; i < probes; ++i) {
        link.Commands().ReadSettingsBlock(settings);
    }
    const double roundTrip = Milliseconds(Steady::now() - probeStart) / probes;

    const DownloadLink downloadLink{link.Commands(), link.State(), setup.Prompter(),
                                    setup.Texts()};
    Steady::duration total{};
    for (int r = 0; r < rounds; ++r) {
        const auto start = Steady::now();
        if (DownloadToKeyboard(data, downloadLink, false) != 1) {
            std::fprintf(stderr, "download: the download failed\n");
            return 1;
        }
        total += Steady::now() - start;
    }
    const int exchanges = 1 + static_cast<int>((imageSize + 55) / 56) + 7 + 1;
    const double floor = exchanges * roundTrip + 10.0;
    const double took = Milliseconds(total) / rounds;
    std::printf("download: %u-byte macro area + 1 keymap, %d exchanges, round trip %.3f ms\n", imageSize, exchanges,
                roundTrip);
    std::printf("download: %.1f ms against a floor of %.1f ms\n", took, floor);
    std::printf("download ratio %.4f (goal <= 1.03)\n", took / floor);
    return 0;
}
