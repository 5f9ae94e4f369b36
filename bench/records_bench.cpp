// The record viewer's rules over a long history: one title practised daily for years gives a
// record file of 100 000 to 1 000 000 sessions. Title choices, the list of a title, the first
// sort by each column, the texts painted for one screen of rows, storing one more session.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

#include "bench_data.h"
#include "base/files.h"
#include "records/record_log.h"
#include "typing/record_file.h"

namespace {

using namespace keyrook;

const DateTime kToday{2024, 3, 25, 12, 0, 0};

// One history per size, written once for all benchmarks of a run.
const bench::ScratchDir& history(long long sessions) {
    static std::map<long long, std::unique_ptr<bench::ScratchDir>> dirs;
    auto& dir = dirs[sessions];
    if (!dir) {
        dir = std::make_unique<bench::ScratchDir>();
        bench::writeRecordFile(dir->dir() + "user/amy.rec", "amy", "T", sessions);
    }
    return *dir;
}

void BM_TitleChoices(benchmark::State& state) {
    RecordLog log(history(state.range(0)).dir());
    for (auto _ : state) {
        log.lstUserMouseUp({"amy"});
        benchmark::DoNotOptimize(log.titles().data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ChooseTitle(benchmark::State& state) {
    RecordLog log(history(state.range(0)).dir());
    for (auto _ : state) log.cmbTitleChange({"amy"}, "T", kToday);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The first click on a header: the column's keys are made, then the rows sorted.
void BM_SortColumn(benchmark::State& state) {
    const int column = static_cast<int>(state.range(0));
    RecordLog log(history(state.range(1)).dir());
    for (auto _ : state) {
        state.PauseTiming();
        log.cmbTitleChange({"amy"}, "T", kToday);
        state.ResumeTiming();
        log.lslogColumnClick(column);
    }
    state.SetItemsProcessed(state.iterations() * state.range(1));
}

// Every cell of 20 rows, as one paint of the list asks for them.
void BM_PaintTexts(benchmark::State& state) {
    RecordLog log(history(100000).dir());
    log.cmbTitleChange({"amy"}, "T", kToday);
    std::size_t place = 0;
    for (auto _ : state) {
        for (int r = 0; r < 20; ++r, place = (place + 7919) % log.rowCount())
            for (int k = 1; k <= kLogColumns; ++k) benchmark::DoNotOptimize(log.columnText(place, k));
    }
}

// One more session appended to a long history.
void BM_StoreRecord(benchmark::State& state) {
    bench::ScratchDir dir;
    const std::string path = dir.dir() + "user/amy.rec";
    bench::writeRecordFile(path, "amy", "T", state.range(0));
    const std::string line = bench::sessionLine("amy", "T", 7);
    for (auto _ : state) writeRecord(path, line);
}

BENCHMARK(BM_TitleChoices)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChooseTitle)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortColumn)
    ->ArgsProduct({{1, 2, 3, 4, 5, 6, 7, 8}, {100000}})
    ->Args({5, 1000000})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintTexts)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StoreRecord)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
