// Cost of one key press in a practice session: hits and misses through FormKeyPress, with the
// question changes (romaji decoding, row bookkeeping) that a session makes between them.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "quiet_services.h"
#include "typing/typing_engine.h"

namespace {

using namespace keyrook;

// Services that do nothing but count, so the figure is the engine's own.
struct StepClock : Clock {
    std::uint32_t now = 1'000'000;
    std::uint32_t tickCount() override { return now += 37; }
};
struct NullTimers : Timers {
    void setEnabled(const std::string&, bool) override {}
    bool enabled(const std::string&) const override { return false; }
    void setInterval(const std::string&, int) override {}
    int interval(const std::string&) const override { return 0; }
};
struct NullRandom : Random {
    void randomize() override {}
    int next(int range) override { return range > 1 ? 1 : 0; }
};

// 200 questions whose code strings use variant groups, small tsu and n, like a real set.
std::vector<std::string> problemSet() {
    const char* answers[] = {"0501NN18KA0203TA", "KANNTANNNI0409KENNSA", "1618TO0607KUDAI",
                             "GA18KOU_NI_IKU", "1415NNTO_0903NN0405"};
    std::vector<std::string> lines = {"bench/keyrook"};
    for (int i = 0; i < 200; ++i) {
        lines.push_back("question " + std::to_string(i));
        lines.push_back(answers[i % 5]);
    }
    return lines;
}

void runSession(benchmark::State& state, int missEvery) {
    StepClock clock;
    NullTimers timers;
    NullRandom random;
    bench::QuietSounds sounds;
    bench::QuietDialogs dialogs;
    const std::vector<std::string> file = problemSet();
    std::vector<std::string> setLines = file;
    bool plain = false;
    FixedTypingSettings settings;
    TypingEngine engine({clock, timers, random, sounds, dialogs}, setLines, plain, settings);
    engine.onReloadSetLines = [&] { setLines = file; };
    engine.preparePractice("bench");
    engine.FormShow();

    auto begin = [&] {
        engine.btnStartClick();
        for (int i = 0; i < 16; ++i) engine.tmrDarkerTimer();
        engine.tmrIntervalTimer();
    };
    begin();
    long keys = 0;
    for (auto _ : state) {
        const std::string& line = engine.view().lblTyping;
        const char key = (missEvery > 0 && keys % missEvery == 0) ? '#' : line[0];
        engine.FormKeyPress(key);
        ++keys;
        if (line.empty()) {
            engine.tmrIntervalTimer();  // the next question (or the end of the list)
            if (engine.view().btnStartEnabled) {
                state.PauseTiming();
                begin();
                state.ResumeTiming();
            }
        }
    }
    state.SetItemsProcessed(keys);
    benchmark::DoNotOptimize(sounds.count);
}

void BM_KeyPressHits(benchmark::State& state) { runSession(state, 0); }
void BM_KeyPressOneMissInTen(benchmark::State& state) { runSession(state, 10); }

BENCHMARK(BM_KeyPressHits);
BENCHMARK(BM_KeyPressOneMissInTen);

}  // namespace
