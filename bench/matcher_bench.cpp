// The flexible romaji matcher on 100-character questions: setting up a question (its kana
// units) and judging one key, each reported as time per operation.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "base/cp932.h"
#include "problemsets/encoder.h"
#include "problemsets/romaji_decoder.h"
#include "problemsets/romaji_matcher.h"
#include "problemsets/variant_table.h"

namespace {

using namespace keyrook;

constexpr int kQuestionChars = 100;

// Code strings of 100-character readings: plain kana with small kana, small tsu, ん and signs
// in the share a sentence has them.
const std::vector<std::string>& questions() {
    static const std::vector<std::string> list = [] {
        const std::string pool =
            "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよ"
            "らりるれろわをんがぎぐげござじずぜぞだぢづでどばびぶべぼぱぴぷぺぽ"
            "しちじゃゅょっーんん、。";
        std::vector<std::string> chars;
        for (std::size_t i = 0; i < pool.size(); i += 3) chars.push_back(*utf8ToCp932(pool.substr(i, 3)));
        std::mt19937 rng(14);
        std::vector<std::string> out;
        for (int n = 0; n < 64; ++n) {
            std::string reading;
            for (int k = 0; k < kQuestionChars; ++k) reading += chars[rng() % chars.size()];
            out.push_back(encodeReading(reading));
        }
        return out;
    }();
    return list;
}

// The line as shown with the default spellings; the keys typed in Hepburn.
const VariantTable& shownTable() {
    static const VariantTable t;
    return t;
}

const std::vector<std::string>& hepburnKeys() {
    static const std::vector<std::string> list = [] {
        VariantTable hepburn;
        hepburn.applyHepburn();
        std::vector<std::string> out;
        for (const auto& q : questions()) out.push_back(Changer(q, hepburn, false));
        return out;
    }();
    return list;
}

// Setting up a question: split into units, guides joined, checked against Changer. The
// spelling lists are worked out once per user, so they are warm here as in a session.
void BM_MatcherStart100Chars(benchmark::State& state) {
    RomajiMatcher m;
    const auto& qs = questions();
    for (const auto& q : qs) m.start(q, shownTable(), false, {true, false});
    std::size_t i = 0;
    for (auto _ : state) {
        m.start(qs[i], shownTable(), false, {true, false});
        benchmark::DoNotOptimize(m.remaining().data());
        i = (i + 1) % qs.size();
    }
}
BENCHMARK(BM_MatcherStart100Chars)->Unit(benchmark::kMicrosecond);

// The same with the spelling lists worked out afresh (the first question after the lists
// changed).
void BM_MatcherStart100CharsColdLists(benchmark::State& state) {
    const auto& qs = questions();
    std::size_t i = 0;
    for (auto _ : state) {
        RomajiMatcher m;
        m.start(qs[i], shownTable(), false, {true, false});
        benchmark::DoNotOptimize(m.remaining().data());
        i = (i + 1) % qs.size();
    }
}
BENCHMARK(BM_MatcherStart100CharsColdLists)->Unit(benchmark::kMicrosecond);

// One key, typed in Hepburn against a line shown in the default spellings; each iteration is
// one key, and the set-up of the next question is left out of the timing.
void BM_MatcherKey(benchmark::State& state) {
    RomajiMatcher m;
    const auto& qs = questions();
    const auto& keys = hepburnKeys();
    std::size_t q = 0, k = 0;
    m.start(qs[q], shownTable(), false, {true, false});
    for (auto _ : state) {
        benchmark::DoNotOptimize(m.key(keys[q][k]));
        if (++k == keys[q].size()) {
            state.PauseTiming();
            if (!m.complete()) state.SkipWithError("a Hepburn key was refused");
            q = (q + 1) % qs.size();
            k = 0;
            m.start(qs[q], shownTable(), false, {true, false});
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_MatcherKey)->Unit(benchmark::kMicrosecond);

// The key of today's matching (option off), for comparison.
void BM_PlainKey(benchmark::State& state) {
    RomajiMatcher m;
    const auto& qs = questions();
    std::size_t q = 0, k = 0;
    m.start(qs[q], shownTable(), false, {false, false});
    std::string line = m.remaining();
    for (auto _ : state) {
        benchmark::DoNotOptimize(m.key(line[k]));
        if (++k == line.size()) {
            state.PauseTiming();
            q = (q + 1) % qs.size();
            k = 0;
            m.start(qs[q], shownTable(), false, {false, false});
            line = m.remaining();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_PlainKey)->Unit(benchmark::kMicrosecond);

}  // namespace
