// Reading a year and more of stored per-key statistics: 10 000 session lines of the .kst file
// parsed, summed over all of them, and the figures of every key of the map made.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

#include "base/files.h"
#include "bench_data.h"

#include "records/history.h"
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

// A .kst file of n lines, written once per run.
std::string kstOf(long long lines) {
    static std::map<long long, std::unique_ptr<bench::ScratchDir>> dirs;
    auto& dir = dirs[lines];
    if (!dir) {
        dir = std::make_unique<bench::ScratchDir>();
        saveStringToFile(dir->dir() + "amy.kst", bench::storedSessions(static_cast<int>(lines)));
    }
    return dir->dir() + "amy.kst";
}

// The weak-key window's figures for a range, read from a .kst file of n lines: the default range
// (the last 10 sessions) reads the file's end only, so its cost does not grow with the history;
// "all" reads every line.
void BM_WeakKeysRangeFromFile(benchmark::State& state) {
    const std::string path = kstOf(state.range(0));
    const std::size_t last = static_cast<std::size_t>(state.range(1));
    for (auto _ : state) {
        const KeyAnalysis a = analyseKeyStats(readLastKeyStats(path, last), 0);
        benchmark::DoNotOptimize(weakKeyRows(a, 10));
    }
}

// A key clicked in the weak-key window: its miss rate per week over the whole file.
void BM_KeyWeeksFromFile(benchmark::State& state) {
    const std::string path = kstOf(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(keyMissRateByWeek(path, 'R'));
}
BENCHMARK(BM_KeyWeeksFromFile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WeakKeysRangeFromFile)
    ->Args({10000, 10})
    ->Args({100000, 10})
    ->Args({100000, 50})
    ->Args({100000, 0})
    ->Unit(benchmark::kMillisecond);

}  // namespace
