#include "records/progress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "typing/scoring.h"

namespace keyrook {
namespace {

// A practice record line with a correct checksum.
std::string practice(const std::string& date, const std::string& title, const std::string& speed,
                     int misses, int keys, int score, int timeMs = 60000) {
    return withChecksum(date + ",alice," + title + "," + std::to_string(timeMs) + "," + speed +
                        "," + std::to_string(misses) + "," + std::to_string(keys) + ",40," +
                        std::to_string(score) + ",90,80,70,60");
}

TEST(Progress, RecordDates) {
    struct Case {
        const char* field;
        bool valid;
        DateTime when;
    };
    const Case cases[] = {
        {"24/03/01 9:05:07", true, {2024, 3, 1, 9, 5, 7}},
        {"24/02/29 23:59:59", true, {2024, 2, 29, 23, 59, 59}},
        {"00/01/01 0:00:00", true, {2000, 1, 1, 0, 0, 0}},
        {"23/02/29 10:00:00", false, {}},   // no leap day in 2023
        {"24/13/01 10:00:00", false, {}},
        {"24/04/31 10:00:00", false, {}},
        {"24/03/01 24:00:00", false, {}},
        {"2024/03/01 10:00:00", false, {}},
        {"24-03-01 10:00:00", false, {}},
        {"24/03/01", false, {}},
        {"24/03/01 123:00:00", false, {}},
    };
    for (const Case& c : cases) {
        auto t = parseRecordDate(c.field);
        ASSERT_EQ(t.has_value(), c.valid) << c.field;
        if (!t) continue;
        EXPECT_EQ(t->year, c.when.year) << c.field;
        EXPECT_EQ(t->month, c.when.month) << c.field;
        EXPECT_EQ(t->day, c.when.day) << c.field;
        EXPECT_EQ(t->hour, c.when.hour) << c.field;
        EXPECT_EQ(t->minute, c.when.minute) << c.field;
        EXPECT_EQ(t->second, c.when.second) << c.field;
    }
}

TEST(Progress, CalendarArithmeticAndIsoWeeksAtYearEnds) {
    EXPECT_EQ(dayNumber(1970, 1, 1), 0);
    for (std::int64_t day = dayNumber(1999, 12, 1); day < dayNumber(2031, 3, 1); ++day) {
        const DateTime d = dateOfDay(day);
        ASSERT_EQ(dayNumber(d.year, d.month, d.day), day);
    }
    EXPECT_EQ(weekday(dayNumber(2024, 3, 4)), 0);  // a Monday
    EXPECT_EQ(weekday(dayNumber(2024, 3, 10)), 6);
    struct Case {
        int y, m, d;
        const char* week;
    };
    const Case cases[] = {
        {2021, 1, 3, "2020-W53"},   // Sunday before the first Thursday
        {2021, 1, 4, "2021-W01"},
        {2024, 12, 30, "2025-W01"}, // Monday of the week holding 2 January
        {2026, 1, 1, "2026-W01"},   // a Thursday
        {2027, 1, 1, "2026-W53"},   // a Friday
        {2024, 3, 10, "2024-W10"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(periodLabel(dayNumber(c.y, c.m, c.d), ProgressBy::Week), c.week) << c.week;
    EXPECT_EQ(periodLabel(dayNumber(2024, 3, 9), ProgressBy::Day), "2024-03-09");
    EXPECT_EQ(periodLabel(dayNumber(2024, 3, 9), ProgressBy::Month), "2024-03");
}

TEST(Progress, MediansRoundTiesToEven) {
    struct SpeedCase {
        std::vector<std::uint64_t> tenths;
        std::uint64_t median;
    };
    const SpeedCase speeds[] = {
        {{2449}, 2449},
        {{2450, 2449}, 2450},        // 244.95 -> 245.0
        {{2450, 2451}, 2450},        // 245.05 -> 245.0
        {{2451, 2452}, 2452},        // 245.15 -> 245.2
        {{10, 3000, 20, 9}, 15},     // middle two of 0.9, 1.0, 2.0, 300.0
        {{}, 0},
    };
    for (SpeedCase c : speeds) EXPECT_EQ(medianSpeedTenths(c.tenths), c.median);

    struct RateCase {
        std::vector<MissRate> rates;
        std::uint64_t median;
    };
    const RateCase rates[] = {
        {{{1, 8}}, 125},                // 12.5 %
        {{{1, 16}}, 62},                // 6.25 % -> 6.2
        {{{3, 16}}, 188},               // 18.75 % -> 18.8
        {{{1, 3}, {1, 6}}, 250},        // (33.33 + 16.67) / 2 = 25.0 exactly
        {{{1, 2}, {0, 0}, {1, 4}}, 250},// no keys reads as 0 %; middle of 0, 25, 50
        {{{2, 3}, {1, 3}, {1, 100}, {99, 100}}, 500},  // middle two by value, not by count
    };
    for (RateCase c : rates) EXPECT_EQ(medianMissRateTenths(c.rates), c.median);
}

TEST(Progress, OnlyValidPracticeRecordsOfTheTitleCount) {
    const std::string title = "abc";
    const std::string good = practice("24/03/01 9:05:07", title, "244.9", 12, 1012, 91750);
    auto s = practiceSession(good);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->speedTenths, 2449u);
    EXPECT_EQ(s->day, dayNumber(2024, 3, 1));
    EXPECT_TRUE(practiceSession(good, &title));
    const std::string other = "abd";
    EXPECT_FALSE(practiceSession(good, &other));

    std::string broken = good;
    broken[20] = 'X';
    const std::string invader = withChecksum(
        "24/03/01 11:52:10,alice,Radovu Didarez,95310,---,4,318,57,13280,N/A,N/A,N/A,N/A");
    for (const std::string& line :
         {broken, invader, practice("24/02/30 9:00:00", title, "100", 1, 10, 5),
          practice("24/03/01 9:00:00", title, "100.25", 1, 10, 5),
          practice("24/03/01 9:00:00", title, "-100", 1, 10, 5),
          withChecksum("24/03/01 9:00:00,alice,abc,1,2,3"), std::string()})
        EXPECT_FALSE(practiceSession(line)) << line;
}

TEST(Progress, PeriodsInTimeOrderWithTheirFigures) {
    ProgressTable weeks(ProgressBy::Week), months(ProgressBy::Month);
    const std::vector<std::string> lines = {
        practice("24/03/12 9:00:00", "a", "300", 10, 100, 900),   // W11
        practice("23/12/31 9:00:00", "a", "100", 1, 100, 100),    // 2023-W52
        practice("24/03/11 9:00:00", "b", "200.5", 0, 100, 1200), // W11
        practice("24/01/01 9:00:00", "a", "150", 5, 100, 300),    // 2024-W01
    };
    for (const std::string& line : lines) {
        weeks.add(*practiceSession(line));
        months.add(*practiceSession(line));
    }
    std::string csv;
    for (const ProgressPeriod& p : weeks.periods()) csv += progressCsvLine(p) + "\n";
    EXPECT_EQ(csv,
              "2023-W52,1,100,100.0,1.0\n"
              "2024-W01,1,300,150.0,5.0\n"
              "2024-W11,2,1200,250.2,5.0\n");
    const auto m = months.periods();
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[2].label, "2024-03");
    EXPECT_EQ(m[2].timeMs, 120000u);
}

TEST(Progress, Streaks) {
    PracticeDays days;
    EXPECT_EQ(days.currentStreak(100), 0);
    EXPECT_EQ(days.longestStreak(), 0);
    for (std::int64_t d : {90, 91, 92, 93, 97, 98, 99}) days.add(d, 1000);
    days.add(99, 500);
    EXPECT_EQ(days.timeOn(99), 1500u);
    EXPECT_EQ(days.longestStreak(), 4);
    EXPECT_EQ(days.currentStreak(99), 3);
    EXPECT_EQ(days.currentStreak(100), 3);  // today not practised yet
    EXPECT_EQ(days.currentStreak(101), 0);
}

}  // namespace
}  // namespace keyrook
