#include "typing/typing_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <set>
#include <stdexcept>

#include "base/cp932.h"
#include "support/fakes.h"
#include "typing/result_model.h"
#include "typing/shuffle.h"

namespace keyrook {
namespace {

using fakes::FakeClock;
using fakes::FakeDialogs;
using fakes::FakeRandom;
using fakes::FakeSounds;
using fakes::FakeTimers;
using Phase = TypingEngine::Phase;

constexpr std::uint64_t kCountdownMs = 1600;  // 16 ticks of tmrDarker
constexpr std::uint64_t kFirstQuestionMs = kCountdownMs + 500;

std::string sjis(const char* utf8) { return utf8ToCp932(utf8).value(); }

// A typing window on virtual time: the file's lines are what the title selection reloads.
struct Session {
    explicit Session(std::vector<std::string> file, bool plain = false, unsigned seed = 7)
        : random(seed), fileLines(std::move(file)), setLines(fileLines), plainReadings(plain) {
        engine.onReloadSetLines = [this] {
            setLines = fileLines;
            ++reloads;
        };
        engine.onEnded = [this] {
            endedRows = engine.rows();
            endedFigures = engine.sessionFigures();
            ++ended;
        };
        timers.setHandler([this](const std::string& name) { engine.timerFired(name); });
        engine.preparePractice("test");
        engine.FormShow();
    }
    // F1 and the countdown: returns with the first question on screen.
    void start() {
        engine.btnStartClick();
        timers.advance(kFirstQuestionMs);
    }
    // Keys one after another, gapMs apart (the first after gapMs as well).
    void type(const std::string& keys, std::uint64_t gapMs = 100) {
        for (char k : keys) {
            timers.advance(gapMs);
            engine.FormKeyPress(k);
        }
    }
    const TypingView& v() const { return engine.view(); }
    const TypingState& st() const { return engine.state(); }

