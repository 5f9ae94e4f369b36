// Shift-JIS conversions of short lines, the way the tool and the windows call them: one line
// at a time.
#include <benchmark/benchmark.h>

#include <string>

#include "base/cp932.h"

namespace {

using namespace keyrook;

void BM_Cp932ToUtf8Line(benchmark::State& state) {
    const std::string line = *utf8ToCp932("がっこうにいくまえにしゃしんをとった");
    for (auto _ : state) benchmark::DoNotOptimize(cp932ToUtf8(line));
    state.SetItemsProcessed(state.iterations());
}

void BM_Utf8ToCp932Line(benchmark::State& state) {
    const std::string line = "がっこうにいくまえにしゃしんをとった";
    for (auto _ : state) benchmark::DoNotOptimize(utf8ToCp932(line));
    state.SetItemsProcessed(state.iterations());
}

void BM_AsciiLine(benchmark::State& state) {
    const std::string line = "GA18KOUNIIKUMAENI0501NNWOTO18TA";
    for (auto _ : state) benchmark::DoNotOptimize(cp932ToUtf8(line));
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_Cp932ToUtf8Line);
BENCHMARK(BM_Utf8ToCp932Line);
BENCHMARK(BM_AsciiLine);

}  // namespace
