// Time of one press of each calculation button on the six-stage example
// sheet (D = 200, widths 190..65, H = 600, M = 420, Z = 3, dpxs = 0.97).
#include <benchmark/benchmark.h>

#include "kalvitra/actions.h"
#include "kalvitra/numbers.h"

namespace {

using kalvitra::Field;

kalvitra::Sheet exampleSheet() {
    kalvitra::Sheet sheet;
    const std::pair<Field, const char*> inputs[] = {
        {Field::D, "200"},   {Field::PK1, "190"}, {Field::PK2, "175"},  {Field::PK3, "155"},
        {Field::PK4, "130"}, {Field::PK5, "100"}, {Field::PK6, "65"},   {Field::H, "600"},
        {Field::M, "420"},   {Field::Z, "3"},     {Field::dpxs, "0.97"}};
    for (const auto& [field, text] : inputs) {
        sheet.setText(field, text);
    }
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