    FakeClock clock{1'000'000};
    FakeTimers timers{clock};
    FakeRandom random;
    FakeSounds sounds;
    FakeDialogs dialogs;
    std::vector<std::string> fileLines;
    std::vector<std::string> setLines;
    bool plainReadings;
    FixedTypingSettings settings;
    TypingEngine engine{{clock, timers, random, sounds, dialogs}, setLines, plainReadings, settings};
    int reloads = 0;
    int ended = 0;
    std::vector<QuestionRow> endedRows;
    SessionFigures endedFigures;
};

std::vector<std::string> oneQuestion(const std::string& answer) { return {"h/a", "Q", answer}; }

TEST(Shuffle, SwapsTheFirstPairWithDrawnPairs) {
    std::vector<std::string> lines = {"head", "A", "a", "B", "b", "C", "c", "odd"};
    FakeRandom random;
    random.script({2, 1, 0, 2});  // n + 1 = 4 draws
    Shuffle(lines, random);
    EXPECT_EQ(lines, (std::vector<std::string>{"A", "a", "C", "c", "B", "b", "odd"}));
    EXPECT_EQ(random.randomizeCount, 1);
    EXPECT_EQ(random.drawCount, 4);

    std::vector<std::string> headerOnly = {"head"};
    Shuffle(headerOnly, random);
    EXPECT_TRUE(headerOnly.empty());
}

TEST(Shuffle, SeededShuffleKeepsEveryPair) {
    std::vector<std::string> lines = {"head"};
    for (int i = 0; i < 50; ++i) {
        lines.push_back("Q" + std::to_string(i));
        lines.push_back("A" + std::to_string(i));
    }
    FakeRandom random(12345);
    Shuffle(lines, random);
    ASSERT_EQ(lines.size(), 100u);
    std::set<std::string> seen;
    for (std::size_t i = 0; i < lines.size(); i += 2) {
        EXPECT_EQ(lines[i].substr(1), lines[i + 1].substr(1));
        EXPECT_EQ(lines[i][0], 'Q');
        seen.insert(lines[i]);
    }
    EXPECT_EQ(seen.size(), 50u);
    EXPECT_NE(lines[0], "Q0");  // seed 12345 moves something to the front
}

TEST(TypingEngine, CountdownFadesThenGoThenFirstQuestion) {
    Session s(oneQuestion("KA"));
    s.engine.btnStartClick();
    EXPECT_EQ(s.engine.phase(), Phase::Countdown);
    EXPECT_TRUE(s.v().lblStartVisible);
    EXPECT_EQ(s.v().lblMondai, "1 / 1");
    for (int level = 238; level >= 0; level -= 17) {
        s.timers.advance(100);
        EXPECT_EQ(s.v().lblStartColor, greyColor(static_cast<std::uint8_t>(level)));
        EXPECT_EQ(s.v().lblStartCaption, "Ready !!");
    }
    s.engine.FormKeyPress('K');  // nothing on the line yet: ignored, no miss
    s.timers.advance(100);
    EXPECT_EQ(s.v().lblStartCaption, "Go !!");
    EXPECT_EQ(s.v().lblStartColor, kColorWhite);
    s.timers.advance(499);
    EXPECT_TRUE(s.v().lblTyping.empty());
    s.timers.advance(1);
    EXPECT_FALSE(s.v().lblStartVisible);
    EXPECT_EQ(s.v().lblTyping, "KA");
    EXPECT_EQ(s.v().lblMiss, "0");
    EXPECT_EQ(s.engine.phase(), Phase::Question);
}

// A whole session: rows, reaction and typing times, the end hook, the reload and a second run.
TEST(TypingEngine, WholeSessionFillsRowsAndReloads) {
    Session s({"desc/auth", "Q12", "ABCDEFGHIJKL", "Q1", "Z", "Q3", "XYZ"});
    s.random.script({0, 0, 0, 0});  // order stays as in the file
    s.engine.btnStartClick();
    EXPECT_EQ(s.st().QuestionCount, 3);
    EXPECT_EQ(s.setLines.size(), 6u);
    s.timers.advance(kFirstQuestionMs);
    EXPECT_EQ(s.v().lblQuestion, "Q12");
    EXPECT_EQ(s.v().lblNext, "Q1");

    s.type("A", 300);            // reaction 300 ms
    s.type("BCDEFGHIJK", 100);  // 1000 ms
    s.type("L", 234);           // typing 1234 ms over 12 bytes
    EXPECT_EQ(s.engine.phase(), Phase::BetweenQuestions);
    s.timers.advance(500);
    EXPECT_EQ(s.v().lblQuestion, "Q1");
    EXPECT_EQ(s.v().lblMondai, "2 / 3");
    s.type("Z", 700);
    s.timers.advance(500);
    EXPECT_EQ(s.v().lblNext, "");  // the last question has no successor
    s.type("XYZ", 50);
    EXPECT_EQ(s.ended, 0);
    s.timers.advance(500);

    ASSERT_EQ(s.ended, 1);
    ASSERT_EQ(s.endedRows.size(), 3u);
    EXPECT_EQ(s.endedRows[0].texts(), (std::vector<std::string>{"1", "Q12", "12", "300", "1234", "102.8"}));
    EXPECT_EQ(s.endedRows[1].texts(), (std::vector<std::string>{"2", "Q1", "1", "700", "0", "0.0"}));
    EXPECT_EQ(s.endedRows[2].texts(), (std::vector<std::string>{"3", "Q3", "3", "50", "100", "33.3"}));
    EXPECT_EQ(s.endedFigures.hitCount, 16);
    EXPECT_EQ(s.endedFigures.missCount, 0);
    EXPECT_EQ(s.endedFigures.maxCombo, 16);
    EXPECT_EQ(s.endedFigures.score, 10 * 9 + 20 * 7);
    EXPECT_EQ(s.endedFigures.title, "test");

    // The quit action followed: at rest, counters cleared, list reloaded; rows stay.
    EXPECT_EQ(s.engine.phase(), Phase::AtRest);
    EXPECT_EQ(s.v().lblScore, "0");
    EXPECT_EQ(s.reloads, 1);
    EXPECT_EQ(s.setLines, s.fileLines);
    EXPECT_EQ(s.engine.rows().size(), 3u);

    s.engine.btnStartClick();
    EXPECT_EQ(s.st().QuestionCount, 3);
    EXPECT_TRUE(s.engine.rows().empty());
}

struct KeyCase {
    const char* answer;
    bool plain;
    bool lowerCase;
    const char* keys;
    int misses;
    const char* left;  // romaji still on the line afterwards
};

class KeyRule : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyRule, MatchesKeysAgainstTheRomaji) {
    const KeyCase& c = GetParam();
    Session s(oneQuestion(c.answer), c.plain);
    s.settings.opts.chkLC = c.lowerCase;
    s.start();
    s.type(c.keys, 1000);  // spaced beyond the miss guard
    EXPECT_EQ(s.v().lblMiss, std::to_string(c.misses)) << c.keys;
    EXPECT_EQ(s.v().lblTyping, c.left) << c.keys;
}

INSTANTIATE_TEST_SUITE_P(
    TypingEngine, KeyRule,
    ::testing::Values(KeyCase{"KANNTANN", false, false, "KANNTANN", 0, ""},
                      KeyCase{"KANNTANN", false, false, "kantann", 0, ""},
                      KeyCase{"KANNTANN", false, false, "KANTAN", 0, "N"},  // final NN in full
                      KeyCase{"NNA", false, false, "NA", 1, "NA"},
                      KeyCase{"NNA", false, false, "NNA", 0, ""},
                      KeyCase{"NNYA", false, false, "NYA", 2, "NYA"},
                      KeyCase{"NNNA", false, false, "NNA", 1, "NA"},
                      KeyCase{"NANA", false, true, "a", 1, "nana"},
                      KeyCase{"NANA", false, true, "NaNA", 0, ""},
                      KeyCase{"I AM", true, false, "I AM", 0, ""},
                      KeyCase{"I AM", true, false, "I_AM", 0, ""},
                      KeyCase{"I AM", true, false, "I", 0, "_AM"},
                      KeyCase{"I AM A", true, false, "I_AM_", 1, " A"},  // only the first blank is "_"
                      KeyCase{"IN A", true, false, "I ", 0, "A"},        // N left out before the blank
                      KeyCase{"A91", false, false, "a!1", 1, ""},        // letters fold, signs and digits do not
                      KeyCase{"AB", true, false, "\r\tA", 2, "B"}));     // control keys are misses

TEST(TypingEngine, QuestionDisplayUsesLiveSpellingsAndReading) {
    Session s({"h/a", "q1", "01", "q2", "0102"});
    s.random.script({0, 0, 0});
    s.settings.opts.chkYomi = true;
    s.start();
    EXPECT_EQ(s.v().lblTyping, "SI");
    EXPECT_EQ(s.v().lblYomi, sjis("し"));
    s.engine.btnStopClick();
    s.settings.table.applyHepburn();  // changed while paused: the question on screen stays
    s.settings.opts.chkYomi = false;
    s.engine.btnStopClick();
    EXPECT_EQ(s.v().lblTyping, "SI");
    s.type("SI");
    s.timers.advance(500);
    EXPECT_EQ(s.v().lblTyping, "SHICHI");
    EXPECT_EQ(s.v().lblYomi, "");  // switched off: no stale reading under the new question
}

// The same keys with flexible spellings on and off. Keys that follow the line give the same
// rows, figures and record either way; other spellings are misses only with it off, and with
// it on the row counts the bytes as typed.
TEST(TypingEngine, FlexibleSpellingsOnAndOffOverTheSameKeys) {
    struct Run {
        std::vector<std::vector<std::string>> rows;
        SessionFigures figures;
        std::string record;
        std::string shownMidway;
        std::string misses;
    };
    auto play = [](bool flexible, const std::string& first, const std::string& second) {
        Session s({"h/a", "q1", "0501NN", "q2", "GA18KOU"});
        s.random.script({0, 0, 0});
        s.settings.opts.chkFlexible = flexible;
        s.start();
        s.type(first.substr(0, 2));
        Run r;
        r.shownMidway = s.v().lblTyping;
        s.type(first.substr(2), 1000);  // beyond the miss guard
        s.timers.advance(500);
        s.type(second, 1000);
        r.misses = s.v().lblMiss;
        s.timers.advance(500);
        for (const QuestionRow& row : s.endedRows) r.rows.push_back(row.texts());
        r.figures = s.endedFigures;
        r.figures.user = "u";
        r.record = buildResultModel(r.figures, std::nullopt).recordLine;
        return r;
    };

    const Run off = play(false, "SYASINN", "GAKKOU");
    const Run on = play(true, "SYASINN", "GAKKOU");
    EXPECT_EQ(off.rows, (std::vector<std::vector<std::string>>{{"1", "q1", "7", "100", "5100", "728.6"},
                                                               {"2", "q2", "6", "1000", "5000", "833.3"}}));
    EXPECT_EQ(on.rows, off.rows);
    EXPECT_EQ(on.shownMidway, "ASINN");
    EXPECT_EQ(on.record, off.record);
    EXPECT_EQ(off.record, "00/01/01 0:00:00,u,test,10100,77.2,0,13,13,400,26,97,100,63,6350");

    const Run strict = play(false, "SHASHINN", "GALTUKOU");
    const Run loose = play(true, "SHASHINN", "GALTUKOU");
    EXPECT_EQ(strict.misses, "15");  // and the first question is never done
    EXPECT_TRUE(strict.rows.empty());
    EXPECT_EQ(strict.shownMidway, "YASINN");
    EXPECT_EQ(loose.misses, "0");
    EXPECT_EQ(loose.shownMidway, "ASINN");
    EXPECT_EQ(loose.figures.hitCount, 16);
    EXPECT_EQ(loose.rows, (std::vector<std::vector<std::string>>{{"1", "q1", "8", "100", "6100", "762.5"},
                                                                 {"2", "q2", "8", "1000", "7000", "875.0"}}));

    // A lone N for ん before a consonant scores as the single-n rule's left-out N does.
    for (const std::string keys : {"KANTANN", "KANNTANN", "KANTAN"}) {
        SessionFigures f[2];
        std::string judged[2];
        for (int flexible : {0, 1}) {
            Session s(oneQuestion("KANNTANN"));
            s.settings.opts.chkFlexible = flexible == 1;
            s.start();
            s.type(keys, 1000);
            judged[flexible] = s.v().lblScore + "/" + s.v().lblMiss + "/" + s.v().lblTyping;
            s.timers.advance(500);
            f[flexible] = s.ended ? s.endedFigures : s.engine.sessionFigures();
        }
        EXPECT_EQ(f[1].score, f[0].score) << keys;
        EXPECT_EQ(f[1].hitCount, f[0].hitCount) << keys;
        EXPECT_EQ(f[1].missCount, f[0].missCount) << keys;
        EXPECT_EQ(judged[1], judged[0]) << keys;
    }
}

TEST(TypingEngine, MissesAreGuardedAndHalveTheCombo) {
    Session s(oneQuestion("ABCDEFGHIJKLMN"));
    s.start();
    s.type("ABCDEFG");
    EXPECT_EQ(s.v().lblCombo, "7");
    s.type("x");  // counted
    EXPECT_EQ(s.v().lblCombo, "3");
    EXPECT_EQ(s.v().lblMaxCombo, "7");
    s.type("y", 500);  // exactly 500 ms later: the same miss
    EXPECT_EQ(s.v().lblMiss, "1");
    EXPECT_EQ(s.v().lblCombo, "3");
    s.type("z", 100);  // 600 ms after the first
    EXPECT_EQ(s.v().lblMiss, "2");
    EXPECT_EQ(s.v().lblCombo, "1");
    s.type("H");
    s.type("q", 1000);
    EXPECT_EQ(s.v().lblCombo, "1");  // 2 div 2
    s.type("r", 1000);
    EXPECT_EQ(s.v().lblCombo, "0");
    EXPECT_EQ(s.v().lblMaxCombo, "7");
    EXPECT_EQ(s.sounds.count("miss"), 4);
    EXPECT_EQ(s.sounds.count("type"), 8);
}

TEST(TypingEngine, MissFlashesRedForOneTick) {
    Session s(oneQuestion("AB"));
    s.start();
    s.type("x");
    EXPECT_EQ(s.v().color, kColorBlack);
    s.timers.advance(1);
    EXPECT_EQ(s.v().color, kColorRed);
    s.timers.advance(1);
    EXPECT_EQ(s.v().color, kColorBlack);
    EXPECT_FALSE(s.timers.enabled(TypingEngine::kTmrFlash));

    s.settings.opts.chkFlash = false;
    s.settings.opts.chkTypemiss = false;
    s.type("y", 1000);
    s.timers.advance(5);
    EXPECT_EQ(s.v().color, kColorBlack);
    EXPECT_EQ(s.v().lblMiss, "2");
    EXPECT_EQ(s.sounds.count("miss"), 1);
}

TEST(TypingEngine, HundredthHitGivesBonusThatSlidesAndFades) {
    Session s(oneQuestion(std::string(120, 'A')));
    s.start();
    s.type(std::string(10, 'A'), 10);
    EXPECT_EQ(s.v().lblScore, "110");
    s.type(std::string(89, 'A'), 10);
    EXPECT_EQ(s.v().lblScore, "5490");
    s.type("A", 10);
    EXPECT_EQ(s.v().lblScore, std::to_string(5490 + 2000 + 110));
    EXPECT_EQ(s.v().lblBonusUpCaption, "BONUS +2000 ");
    EXPECT_TRUE(s.v().lblBonusUpVisible);

    std::vector<int> lefts;
    for (int i = 0; i < 13; ++i) {
        s.timers.advance(50);
        lefts.push_back(s.v().lblBonusUpLeft);
    }
    EXPECT_EQ(lefts, (std::vector<int>{21, 26, 31, 36, 46, 56, 71, 91, 116, 151, 196, 256, 336}));
    s.timers.advance(50 * 41);
    EXPECT_EQ(s.v().lblBonusUpColor, greyColor(9));
    EXPECT_TRUE(s.v().lblBonusUpVisible);
    s.timers.advance(50);
    EXPECT_FALSE(s.v().lblBonusUpVisible);
    EXPECT_EQ(s.v().lblBonusUpLeft, 16);
    EXPECT_EQ(s.v().lblBonusUpColor, kColorWhite);
}

TEST(TypingEngine, ScoreHoldsAtThe32BitMaximum) {
    Session s(oneQuestion("ABC"));
    s.start();
    s.engine.mutableState().Combo = 2199;
    s.engine.mutableState().Score = 2'000'000'000;
    s.type("A");
    EXPECT_EQ(s.v().lblBonusUpCaption, "BONUS +2147483647 ");
    EXPECT_EQ(s.v().lblScore, "2147483647");
    s.type("B");
    EXPECT_EQ(s.st().Score, std::numeric_limits<std::int32_t>::max());
}

TEST(TypingEngine, PauseDuringQuestionChange) {
    Session s({"h/a", "q1", "A", "q2", "BC"});
    s.random.script({0, 0, 0});
    // The menu item keeps its own caption until the first pause or quit.
    EXPECT_EQ(s.v().mnuStopCaption, cp932Of("ｹﾞｰﾑ中断(&S)"));
    s.start();
    EXPECT_EQ(s.v().mnuStopCaption, cp932Of("ｹﾞｰﾑ中断(&S)"));
    s.type("A");
    s.timers.advance(100);
    s.engine.btnStopClick();
    EXPECT_EQ(s.engine.phase(), Phase::Paused);
    EXPECT_EQ(s.v().btnStopCaption, TypingEngine::stopCaptionPaused());
    EXPECT_EQ(s.v().mnuStopCaption, TypingEngine::stopCaptionPaused());
    EXPECT_TRUE(s.v().btnRomanEnabled);
    s.timers.advance(400);  // the question change completes while paused
    EXPECT_EQ(s.v().lblQuestion, "q2");
    s.type("Bx", 300);  // keys wait for the resume
    EXPECT_EQ(s.v().lblTyping, "BC");
    EXPECT_EQ(s.v().lblMiss, "0");
    s.timers.advance(1000);
    s.engine.btnStopClick();
    EXPECT_FALSE(s.v().btnRomanEnabled);
    s.type("B", 300);
    EXPECT_EQ(s.engine.rows()[1].reactionMs, 1900);  // the paused time counts
    s.engine.btnQuitClick();
    EXPECT_EQ(s.v().mnuStopCaption, TypingEngine::stopCaptionRunning());
}

TEST(TypingEngine, QuitDuringGoLeavesNothingRunning) {
    Session s(oneQuestion("AB"));
    s.engine.btnStartClick();
    s.timers.advance(kCountdownMs);
    ASSERT_EQ(s.v().lblStartCaption, "Go !!");
    s.engine.btnQuitClick();
    s.timers.advance(2000);
    EXPECT_EQ(s.engine.phase(), Phase::AtRest);
    EXPECT_TRUE(s.v().lblQuestion.empty());
    EXPECT_TRUE(s.engine.rows().empty());
    EXPECT_EQ(s.setLines, s.fileLines);
    EXPECT_TRUE(s.v().btnStartEnabled);
    EXPECT_FALSE(s.v().btnStopEnabled || s.v().btnQuitEnabled);
    EXPECT_EQ(s.v().lblStartCaption, "Ready !!");
    EXPECT_FALSE(s.v().lblStartVisible);
    EXPECT_EQ(s.ended, 0);

    // Quit in mid-fade: the next countdown is the full 1.6 s again.
    s.engine.btnStartClick();
    s.timers.advance(700);
    s.engine.btnQuitClick();
    s.engine.btnStartClick();
    s.timers.advance(kCountdownMs - 100);
    EXPECT_EQ(s.v().lblStartCaption, "Ready !!");
    s.timers.advance(100);
    EXPECT_EQ(s.v().lblStartCaption, "Go !!");
}

TEST(TypingEngine, StartNeedsAWholeQuestion) {
    for (const auto& lines : std::vector<std::vector<std::string>>{{}, {"h/a"}, {"h/a", "q"}}) {
        Session s(lines);
        s.engine.btnStartClick();
        EXPECT_EQ(s.engine.phase(), Phase::AtRest);
        ASSERT_EQ(s.dialogs.messages.size(), 1u);
        EXPECT_EQ(s.dialogs.messages[0], "この問題集は問題データがありません。");
        EXPECT_FALSE(s.timers.enabled(TypingEngine::kTmrDarker));
    }
}

TEST(TypingEngine, UnpairedLineAndEmptyRomajiAreLeftOut) {
    Session s({"h/a", "q1", "", "q2", "AB", "q3"});
    s.random.script({0, 0, 0});
    s.engine.btnStartClick();
    EXPECT_EQ(s.st().QuestionCount, 2);
    s.timers.advance(kFirstQuestionMs);
    EXPECT_EQ(s.v().lblQuestion, "q2");
    EXPECT_EQ(s.v().lblMondai, "1 / 1");
    EXPECT_EQ(s.v().lblNext, "");
    s.type("AB");
    s.timers.advance(500);
    EXPECT_EQ(s.ended, 1);
    EXPECT_EQ(s.endedRows.size(), 1u);

    Session none({"h/a", "q1", "", "q2", ""});
    none.start();
    EXPECT_EQ(none.engine.phase(), Phase::AtRest);  // nothing shown, nothing to rate
    EXPECT_EQ(none.ended, 0);
    EXPECT_EQ(none.reloads, 1);
}

// The preview line names the next question that will really come, and a long run of
// untypeable questions is passed over in one step.
TEST(TypingEngine, NextLinePassesOverEmptyRomaji) {
    Session s({"h/a", "q1", "AB", "q2", "", "q3", "18", "q4", "CD"});
    s.random.script({0, 0, 0, 0, 0});
    s.start();
    EXPECT_EQ(s.v().lblQuestion, "q1");
    EXPECT_EQ(s.v().lblNext, "q4");
    EXPECT_EQ(s.v().lblMondai, "1 / 2");
    s.type("AB");
    s.timers.advance(500);
    EXPECT_EQ(s.v().lblQuestion, "q4");
    EXPECT_EQ(s.v().lblMondai, "2 / 2");

    std::vector<std::string> file = {"h/a"};
    for (int i = 0; i < 100000; ++i) {
        file.push_back("empty");
        file.push_back("");
    }
    file.push_back("last");
    file.push_back("KA");
    Session many(file);
    many.random.script(std::vector<int>(100002, 100000));  // the typeable pair stays last
    many.start();
    EXPECT_EQ(many.v().lblQuestion, "last");
    EXPECT_EQ(many.v().lblMondai, "1 / 1");
}

TEST(TypingEngine, FailedResultStillEndsTheSession) {
    Session s(oneQuestion("A"));
    s.engine.onEnded = [] { throw std::runtime_error("cannot read the record file"); };
    s.start();
    s.type("A");
    EXPECT_THROW(s.timers.advance(500), std::runtime_error);
    EXPECT_EQ(s.engine.phase(), Phase::AtRest);
    EXPECT_FALSE(s.st().Playing);
    EXPECT_EQ(s.setLines, s.fileLines);
    EXPECT_FALSE(s.timers.enabled(TypingEngine::kTmrInterval));
}

TEST(TypingEngine, AnInputMethodComposingWarnsAtF1) {
    Session t(oneQuestion("AB"));
    t.engine.inputMethodOpen = [] { return true; };
    t.start();
    EXPECT_EQ(t.dialogs.messages, std::vector<std::string>{"全角入力になっていますので戻して下さい。"});
    EXPECT_EQ(t.engine.phase(), Phase::Question);  // the session goes on
}

TEST(TypingEngine, JudgedKeysAreCountedByTheCharacterExpected) {
    Session s({"h/a", "q1", "KANNTA", "q2", "A_B"});
    s.random.script({0, 0, 0});
    s.start();
    s.type("kant");  // the N before T left out: the key counts for T
    s.type("x");     // a miss where A was due
    s.type("y");     // within the miss guard: not judged
    s.type("a", 300);
    s.timers.advance(500);
    s.type("a ");    // the space bar types "_"
    s.engine.btnStopClick();  // a pause: B has no interval
    s.timers.advance(5000);
    s.engine.btnStopClick();
    s.type("b");
    s.timers.advance(500);
    ASSERT_EQ(s.ended, 1);
    // Intervals run from the previous hit of the same question only, typed on without a miss
    // or a pause: A after K (100 ms); none for the A after the miss (X pressed), the first A
    // of q2 or the B after the pause.
    EXPECT_EQ(keyStatsEntries(s.engine.keyStats().counts()),
              "41=3/1/100/1/58x1;42=1/0/0/0;4B=1/0/0/0;4E=1/0/100/1;54=1/0/100/1;5F=1/0/100/1");
    s.engine.btnStartClick();
    EXPECT_TRUE(s.engine.keyStats().empty());
}

// A kana session: presses by key position, the hiragana still due on the line, a row's count
// in presses, statistics under the half-width legends, the title marked as kana. Questions with
// nothing to press are left out; the same keys as letters do nothing.
TEST(TypingEngine, KanaSessionTypesByKeyPosition) {
    Session s({"h/a", "q1", "GA18KOU", "q2", "XQ", "q3", "A_99?"});
    s.settings.opts.chkKana = true;
    s.random.script({0, 0, 0, 0});
    s.start();
    ASSERT_TRUE(s.engine.kanaInput());
    EXPECT_EQ(s.v().lblTyping, sjis("がっこう"));
    EXPECT_EQ(s.v().lblNext, "q3");  // q2 reads as nothing
    auto press = [&s](int code, bool shift = false, std::uint64_t gap = 100) {
        s.timers.advance(gap);
        s.engine.FormKanaPress({code, shift});
    };
    s.type("ga");  // letters are no kana presses
    press(20);     // か
    EXPECT_EQ(s.v().lblTyping, sjis("゛っこう"));
    EXPECT_EQ(s.engine.kanaDue(), sjis("゛"));
    press(44);                  // つ where ゛ is due: a miss
    press(26, false, 600);      // ゛
    press(44);                  // つ unshifted where っ is due: a miss
    press(44, true, 600);       // っ
    press(48);                  // こ
    press(5);                   // う
    EXPECT_EQ(s.engine.phase(), Phase::BetweenQuestions);
    s.timers.advance(500);
    EXPECT_EQ(s.v().lblQuestion, "q3");
    EXPECT_EQ(s.v().lblTyping, sjis("あ_９？"));
    press(4);
    press(kKanaCodeSpace);
    press(10);         // the 9 key
    press(53, true);   // Shift and / types ？
    s.timers.advance(500);
    ASSERT_EQ(s.ended, 1);
    ASSERT_EQ(s.endedRows.size(), 2u);
    EXPECT_EQ(s.endedRows[0].bytes, 5);
    EXPECT_EQ(s.endedRows[1].bytes, 4);
    EXPECT_EQ(s.endedFigures.missCount, 2);
    EXPECT_EQ(s.endedFigures.hitCount, 9);
    EXPECT_EQ(s.endedFigures.title, sjis("test（かな）"));
    // 9 ? _ ｯ ｱ ｳ ｶ ｺ ﾞ; both misses pressed ﾂ
    EXPECT_EQ(keyStatsEntries(s.engine.keyStats().counts()),
              "39=1/0/100/1;3F=1/0/100/1;5F=1/0/100/1;AF=1/1/0/0/C2x1;B1=1/0/0/0;B3=1/0/100/1;"
              "B6=1/0/0/0;BA=1/0/100/1;DE=1/1/0/0/C2x1");
    EXPECT_FALSE(s.engine.kanaInput());

    // An English-type set is typed as before with the option on.
    Session english({"h/a#", "q", "ab"}, true);
    english.settings.opts.chkKana = true;
    english.start();
    EXPECT_FALSE(english.engine.kanaInput());
    english.type("ab");
    EXPECT_EQ(english.engine.phase(), Phase::BetweenQuestions);
}

TEST(TypingEngine, KeysOfAnotherAcceptedSpellingCountForThemselves) {
    for (bool flexible : {false, true}) {
        Session s(oneQuestion("01"));  // し, shown as SI
        s.settings.opts.chkFlexible = flexible;
        s.start();
        s.type("shi", 1000);
        // Off, H is a miss where I was due; on, it is a hit of H.
        EXPECT_EQ(keyStatsEntries(s.engine.keyStats().counts()),
                  flexible ? "48=1/0/1000/1;49=1/0/1000/1;53=1/0/0/0" : "49=1/1/0/0/48x1;53=1/0/0/0")
            << flexible;
    }
}

struct RecordingInvader : InvaderRules {
    void start(TypingEngine&) override { ++starts; }
    void hit(TypingEngine& e) override { e.mutableState().Score += 1000; }
    void backspace(TypingEngine&) override { ++bombs; }
    void letterTimer(TypingEngine& e) override { e.mutableView().lblTyping += "N"; }
    int starts = 0, bombs = 0;
};

TEST(TypingEngine, InvaderSessionUsesItsRules) {
    Session s(oneQuestion("AB"));
    RecordingInvader rules;
    s.engine.invaderRules = &rules;
    s.engine.setTitle(TypingEngine::kInvaderTitle);
    s.settings.opts.chkFlexible = true;  // practice sessions only
    s.timers.setInterval(TypingEngine::kTmrInvader, 980);
    s.engine.btnStartClick();
    EXPECT_EQ(rules.starts, 1);
    EXPECT_EQ(s.v().lblTypingAlign, TextAlign::Right);
    s.timers.advance(500);
    s.engine.btnStopClick();  // pause and resume in the countdown: no letters before "Go !!"
    s.engine.btnStopClick();
    EXPECT_FALSE(s.timers.enabled(TypingEngine::kTmrInvader));
    s.timers.advance(kFirstQuestionMs - 500);
    EXPECT_TRUE(s.timers.enabled(TypingEngine::kTmrInvader));
    EXPECT_TRUE(s.engine.rows().empty());
    s.timers.advance(980 * 2);
    ASSERT_EQ(s.v().lblTyping, "NN");
    s.engine.FormKeyPress('\b');
    EXPECT_EQ(rules.bombs, 1);
    EXPECT_EQ(s.v().lblMiss, "0");
    s.type("n");  // no single-n rule: one letter per key
    EXPECT_EQ(s.v().lblTyping, "N");
    EXPECT_EQ(s.v().lblScore, "1010");
    EXPECT_TRUE(s.engine.keyStats().empty());  // per-key figures are for practice only
    s.engine.btnQuitClick();
    EXPECT_EQ(s.reloads, 0);  // nothing was taken from the list
}

}  // namespace
}  // namespace keyrook
