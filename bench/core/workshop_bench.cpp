// Time of the workshop's answers for a nine-stage core: the cut list with its
// masses and the no-load loss (goal: under 20 µs), and the cut list's DXF
// drawing (goal: under 1 ms).
#include <benchmark/benchmark.h>

#include "kalvitra/drawing/dxf.h"
#include "kalvitra/workshop/cut_list.h"
#include "kalvitra/workshop/loss.h"

namespace {

using namespace kalvitra;
using namespace kalvitra::workshop;

// The smallest core of 1000 cm² net in nine stages (D 375), three limbs.
const Section kSection = {375, {365, 345, 320, 290, 260, 225, 185, 140, 80}};
const Frame kFrame = {1100, 520, 3, 7.65, 0.96};
const CutListOptions kOptions = {2, 0.27};

void BM_CutListMassLoss_9Stages(benchmark::State& state) {
    const LossCurve& grade = builtInGrade("M4-0.27");
    for (auto _ : state) {
        const CutList list = cutList(kSection, kFrame, kOptions);
        const double convention = threeLimbsConventionMass(list);
        const NoLoadLoss loss =
            noLoadLoss(grade, fluxDensityOf(36, 50, list.netAreaMm2), list.frameMass, 1.25);
        benchmark::DoNotOptimize(convention);
        benchmark::DoNotOptimize(loss);
    }
}
BENCHMARK(BM_CutListMassLoss_9Stages)->Unit(benchmark::kMicrosecond);

void BM_CutListDxf_9Stages(benchmark::State& state) {
    const CutList list = cutList(kSection, kFrame, kOptions);
    for (auto _ : state) {
        benchmark::DoNotOptimize(dxf::writeCutListDxf(list, drawing::Language::Chinese));
    }
}
BENCHMARK(BM_CutListDxf_9Stages)->Unit(benchmark::kMillisecond);

}  // namespace
