// In-process timing of the CSV batch: the same streaming path as
// `kalvitra-cli --csv`, without the pipe, over a generated table.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "batch.h"
#include "design_table.h"
#include "kalvitra/sheet/actions.h"

namespace {

using namespace kalvitra;

constexpr std::size_t kRows = 50000;

const std::string& designTable() {
    static const std::string table = [] {
        bench::DesignTable generator(1);
        std::string csv = bench::DesignTable::header();
        for (std::size_t i = 0; i < kRows; ++i) {
            generator.appendRow(csv);
        }
        return csv;
    }();
    return table;
}

class DiscardingSink final : public cli::ByteSink {
public:
    void write(std::string_view bytes) override { written += bytes.size(); }
    std::size_t written = 0;
};

void runBatch(benchmark::State& state, const std::vector<Action>& actions) {
    const std::string& table = designTable();
    for (auto _ : state) {
        cli::StringSource source(table);
        DiscardingSink sink;
        std::string diagnostics;
        const int status = cli::runCsvBatch(source, sink, actions, diagnostics);
        if (status != cli::kExitSuccess) {
            state.SkipWithError(diagnostics.c_str());
            return;
        }
        benchmark::DoNotOptimize(sink.written);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kRows));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * table.size()));
}

// Reading, filling the sheet and writing, without calculations.
void BM_CsvBatchNoActions(benchmark::State& state) {
    runBatch(state, {});
}

void BM_CsvBatchAllActions(benchmark::State& state) {
    runBatch(state, {kAllActions.begin(), kAllActions.end()});
}

BENCHMARK(BM_CsvBatchNoActions)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvBatchAllActions)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
