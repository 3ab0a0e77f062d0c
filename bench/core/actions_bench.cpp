// Time of one press of each calculation button on the six-stage example
// sheet (D = 200, widths 190..65, H = 600, M = 420, Z = 3, dpxs = 0.97).
#include <benchmark/benchmark.h>

#include "kalvitra/sheet/actions.h"
#include "kalvitra/testing/worked_example.h"
#include "kalvitra/text/numbers.h"

namespace {

kalvitra::Sheet exampleSheet() {
    kalvitra::Sheet sheet;
    kalvitra::worked_example::fill(sheet, kalvitra::worked_example::kSection);
    kalvitra::worked_example::fill(sheet, kalvitra::worked_example::kFrame);
    // Every action after the first reads what the earlier ones wrote.
    for (kalvitra::Action action : kalvitra::kAllActions) {
        kalvitra::runAction(action, sheet);
    }
    return sheet;
}

void BM_Action(benchmark::State& state) {
    const auto action = static_cast<kalvitra::Action>(state.range(0));
    kalvitra::Sheet sheet = exampleSheet();
    for (auto _ : state) {
        kalvitra::runAction(action, sheet);
        benchmark::DoNotOptimize(sheet);
    }
    state.SetLabel(std::string(kalvitra::actionName(action)));
}
BENCHMARK(BM_Action)->DenseRange(0, static_cast<int>(kalvitra::kAllActions.size()) - 1);

void BM_AllFiveActions(benchmark::State& state) {
    kalvitra::Sheet sheet = exampleSheet();
    for (auto _ : state) {
        for (kalvitra::Action action : kalvitra::kAllActions) {
            kalvitra::runAction(action, sheet);
        }
        benchmark::DoNotOptimize(sheet);
    }
}
BENCHMARK(BM_AllFiveActions);

void BM_ReadLenient(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(kalvitra::readLenient("0062.45"));
    }
}
BENCHMARK(BM_ReadLenient);

void BM_WriteDefault(benchmark::State& state) {
    double value = 17.1872918275927;
    for (auto _ : state) {
        benchmark::DoNotOptimize(kalvitra::writeDefault(value));
    }
}
BENCHMARK(BM_WriteDefault);

}  // namespace
