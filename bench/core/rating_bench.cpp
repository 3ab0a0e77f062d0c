// Time of the chain from a rating to its core, alone (no window): a 500 kVA,
// 10/0.4 kV Dyn11 tender at 1.6 T, nine stages at stacking factor 0.97, the
// stacks floored to 2 mm, on a 5 mm grid and step (the batch tool's
// defaults) and on a 1 mm one. The designer recomputes it on every edit, so
// it must stay far inside a frame (16 ms).
#include <benchmark/benchmark.h>

#include "kalvitra/rating/rating.h"

namespace {

using namespace kalvitra;

void BM_RatingChain_500kVA(benchmark::State& state) {
    const auto spacing = static_cast<double>(state.range(0));
    rating::Rating tender;
    tender.power = 500;
    tender.hvVoltage = 10;
    tender.lvVoltage = 0.4;
    tender.connection = rating::readConnection("Dyn11");
    tender.fluxDensity = 1.6;
    const design::DiameterQuestion section = {0, 0.97, 9, spacing, spacing, 0, 2};
    for (auto _ : state) {
        benchmark::DoNotOptimize(rating::rateCore(tender, section));
    }
}
BENCHMARK(BM_RatingChain_500kVA)->Arg(5)->Arg(1)->Unit(benchmark::kMicrosecond);

// The turns alone, steps 1 to 5.
void BM_RatingTurns_500kVA(benchmark::State& state) {
    rating::Rating tender;
    tender.power = 500;
    tender.hvVoltage = 10;
    tender.lvVoltage = 0.4;
    tender.connection = rating::readConnection("Dyn11");
    tender.fluxDensity = 1.6;
    for (auto _ : state) {
        benchmark::DoNotOptimize(rating::turnsOf(tender));
    }
}
BENCHMARK(BM_RatingTurns_500kVA);

}  // namespace
