#include "tenkey/tenkey_engine.h"

#include <gtest/gtest.h>

#include "base/files.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace keyrook {
namespace {

using namespace fakes;

TEST(TenkeyHighScore, LargestLineValueWithNonNumbersAsZero) {
    struct Case {
        std::string text;
        int best;
    };
    const Case cases[] = {
        {"", 0},
        {"120\r\n95\r\n143\r\n", 143},
        {"abc\r\n7\r\n", 7},
        {"-5\r\n", 0},
        {"12\n30\r40", 40},                  // any line break, last line unterminated
        {"99999999999\r\n3\r\n", 3},          // too large for an integer: not a number
        {"12 \r\n 8x\r\n", 0},
        {std::string("5\r\n") + '\0' + "900\r\n", 900},  // a NUL separates lines
        {std::string("1") + '\0' + "57\r\n", 57},
    };
    for (const Case& c : cases) EXPECT_EQ(tenkeyHighScore(c.text), c.best) << c.text;
}

TEST(TenkeyRecordFile, AppendsOneLineAndNeverGluesOntoAnUnterminatedLine) {
    testing::TempDir dir;
    const std::string fresh = dir / "user/taro.tnk";  // folder missing at first
    EXPECT_EQ(loadTenkeyHighScore(fresh), 0);
    appendTenkeyScore(fresh, 57);
    appendTenkeyScore(fresh, 143);
    EXPECT_EQ(loadStringFromFile(fresh), "57\r\n143\r\n");

    struct Case {
        std::string before, after;
    };
    const Case cases[] = {
        {"120", "120\r\n9\r\n"},
        {"120\n", "120\n9\r\n"},
        {"120\r", "120\r9\r\n"},
    };
    for (const Case& c : cases) {
        const std::string path = dir / "t.tnk";
        saveStringToFile(path, c.before);
        appendTenkeyScore(path, 9);
        EXPECT_EQ(loadStringFromFile(path), c.after) << c.before;
    }
}

struct TenkeyFixture : ::testing::Test {
    testing::TempDir app;
    FakeClock clock{50000};
    FakeTimers timers{clock};
    FakeRandom random{7};
    FakeSounds sounds;
    std::string path = app / "user/taro.tnk";
    TenkeyEngine engine{TenkeyServices{timers, random, sounds}, path};

