#include "typing/invader_rules.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace keyrook {
namespace {

using namespace fakes;

constexpr std::uint64_t kCountdownMs = 1600 + 500;

// A typing window in an invader session on virtual time, letters drawn from a script.
struct Game {
    explicit Game(int level) {
        timers.setHandler([this](const std::string& name) { engine.timerFired(name); });
        engine.invaderRules = &invader;
        engine.onEnded = [this] { figures = engine.sessionFigures(), ++ended; };
        engine.FormShow();
        invader.choose(engine, level);
    }
    void start() {
        engine.btnStartClick();
        timers.advance(kCountdownMs);
    }
    // Lets letters come in until the line holds n of them.
    void lettersUntil(std::size_t n) {
        while (engine.view().lblTyping.size() < n && !ended)
            timers.advance(static_cast<std::uint64_t>(timers.interval(TypingEngine::kTmrInvader)));
    }
    // Types the leftmost letter (lower case: the case does not matter).
    void shoot() { engine.FormKeyPress(static_cast<char>(engine.view().lblTyping.at(0) - 'A' + 'a')); }

    FakeClock clock{5000};
    FakeTimers timers{clock};
    FakeRandom random;
    FakeSounds sounds;
    FakeDialogs dialogs;
    std::vector<std::string> setLines{"h/a", "q", "KA"};
    bool plain = false;
    FixedTypingSettings settings;
    TypingEngine engine{{clock, timers, random, sounds, dialogs}, setLines, plain, settings};
    InvaderGame invader;
    SessionFigures figures;
    int ended = 0;
};

TEST(Invader, IntervalsAndPreviewTexts) {
    const std::pair<int, int> table[] = {{1, 1200}, {2, 1090}, {3, 980},  {5, 760},   {9, 320},
                                         {10, 210}, {11, 200}, {12, 190}, {20, 110}, {30, 10},
                                         {31, 1},   {200, 1}};
    for (auto [level, ms] : table) EXPECT_EQ(invaderInterval(level), ms) << level;
    EXPECT_EQ(invaderSpeedText(3), "Level:3  --- 980msec/character");
}

TEST(Invader, LettersMarchInUntilTheFortyFirstEndsTheGame) {
    Game g(3);
    EXPECT_EQ(g.engine.view().lblMondai, "Level : 3");
    EXPECT_TRUE(g.engine.view().pnlPowerVisible);
    EXPECT_EQ(g.timers.interval(TypingEngine::kTmrInvader), 980);
    g.random.script({0, 25});
    g.start();
    EXPECT_TRUE(g.engine.view().lblTyping.empty());  // no question comes after "Go !!"
    EXPECT_TRUE(g.engine.rows().empty());
    g.timers.advance(980);
    EXPECT_EQ(g.engine.view().lblTyping, "A");
    EXPECT_EQ(g.engine.view().lblTypingAlign, TextAlign::Right);
    g.timers.advance(980);
    EXPECT_EQ(g.engine.view().lblTyping, "AZ");
    EXPECT_EQ(g.invader.gauges().LimitBar, 114);

    g.lettersUntil(16);
    EXPECT_EQ(g.invader.gauges().limitColor, kGaugeSilver);
    g.lettersUntil(40);
    EXPECT_EQ(g.invader.gauges().LimitBar, 0);
    EXPECT_EQ(g.invader.gauges().limitColor, kGaugeRed);
    EXPECT_EQ(g.ended, 0);
    const std::uint64_t startTick = 5000;
    g.lettersUntil(41);
    ASSERT_EQ(g.ended, 1);
    EXPECT_TRUE(g.figures.invader);
    EXPECT_EQ(static_cast<std::uint64_t>(g.figures.survivalMs), g.clock.now() - startTick);
    EXPECT_TRUE(g.engine.view().btnStartEnabled);  // back at rest
    EXPECT_EQ(g.setLines.size(), 3u);              // the practice list was not touched
}

TEST(Invader, HitsScoreByLevelFillPowerAndRaiseTheLevel) {
    Game g(1);
    g.start();
    g.lettersUntil(1);
    g.shoot();
    EXPECT_EQ(g.engine.state().InvaderHits, 1);
    EXPECT_EQ(g.engine.view().lblScore, "20");  // 10 combo points + level x 10
    EXPECT_EQ(g.invader.gauges().PowerBar, 1);
    // 99 more hits: +1 power at combos to 49, +2 from 50; level 2 at the 100th hit.
    for (int i = 0; i < 99; ++i) {
        g.lettersUntil(1);
        g.shoot();
    }
    EXPECT_EQ(g.engine.state().InvaderHits, 100);
    EXPECT_EQ(g.engine.view().lblMondai, "Level : 2");
    EXPECT_EQ(g.timers.interval(TypingEngine::kTmrInvader), 1090);
    EXPECT_EQ(g.sounds.count("ok"), 1);
    EXPECT_EQ(g.invader.gauges().PowerBar, 49 + 2 * 50 + 3);  // combos 1-49, 50-99, then 100
}

TEST(Invader, PowerGaugeColoursLampsAndTheBomb) {
    struct Case {
        int power;
        std::uint32_t colour;
        int lamps;
    } cases[] = {{0, kGaugeGrey, 0},     {84, kGaugeGrey, 0},    {85, kGaugeLime, 1},
                 {169, kGaugeLime, 1},   {170, kGaugeYellow, 2}, {254, kGaugeYellow, 2},
                 {255, kGaugeRed, 3}};
    Game g(1);
    for (const auto& c : cases) {
        g.invader.setPower(c.power);
        g.invader.RestoreBar();
        EXPECT_EQ(g.invader.gauges().powerColor, c.colour) << c.power;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(g.invader.gauges().lampColor[i], i < c.lamps ? c.colour : kGaugeGrey) << c.power;
    }

    // A new game starts with an empty gauge and no lamp lit, whatever the last one left.
    g.start();
    EXPECT_EQ(g.invader.gauges().powerColor, kGaugeGrey);
    for (auto lamp : g.invader.gauges().lampColor) EXPECT_EQ(lamp, kGaugeGrey);
    g.lettersUntil(3);
    g.invader.setPower(84);
    g.engine.FormKeyPress('\b');  // not enough power: nothing happens, and it is no miss
    EXPECT_EQ(g.engine.view().lblTyping.size(), 3u);
    EXPECT_EQ(g.engine.view().lblMiss, "0");
    g.invader.setPower(85);
    g.engine.FormKeyPress('\b');
    EXPECT_TRUE(g.engine.view().lblTyping.empty());
    EXPECT_EQ(g.invader.gauges().PowerBar, 0);
    EXPECT_EQ(g.engine.state().Score, 2000);
    EXPECT_EQ(g.engine.view().lblScore, "0");  // shown only after the next hit
    EXPECT_EQ(g.sounds.count("vanish"), 1);
    g.lettersUntil(1);
    g.shoot();
    EXPECT_EQ(g.engine.view().lblScore, "2020");
}

TEST(Invader, PauseStopsTheLetters) {
    Game g(1);
    g.start();
    g.lettersUntil(2);
    g.engine.btnStopClick();
    g.timers.advance(10000);
    EXPECT_EQ(g.engine.view().lblTyping.size(), 2u);
    g.engine.btnStopClick();
    g.timers.advance(1200);
    EXPECT_EQ(g.engine.view().lblTyping.size(), 3u);
}

}  // namespace
}  // namespace keyrook
