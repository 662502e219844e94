// The cost of one preview tick (all keys) for every effect, against the 50 ms timer period it
// must fit in many times over. Prints each effect's 99th-percentile tick, the worst of them and
// `ratio`, that worst cost over the period (goal: below 0.02).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "lighting/effect_catalog.h"
#include "lighting/preview_engine.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kTicks = 20000;
constexpr double kPeriodNs = 50e6;

double Percentile99(std::vector<double>& samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() * 99 / 100];
}

} // namespace

int main()
{
    using namespace kovantis;
    std::vector<double> samples(kTicks);
    double worst = 0;
    int worstEffect = 0;
    PreviewFrame frame;
    uint64_t checksum = 0;
    for (int effect = 1; effect <= 20; ++effect) {
        LightingState lighting;
        lighting.effectId = effect;
        lighting.multicolour = effect % 2 == 0;
        lighting.direction = kDirectionFirst;
        PreviewState state;
        state.seed = 12345;
        for (int i = 0; i < kTicks; ++i) {
            const auto start = Clock::now();
            PreviewStep(lighting, state, frame);
            const auto end = Clock::now();
            samples[static_cast<size_t>(i)] = std::chrono::duration<double, std::nano>(end - start).count();
            checksum += frame.colours[static_cast<size_t>(i % kMatrixSize)].g;
        }
        const double p99 = Percentile99(samples);
        std::printf("effect %2d %-14s p99 tick %8.0f ns\n", effect, BuiltInEffectName(effect), p99);
        if (p99 > worst) {
            worst = p99;
            worstEffect = effect;
        }
    }
    std::printf("worst per-tick cost: %.0f ns (effect %d), period 50 ms\n", worst, worstEffect);
    std::printf("ratio %.6f (goal below 0.02)\n", worst / kPeriodNs);
    std::printf("checksum %llu\n", static_cast<unsigned long long>(checksum));
    return 0;
}
