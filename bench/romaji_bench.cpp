// Throughput of the encoder and both decoders over realistic readings, in readings per second.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "base/cp932.h"
#include "problemsets/encoder.h"
#include "problemsets/reading_decoder.h"
#include "problemsets/romaji_decoder.h"
#include "problemsets/variant_table.h"

namespace {

using namespace keyrook;

// Readings of 4 to 20 characters drawn from plain kana with a fair share of small kana, small
// tsu and long vowels, like the sentences of a problem set.
const std::vector<std::string>& readings() {
    static const std::vector<std::string> list = [] {
        const std::string pool =
            "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよ"
            "らりるれろわをんがぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽ"
            "ゃゅょっーぁぃぇぉ、。";
        std::vector<std::string> chars;
        for (std::size_t i = 0; i < pool.size(); i += 3) chars.push_back(*utf8ToCp932(pool.substr(i, 3)));
        std::mt19937 rng(7);
        std::vector<std::string> out;
        for (int n = 0; n < 10000; ++n) {
            std::string r;
            const int length = 4 + static_cast<int>(rng() % 17);
            for (int k = 0; k < length; ++k) r += chars[rng() % chars.size()];
            out.push_back(std::move(r));
        }
        return out;
    }();
    return list;
}

const std::vector<std::string>& codes() {
    static const std::vector<std::string> list = [] {
        std::vector<std::string> out;
        for (const auto& r : readings()) out.push_back(encodeReading(r));
        return out;
    }();
    return list;
}

template <typename Fn>
void overAll(benchmark::State& state, const std::vector<std::string>& inputs, Fn fn) {
    for (auto _ : state)
        for (const auto& s : inputs) benchmark::DoNotOptimize(fn(s));
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(inputs.size()));
}

void BM_Encode(benchmark::State& state) {
    overAll(state, readings(), [](const std::string& r) { return encodeReading(r); });
}
BENCHMARK(BM_Encode);

void BM_Changer(benchmark::State& state) {
    VariantTable variants;
    variants.applyHepburn();
    overAll(state, codes(), [&](const std::string& c) { return Changer(c, variants, false); });
}
BENCHMARK(BM_Changer);

void BM_ChangeYomi(benchmark::State& state) {
    overAll(state, codes(), [](const std::string& c) { return ChangeYomi(c, false); });
}
BENCHMARK(BM_ChangeYomi);

}  // namespace
