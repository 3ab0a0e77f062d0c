// Time of the design questions at the sizes a designer asks them: the best
// nine widths of a 1000 mm core on a 1 mm grid (goal: under 10 ms), and the
// smallest core of 1000 cm² net (goal: under 100 ms).
#include <benchmark/benchmark.h>

#include "kalvitra/design/best_widths.h"

namespace {

using namespace kalvitra::design;

void BM_BestGridWidths_D1000_Grid1(benchmark::State& state) {
    const int stages = static_cast<int>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(bestGridWidths(1000, stages, 1, 0));
    }
}
BENCHMARK(BM_BestGridWidths_D1000_Grid1)->Arg(6)->Arg(9)->Unit(benchmark::kMillisecond);

void BM_BestWidthsContinuous(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(bestWidths(1000, 9));
    }
}
BENCHMARK(BM_BestWidthsContinuous);

// Grid and step of 5 mm (the batch tool's defaults), and of 1 mm.
void BM_SmallestDiameter_1000cm2(benchmark::State& state) {
    const auto spacing = static_cast<double>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(smallestDiameter({1000, 0.96, 9, spacing, spacing, 0}));
    }
}
BENCHMARK(BM_SmallestDiameter_1000cm2)->Arg(5)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
