#include "typing/scoring.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace keyrook {
namespace {

// One question row holding the bytes and typing time, plus rows carrying only reaction times.
SessionFigures practice(int bytes, int typingMs, std::vector<int> reactions = {0}) {
    SessionFigures f;
    for (std::size_t i = 0; i < reactions.size(); ++i)
        f.rows.push_back({static_cast<int>(i) + 1, "", i ? 0 : bytes, reactions[i],
                          i ? 0 : typingMs, ""});
    return f;
}

TEST(Scoring, RoundingsAndNumberTexts) {
    for (auto [x, up, even] : std::vector<std::tuple<long double, long long, long long>>{
             {2.5L, 3, 2}, {3.5L, 4, 4}, {0.5L, 1, 0}, {1.49L, 1, 1},
             // Figures of stored records beyond 64 bits saturate.
             {1.8e19L, LLONG_MAX, LLONG_MAX}, {-1e30L, LLONG_MIN, LLONG_MIN}, {NAN, 0, 0}}) {
        EXPECT_EQ(halfUp(x), up);
        EXPECT_EQ(roundHalfEven(x), even);
    }
    EXPECT_EQ(floatText(245.0L), "245");
    EXPECT_EQ(floatText(2449 / 10.0L), "244.9");
    EXPECT_EQ(floatText(0.00001L), "0.00001");
    EXPECT_EQ(floatText(1e20L), "100000000000000000000");
    // Halves away from zero, after binary noise is rounded off at 15 digits.
    for (auto [v, decimals, text] : std::vector<std::tuple<long double, int, const char*>>{
             {244.9L - 242.4L, 1, "2.5"}, {1.0L / 1600 * 100, 3, "0.063"},
             {9.9996L, 3, "10.000"}, {-0.0001L, 3, "0.000"}, {-2.25L, 1, "-2.3"}})
        EXPECT_EQ(formatFixed(v, decimals), text);
    // Only what floatText and formatFixed write reads back.
    for (const char* text : {"245", "244.9", "-2.5", "0.063"}) EXPECT_TRUE(parseNumber(text)) << text;
    for (const char* text : {"", "nan", "inf", "-infinity", "1e2", "---", "N/A", "2.5x"})
        EXPECT_FALSE(parseNumber(text)) << text;
    EXPECT_EQ(speedIndexText(0, 1), "0.0");
    EXPECT_EQ(speedIndexText(1234, 12), "102.8");
    EXPECT_EQ(speedIndexText(850, 10), "85.0");
}

TEST(Scoring, SplitThousandChangeTimeChecksum) {
    for (auto [n, text] : std::vector<std::pair<long long, const char*>>{
             {0, "0"}, {999, "999"}, {1000, "1,000"}, {1234567, "1,234,567"}, {45600000, "45,600,000"},
             {-1234, "-1,234"}, {LLONG_MIN, "-9,223,372,036,854,775,808"}})
        EXPECT_EQ(SplitThousand(n), text);
    for (auto [ms, text] : std::vector<std::pair<long long, const char*>>{
             {0, "0:00`00"}, {60230, "1:00`23"}, {5009, "0:05`00"}, {3599990, "59:59`99"},
             {123456789, "205:36`78"}})  // three digits of minutes at most
        EXPECT_EQ(ChangeTime(ms), text);
    EXPECT_EQ(Checksum("abc"), 588);
    EXPECT_EQ(Checksum(""), 0);
    EXPECT_EQ(Checksum("\x82\xb1"), 2 * (0x82 + 0xb1));  // bytes count unsigned
}

TEST(Scoring, Speed) {
    struct Case { int bytes, ms; const char* speed; int parameter; };
    for (const Case& c : std::vector<Case>{{1000, 200000, "300", 100}, {1000, 250000, "240", 80},
                                           {10, 1234, "486.2", 100},   {1000, 400000, "150", 50},
                                           {1000, 1000000, "60", 20},  {1000, 245000, "244.9", 82},
                                           {3, 0, "0", 0}}) {  // one-key questions only
        std::string line;
        SpeedRating r = GetSpeed(practice(c.bytes, c.ms), line);
        EXPECT_EQ(r.parameter, c.parameter) << c.ms;
        EXPECT_EQ(r.lblAverage, std::string(c.speed) + " Hits/Min");
        EXPECT_EQ(line, "," + std::to_string(c.ms) + "," + c.speed);
    }
}

TEST(Scoring, ReflexFromMeanReaction) {
    for (auto [reactions, parameter] : std::vector<std::pair<std::vector<int>, int>>{
             {{500}, 100}, {{501}, 99}, {{500, 501}, 99}, {{511}, 99}, {{531}, 97},
             {{1501}, 49}, {{2491}, -1}, {{2500}, -1}, {{2501}, 0}})
        EXPECT_EQ(GetReflection(practice(10, 1000, reactions)), parameter) << reactions.back();
    EXPECT_EQ(GetReflection(SessionFigures{}), 0);  // no rows: no division by zero
}

TEST(Scoring, Accuracy) {
    for (auto [miss, text, parameter] : std::vector<std::tuple<int, const char*, int>>{
             {10, "1.000 %", 93}, {0, "0.000 %", 100}, {150, "13.158 %", 5}}) {
        SessionFigures f = practice(990, 1000);
        f.missCount = miss;
        std::string line;
        AccuracyRating r = GetAccuracy(f, line);
        EXPECT_EQ(r.lblMiss, text);
        EXPECT_EQ(r.parameter, parameter);
        EXPECT_EQ(line, "," + std::to_string(miss) + "," + std::to_string(miss + 990));
    }
}

TEST(Scoring, EvaluationAndBonus) {
    const int factors[][2] = {{0, 1}, {19, 1}, {20, 2}, {89, 8}, {90, 10},
                              {94, 10}, {95, 15}, {99, 15}, {100, 20}};
    for (auto [rating, factor] : factors) EXPECT_EQ(bonusFactor(rating), factor) << rating;

    struct Case { int s, r, a, bytes, inPlay; int ev, bonus, score; };
    for (const Case& c : std::vector<Case>{
             {100, 97, 93, 1000, 5000, 97, 243000, 248000},  // the worked example
             {82, 83, 91, 1000, 45670, 86, 46080, 91750},    // ev 85.5 rounds to even 86
             {0, 0, 0, 2500, 0, 0, 20, 20},                  // Round(2.5) = 2
             {0, 0, 0, 3500, 0, 0, 40, 40},                  // Round(3.5) = 4
             {100, 19, 9, 1000, 0, 56, 1000, 1000},          // a div 10 = 0 leaves m alone
             {100, 19, 10, 1000, 0, 56, 1000, 1000},
             {100, 100, 100, 100000, 0, 100, 40000000, 40000000},  // m x bytes beyond 32 bits
             {100, 100, 100, 100000, 2147000000, 100, 40000000, INT_MAX},
             {150, -5, -20, 1000, 0, 50, 1000, 1000}}) {  // clamped as the bars hold them
        SessionFigures f = practice(c.bytes, 1000);
        f.score = c.inPlay;
        std::string line;
        Evaluation e = GetEvaluation(f, c.s, c.r, c.a, line);
        EXPECT_EQ(e.evaluation, c.ev) << c.bytes;
        EXPECT_EQ(e.lblBonus, SplitThousand(c.bonus)) << c.bytes;
        EXPECT_EQ(e.lblScore, SplitThousand(c.score)) << c.bytes;
        EXPECT_EQ(line, "," + std::to_string(c.score));
    }
}

}  // namespace
}  // namespace keyrook
