// The reflex game on virtual time: whole 62-second games, key judging, scores, the countdown
// and the result handed to the result dialog.
#include "reflex/reflex_engine.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <array>

#include "base/cp932.h"
#include "reflex/ref_file.h"
#include "reflex/reflex_levels.h"
#include "support/fakes.h"

namespace keyrook {
namespace {

using namespace fakes;

struct ReflexGame : ::testing::Test {
    FakeClock clock{50000};
    FakeTimers timers{clock};
    FakeRandom random{7};
    FakeSounds sounds;
    ReflexEngine engine{{clock, timers, random, sounds}};
    std::vector<ReflexResult> results;
    std::vector<std::uint64_t> resultTimes;

    void SetUp() override {
        timers.setHandler([this](const std::string& name) { engine.timerFired(name); });
        engine.onFinalGame = [this](const ReflexResult& r) {
            results.push_back(r);
            resultTimes.push_back(clock.now());
        };
    }
    void start(int level) {
        engine.setLevel(level, reflexLevel(level).lines);
        engine.btnStartClick();
    }
    // Steps a millisecond at a time until the next letter is dealt.
    void waitForDeal() {
        const int before = engine.dealt();
        for (int i = 0; i < 20000 && engine.dealt() == before; ++i) timers.advance(1);
        ASSERT_GT(engine.dealt(), before);
    }
    // Waits for the next letter, which must be slot 1's, and types it reactionMs later.
    void hitAfter(int reactionMs) {
        waitForDeal();
        timers.advance(static_cast<std::uint64_t>(reactionMs));
        const char letter = engine.slotLetter(1);
        ASSERT_NE(letter, 0);
        engine.FormKeyPress(static_cast<char32_t>(letter));
    }
    std::string shown() const {
        std::string s;
        for (const auto& c : engine.view().cells) s += c;
        return s;
    }
};

TEST_F(ReflexGame, LetterLifetimesPerLevel) {
    struct Case { int level, draw, ms; };
    for (const Case& c : std::vector<Case>{{1, 0, 3500},
                                           {1, 999, 6996},  // 6996.5: even
                                           {2, 0, 3000},
                                           {3, 999, 4998},  // 4997.5: even
                                           {4, 500, 3000},
                                           {5, 1, 1502},    // 1501.5: even
                                           {5, 3, 1504},    // 1504.5: even
                                           {6, 999, 1999}}) {
        engine.setLevel(c.level, {});
        random.script({c.draw});
        EXPECT_EQ(engine.RNDTime(), c.ms) << "level " << c.level << " draw " << c.draw;
    }
}

TEST_F(ReflexGame, StartStaggersTheSlotsAndReseedsBeforeEveryDraw) {
    random.script({0, 999, 500, 1, 2, 3});
    start(6);
    const int expected[6] = {2000, 3999, 4500, 5001, 6002, 7003};
    for (int i = 1; i <= 6; ++i) {
        EXPECT_TRUE(timers.enabled(ReflexEngine::slotTimer(i)));
        EXPECT_EQ(timers.interval(ReflexEngine::slotTimer(i)), expected[i - 1]) << i;
    }
    EXPECT_EQ(random.randomizeCount, random.drawCount);
    EXPECT_EQ(engine.view().lblTime, "62");
    EXPECT_EQ(sounds.names(), std::vector<std::string>{"ready"});
}

// A player who types every letter 250 ms after it appears, through a whole level-6 game.
TEST_F(ReflexGame, WholeLevelSixGame) {
    const std::uint64_t t0 = clock.now();
    start(6);
    // Per slot: the letter it shows and when it appeared.
    std::array<std::pair<char, std::uint64_t>, 6> seen{};
    std::vector<std::string> countdown{engine.view().lblTime};
    int typed = 0;
    while (results.empty() && clock.now() < t0 + 80000) {
        timers.advance(1);
        if (engine.view().lblTime != countdown.back()) countdown.push_back(engine.view().lblTime);
        std::vector<char> due;
        for (int i = 1; i <= 6; ++i) {
            const char c = engine.slotLetter(i);
            auto& [letter, since] = seen[static_cast<std::size_t>(i - 1)];
            if (c != letter) {
                letter = c;
                since = clock.now();
            }
            if (c && clock.now() - since == 250) due.push_back(c);
        }
        for (char c : due) engine.FormKeyPress(static_cast<char32_t>(c + ('a' - 'A')));
        typed += static_cast<int>(due.size());
    }
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(resultTimes[0], t0 + 62000 + 6500);

    std::vector<std::string> expectedCountdown;
    for (int s = 62; s >= 0; --s) expectedCountdown.push_back(std::to_string(s));
    EXPECT_EQ(countdown, expectedCountdown);
    EXPECT_EQ(shown(), "");

    EXPECT_EQ(engine.hits(), typed);
    EXPECT_EQ(engine.misses(), 0);
    EXPECT_EQ(engine.reactionSum(), 250 * typed);
    EXPECT_EQ(engine.score(), typed * 40 * 6 * 10);
    // Letters live at least a second, so only those dealt in the last 250 ms escape.
    EXPECT_GE(engine.dealt(), typed);
    EXPECT_LE(engine.dealt(), typed + 6);
    EXPECT_GT(typed, 150);

    const ReflexResult& r = results[0];
    char rate[32];
    std::snprintf(rate, sizeof rate, "%.2f", 100.0 * typed / engine.dealt());
    EXPECT_EQ(cp932ToUtf8(r.lblRate), std::string("達成率 : ") + rate + " %");
    EXPECT_EQ(cp932ToUtf8(r.lblAvRef), "平均反射神経時間 : 250msec");
    EXPECT_EQ(cp932ToUtf8(r.lblMiss), "ﾐｽﾀｲﾌﾟ数 : 0");
    EXPECT_EQ(r.cleared, 100.0 * typed / engine.dealt() >= 80);
    EXPECT_EQ(r.levelLines, reflexLevel(6).lines);
    EXPECT_EQ(r.recordLine,
              reflexRecordLine(6, typed * 2400, std::to_string(typed), std::to_string(engine.dealt()),
                               "0", "250msec"));
    std::vector<std::string> n = sounds.names();
    EXPECT_EQ(n.front(), "ready");
    EXPECT_EQ(std::count(n.begin(), n.end(), "miss"), typed);
    EXPECT_EQ(n[n.size() - 2], "judge");
    EXPECT_EQ(n.back(), r.cleared ? "clear" : "unclear");
}

TEST_F(ReflexGame, KeysAreJudgedAgainstTheShownLetters) {
    random.script({0});  // slot 1 deals at 4500 ms
    start(1);
    engine.FormKeyPress(U'q');  // nothing shown yet: ignored, silent
    EXPECT_EQ(engine.misses(), 0);
    EXPECT_EQ(sounds.names(), std::vector<std::string>{"ready"});

    random.script({0, 'Q' - 'A'});
    timers.advance(4500);
    EXPECT_EQ(engine.view().cells['Q' - 'A'], "Q");
    EXPECT_EQ(engine.view().lblTotal, "1");
    timers.advance(700);
    engine.FormKeyPress(U'q');  // lower case destroys the upper-case letter
    EXPECT_EQ(engine.hits(), 1);
    EXPECT_EQ(engine.view().lblHits, "1");
    EXPECT_EQ(engine.view().lblAv, "700msec");
    EXPECT_EQ(engine.view().cells['Q' - 'A'], "");
    EXPECT_EQ(sounds.names().back(), "miss");

    // The same letter again, and keys that are no letter, are mistypes.
    for (char32_t k : {U'Q', U'1', U' ', U'.', U'\r', U'あ'}) engine.FormKeyPress(k);
    EXPECT_EQ(engine.misses(), 6);
    EXPECT_EQ(engine.view().lblMiss, "6");
    EXPECT_EQ(sounds.count("miss2"), 6);
    EXPECT_EQ(engine.hits(), 1);
}

TEST_F(ReflexGame, UnhitLetterVanishesAndIsNotDealtAgainAtOnce) {
    random.script({0, 0, 'Q' - 'A'});
    start(1);
    timers.advance(4500);
    EXPECT_EQ(shown(), "Q");
    random.script({0, 'Q' - 'A', 'R' - 'A'});  // Q is still held, so it is drawn again
    timers.advance(3500);
    EXPECT_EQ(shown(), "R");
    EXPECT_EQ(engine.view().lblTotal, "2");
    EXPECT_EQ(engine.hits(), 0);
}

TEST_F(ReflexGame, LetterOfAnotherSlotCountsBeforeSlotOneDeals) {
    random.script({999, 0});  // slot 1 after 6997 ms, slot 2 after 5000 ms
    start(2);
    random.script({0, 'K' - 'A'});
    timers.advance(5000);
    ASSERT_EQ(engine.slotLetter(1), 0);
    ASSERT_EQ(engine.slotLetter(2), 'K');
    engine.FormKeyPress(U'k');
    EXPECT_EQ(engine.hits(), 1);
}

TEST_F(ReflexGame, MeanReactionAsShown) {
    struct Case { std::vector<int> reactions; const char* shown; };
    for (const Case& c : std::vector<Case>{{{788, 788, 788, 788, 789}, "789msec"},  // 788.2
                                           {{788}, "788msec"},                      // 788.5: even
                                           {{789}, "790msec"},                      // 789.5: even
                                           {{1000, 1001}, "1001msec"}}) {           // 1001.0
        start(1);
        for (int ms : c.reactions) hitAfter(ms);
        EXPECT_EQ(engine.view().lblAv, c.shown);
    }
}

TEST_F(ReflexGame, ScorePerHit) {
    struct Case { int level, reaction, points; };
    for (const Case& c : std::vector<Case>{{3, 500, 600},
                                           {1, 3, 33330},      // 3333.3
                                           {2, 32, 6240},      // 312.5: even
                                           {1, 160, 620},      // 62.5: even
                                           {1, 0, 100000}}) {  // same tick as the deal: 1 ms
        random.script({0});
        start(c.level);
        hitAfter(c.reaction);
        EXPECT_EQ(engine.score(), c.points) << c.reaction;
        EXPECT_EQ(engine.view().lblScore, std::to_string(c.points));
    }
}

TEST_F(ReflexGame, CountdownSurvivesTheTickCounterWrapping) {
    clock.set((std::uint64_t{1} << 32) - 30000);
    const std::uint64_t t0 = clock.now();
    start(1);
    timers.advance(31000);
    EXPECT_EQ(engine.view().lblTime, "31");
    timers.advance(31000);
    EXPECT_EQ(engine.view().lblTime, "0");
    timers.advance(6500);
    EXPECT_EQ(resultTimes, std::vector<std::uint64_t>{t0 + 68500});
}

TEST_F(ReflexGame, ForcedStopAndRestart) {
    start(3);
    timers.advance(20000);
    engine.FormKeyPress(U'1');
    engine.Initialized();  // F2 while running
    EXPECT_EQ(engine.view().lblMiss, "0");
    EXPECT_EQ(shown(), "");
    engine.FormKeyPress(U'1');  // stopped: keys count nothing
    EXPECT_EQ(engine.misses(), 1);
    timers.advance(100000);
    EXPECT_TRUE(results.empty());

    // F1 while running starts over.
    start(3);
    timers.advance(30000);
    engine.FormKeyPress(U'1');
    const std::uint64_t t1 = clock.now();
    start(3);
    EXPECT_EQ(engine.view().lblTime, "62");
    EXPECT_EQ(engine.misses(), 0);
    EXPECT_EQ(engine.dealt(), 0);
    timers.advance(80000);
    ASSERT_EQ(resultTimes.size(), 1u);
    EXPECT_EQ(resultTimes[0], t1 + 68500);
}

// Level 6 left alone: six different letters at once, all vanishing unhit.
TEST_F(ReflexGame, GameWithoutHits) {
    start(6);
    std::size_t most = 0;
    for (int ms = 0; ms < 61999; ++ms) {
        timers.advance(1);
        std::size_t held = 0;
        for (int i = 1; i <= 6; ++i) held += engine.slotLetter(i) != 0;
        EXPECT_EQ(shown().size(), held);  // one cell per slot: no letter twice
        most = std::max(most, held);
    }
    EXPECT_EQ(most, 6u);
    timers.advance(1);
    EXPECT_EQ(shown(), "");
    EXPECT_EQ(sounds.names().back(), "judge");
    engine.FormKeyPress(U'z');  // after the end: ignored
    timers.advance(6500);
    ASSERT_EQ(results.size(), 1u);
    const ReflexResult& r = results[0];
    EXPECT_FALSE(r.cleared);
    EXPECT_EQ(cp932ToUtf8(r.lblRate), "達成率 : 0.00 %");
    EXPECT_EQ(cp932ToUtf8(r.lblAvRef), "平均反射神経時間 : 0");
    EXPECT_EQ(r.recordLine, reflexRecordLine(6, 0, "0", std::to_string(engine.dealt()), "0", "0"));
    EXPECT_EQ(sounds.names().back(), "unclear");
}

TEST(ReflexJudgement, LevelConditions) {
    struct Case { int level; long long sum; int hits, misses; long double rate; bool cleared; };
    for (const Case& c : std::vector<Case>{
             {3, 1200 * 45, 45, 30, 75.00L, true},   // every limit just met
             {3, 53977, 45, 30, 75.00L, true},      // 1199.49: shown 1200
             {3, 1200 * 45, 45, 31, 75.00L, false},
             {3, 54027, 45, 30, 75.00L, false},     // 1200.6: shown 1201
             {3, 1200 * 45, 45, 30, 74.99L, false},
             {1, 9000 * 10, 10, 500, 70.00L, true},  // level 1 judges the rate only
             {1, 9000 * 10, 10, 500, 69.99L, false},
             {2, 1250 * 8, 8, 50, 72.00L, true},
             {2, 1250 * 8, 8, 51, 72.00L, false},
             {6, 1000 * 8, 8, 10, 80.00L, true},
             {6, 1001 * 8, 8, 10, 100.0L, false},
             {5, 0, 0, 0, 100.0L, false}}) {  // no hit: no mean, not cleared
        EXPECT_EQ(Judgement(c.sum, c.hits, c.misses, c.level, c.rate), c.cleared)
            << "level " << c.level << " sum " << c.sum << " misses " << c.misses;
    }
}

}  // namespace
}  // namespace keyrook