    void SetUp() override {
        timers.setHandler([this](const std::string& name) { engine.timerFired(name); });
    }
    // F1 and the lead-in: the first batch is on screen.
    void startGame() {
        engine.btnStartClick();
        timers.advance(TenkeyEngine::kLeadInMs);
        ASSERT_EQ(engine.state(), TenkeyState::Running);
    }
    int next() const { return engine.view().lbl.front() - '0'; }
    int litKey() const {
        int found = -1;
        for (int d = 0; d < 10; ++d)
            if (engine.view().lit[static_cast<std::size_t>(d)]) {
                EXPECT_EQ(found, -1) << "two keys lit";
                found = d;
            }
        return found;
    }
    void typeCorrect(int n) {
        for (int i = 0; i < n; ++i) engine.keypadDigit(next());
    }
};

TEST_F(TenkeyFixture, OpeningPlaysNoAndShowsTheBestCountOnFile) {
    saveStringToFile(path, "120\r\n95\r\n143\r\n");
    engine.open();
    EXPECT_EQ(sounds.names(), std::vector<std::string>{"no"});
    EXPECT_EQ(engine.view().lblHigh, "143");
    engine.FormShow();
    EXPECT_EQ(sounds.count("no"), 2);
}

TEST_F(TenkeyFixture, BatchesHoldHundredDigitsWithNoDigitRepeated) {
    random.script({3, 3, 3, 5, 5, 2});
    std::string first = engine.CreateData();
    EXPECT_EQ(first.substr(0, 3), "352");
    EXPECT_EQ(random.randomizeCount, 1);
    EXPECT_EQ(litKey(), 3);
    for (int batch = 0; batch < 50; ++batch) {
        std::string digits = batch == 0 ? first : engine.CreateData();
        ASSERT_EQ(digits.size(), 100u);
        for (std::size_t i = 0; i < digits.size(); ++i) {
            ASSERT_TRUE(digits[i] >= '0' && digits[i] <= '9');
            if (i > 0) {
                ASSERT_NE(digits[i], digits[i - 1]) << digits;
            }
        }
    }
    EXPECT_EQ(random.randomizeCount, 50);  // reseeded before every batch
}

TEST_F(TenkeyFixture, LeadInThenSixtySecondsThenTheCountIsStored) {
    engine.btnStartClick();
    EXPECT_EQ(sounds.names(), std::vector<std::string>{"ready"});
    EXPECT_FALSE(engine.view().btnStartEnabled);
    engine.keypadDigit(0);  // nothing to type yet
    timers.advance(2499);
    EXPECT_EQ(engine.state(), TenkeyState::LeadIn);
    EXPECT_TRUE(engine.view().lbl.empty());
    EXPECT_EQ(litKey(), -1);
    timers.advance(1);
    ASSERT_EQ(engine.view().lbl.size(), 100u);
    EXPECT_EQ(litKey(), next());
    EXPECT_EQ(engine.view().lblRestTime, "60");

    typeCorrect(7);
    EXPECT_EQ(engine.view().lblTypeCount, "7");
    EXPECT_EQ(engine.view().lbl.size(), 93u);
    EXPECT_EQ(litKey(), next());  // the key to type next is the lit one
    EXPECT_EQ(sounds.count("type"), 7);

    timers.advance(59000);
    EXPECT_EQ(engine.view().lblRestTime, "1");
    typeCorrect(2);
    timers.advance(1000);
    EXPECT_EQ(engine.view().lblRestTime, "0");
    typeCorrect(1);  // the last second, showing 0, still counts
    EXPECT_EQ(engine.state(), TenkeyState::Running);
    EXPECT_FALSE(fileExists(path));
    timers.advance(1000);  // the 61st tick stores the game
    EXPECT_EQ(engine.view().lblRestTime, "0");
    EXPECT_EQ(engine.state(), TenkeyState::Ended);
    EXPECT_EQ(loadStringFromFile(path), "10\r\n");
    EXPECT_FALSE(timers.enabled(TenkeyEngine::kTmr));

    // After the end: keys count no more, nothing more is stored, F1 stays disabled.
    engine.keypadDigit(next());
    EXPECT_EQ(engine.view().lblTypeCount, "10");
    timers.advance(10000);
    EXPECT_EQ(loadStringFromFile(path), "10\r\n");
    EXPECT_FALSE(engine.view().btnStartEnabled);
}

TEST_F(TenkeyFixture, OnlyTheFirstDigitCounts) {
    startGame();
    const std::string before = engine.view().lbl;
    sounds.clear();
    for (int d = 0; d < 10; ++d)
        if (d != next()) engine.keypadDigit(d);
    engine.keypadDigit(-1);
    engine.keypadDigit(10);
    EXPECT_EQ(engine.view().lbl, before);
    EXPECT_EQ(engine.view().lblTypeCount, "0");
    EXPECT_TRUE(sounds.played.empty());
}

TEST_F(TenkeyFixture, TheHundredthDigitDealsANewBatchAndCountingGoesOn) {
    startGame();
    typeCorrect(99);
    EXPECT_EQ(engine.view().lbl.size(), 1u);
    EXPECT_EQ(sounds.count("ok"), 0);
    typeCorrect(1);
    EXPECT_EQ(sounds.count("ok"), 1);
    EXPECT_EQ(sounds.names().back(), "ok");  // after the key's "type"
    EXPECT_EQ(engine.view().lbl.size(), 100u);
    EXPECT_EQ(engine.view().lblTypeCount, "100");
    EXPECT_EQ(litKey(), next());
    typeCorrect(5);
    EXPECT_EQ(engine.view().lblTypeCount, "105");
}

TEST_F(TenkeyFixture, ForcedStopResetsAndStoresNothing) {
    struct Case {
        const char* when;
        int afterStartMs;
    };
    const Case cases[] = {{"during the lead-in", 1000}, {"while running", 12000}};
    for (const Case& c : cases) {
        engine.btnStartClick();
        timers.advance(static_cast<std::uint64_t>(c.afterStartMs));
        if (engine.state() == TenkeyState::Running) typeCorrect(4);
        engine.btnQuitClick();
        const TenkeyView& v = engine.view();
        EXPECT_EQ(engine.state(), TenkeyState::Idle) << c.when;
        EXPECT_TRUE(v.lbl.empty()) << c.when;
        EXPECT_EQ(v.lblTypeCount, "0") << c.when;
        EXPECT_EQ(v.lblRestTime, "60") << c.when;
        EXPECT_TRUE(v.btnStartEnabled) << c.when;
        EXPECT_EQ(litKey(), -1) << c.when;
        timers.advance(120000);  // no batch is dealt and no game runs on
        EXPECT_TRUE(engine.view().lbl.empty()) << c.when;
        EXPECT_EQ(engine.view().lblRestTime, "60") << c.when;
        EXPECT_FALSE(fileExists(path)) << c.when;
    }
}

TEST_F(TenkeyFixture, StartWhileRunningBeginsAgain) {
    startGame();
    typeCorrect(6);
    timers.advance(30000);
    engine.btnStartClick();
    EXPECT_EQ(engine.state(), TenkeyState::LeadIn);
    EXPECT_EQ(engine.view().lblTypeCount, "0");
    EXPECT_EQ(engine.view().lblRestTime, "60");
    timers.advance(2500 + 61000);
    EXPECT_EQ(loadStringFromFile(path), "0\r\n");
}

TEST_F(TenkeyFixture, ClosingDropsTheGameAndPlaysOp) {
    startGame();
    typeCorrect(3);
    engine.FormClose();
    EXPECT_EQ(sounds.names().back(), "op");
    EXPECT_FALSE(timers.enabled(TenkeyEngine::kTmr));
    EXPECT_FALSE(timers.enabled(TenkeyEngine::kTmrInterval));
    timers.advance(120000);
    EXPECT_FALSE(fileExists(path));
}

TEST_F(TenkeyFixture, AWriteErrorAtTheEndLeavesTheGameEnded) {
    saveStringToFile(app / "user", "");  // a file where the user folder should be
    startGame();
    typeCorrect(1);
    timers.advance(60000);
    EXPECT_THROW(timers.advance(1000), FileError);
    EXPECT_EQ(engine.state(), TenkeyState::Ended);
    EXPECT_FALSE(timers.enabled(TenkeyEngine::kTmr));
}

}  // namespace
}  // namespace keyrook
