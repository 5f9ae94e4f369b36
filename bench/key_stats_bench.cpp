// Reading a year and more of stored per-key statistics: 10 000 session lines of the .kst file
// parsed, summed over all of them, and the figures of every key of the map made.
#include <benchmark/benchmark.h>

#include <string>

#include "records/key_analysis.h"
#include "stored_sessions.h"

namespace {

using namespace keyrook;

void BM_ReadAndAnalyse10000Sessions(benchmark::State& state) {
    const std::string text = bench::storedSessions(10000);
    for (auto _ : state) {
        const KeyAnalysis a = analyseKeyStats(readKeyStats(text), 0);
        std::size_t tips = 0;
        for (char k : std::string("1234567890-QWERTYUIOPASDFGHJKL;ZXCVBNM,./!?_"))
            tips += keyCell(a, static_cast<unsigned char>(k)).tooltip.size();
        benchmark::DoNotOptimize(tips);
        benchmark::DoNotOptimize(weakKeyRows(a, 10));
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ReadAndAnalyse10000Sessions)->Unit(benchmark::kMillisecond);

}  // namespace
