#include "records/history.h"

#include <gtest/gtest.h>

#include <string>

#include "base/cp932.h"
#include "base/files.h"
#include "problemsets/kana_layout.h"
#include "support/temp_dir.h"
#include "typing/key_stats.h"
#include "typing/scoring.h"

namespace keyrook {
namespace {

std::string practice(const std::string& date, const std::string& title, int timeMs) {
    return withChecksum(date + ",amy," + title + "," + std::to_string(timeMs) +
                        ",200,5,100,40,900,90,80,70,60");
}

TEST(UserHistory, PracticeDaysAndWeeksOverAllTitles) {
    testing::TempDir dir;
    saveStringToFile(dir / "amy.rec",
                     "\r\n" + practice("26/12/07 9:00:00", "a", 120000) + "\r\n" +
                         practice("26/12/07 21:00:00", "b", 60000) + "\r\n" +
                         practice("26/12/08 9:00:00", "a", 60000) + "\r\n" +
                         withChecksum("26/12/09 9:00:00,amy,Radovu Didarez,95310,---,4,318,57,"
                                      "13280,N/A,N/A,N/A,N/A") +
                         "\r\n" + practice("26/11/30 9:00:00", "a", 1000) + "\r\n");
    const PracticeHistory h = readPracticeHistory(dir / "amy.rec");
    const std::int64_t dec9 = dayNumber(2026, 12, 9);
    EXPECT_EQ(h.days.timeOn(dec9 - 2), 180000u);
    EXPECT_EQ(h.days.timeOn(dec9), 0u);  // the invader game is no practice
    EXPECT_EQ(h.days.currentStreak(dec9), 2);
    ASSERT_EQ(h.weeks.size(), 2u);
    EXPECT_EQ(h.weeks[1].label, "2026-W50");
    EXPECT_EQ(h.weeks[1].sessions, 3u);
    EXPECT_TRUE(readPracticeHistory(dir / "missing.rec").days.days().empty());
}

TEST(UserHistory, CalendarSpansAYearOfWholeWeeks) {
    const CalendarSpan s = calendarSpan(dayNumber(2026, 12, 9));  // a Wednesday
    EXPECT_EQ(s.firstDay, dayNumber(2025, 12, 8));
    EXPECT_EQ(s.weeks, 53);
    EXPECT_EQ(calendarSpan(dayNumber(2028, 2, 29)).firstDay, weekStart(dayNumber(2027, 3, 1)));
    const int levels[] = {heatLevel(0), heatLevel(1), heatLevel(299999), heatLevel(300000),
                          heatLevel(1799999), heatLevel(1800000)};
    EXPECT_EQ(std::vector<int>(std::begin(levels), std::end(levels)),
              (std::vector<int>{0, 1, 1, 2, 3, 4}));
}

TEST(UserHistory, ReflexGamesAndTenkeyCounts) {
    testing::TempDir dir;
    const std::string damaged = "3,17280,48,60,7,812msec,1";
    saveStringToFile(dir / "amy.ref", "101000\r\n" + withChecksum("3,17280,48,60,7,812msec") +
                                          "\r\n" + withChecksum("1,0,0,60,2,0") + "\r\n" +
                                          damaged + "\r\n" + withChecksum("7,1,1,1,1,1msec") +
                                          "\r\n" + withChecksum("2,1,1,1,1,12ms") + "\r\n");
    const auto games = readReflexGames(dir / "amy.ref");
    ASSERT_EQ(games.size(), 2u);
    EXPECT_EQ(games[0].level, 3);
    EXPECT_EQ(games[0].hits, 48u);
    EXPECT_EQ(games[0].dealt, 60u);
    EXPECT_EQ(games[0].meanMs, 812u);
    EXPECT_FALSE(games[1].meanMs);  // no hit, no mean

    saveStringToFile(dir / "amy.tnk", "120\r\nabc\r\n\r\n95\r\n-3\r\n200");
    EXPECT_EQ(readTenkeyCounts(dir / "amy.tnk"), (std::vector<std::uint32_t>{120, 95, 200}));
    EXPECT_TRUE(readTenkeyCounts(dir / "missing.tnk").empty());
}

TEST(UserHistory, OneKeysMissRatePerWeek) {
    testing::TempDir dir;
    auto line = [](const char* date, std::uint64_t upperHits, std::uint64_t lowerMisses) {
        KeyCounts c{};
        c['K'] = {upperHits, 0, 0, 0};
        c['k'] = {0, lowerMisses, 0, 0};
        c['J'] = {10, 10, 0, 0};
        return keyStatsLine(date, "t", c) + "\r\n";
    };
    saveStringToFile(dir / "a.kst", line("26/12/01 9:00:00", 18, 2) + line("26/12/06 9:00:00", 10, 10) +
                                        line("26/12/08 9:00:00", 9, 1) + "broken\r\n");
    const auto weeks = keyMissRateByWeek(dir / "a.kst", 'K');
    ASSERT_EQ(weeks.size(), 2u);
    EXPECT_EQ(weeks[0].weekStart, dayNumber(2026, 11, 30));
    EXPECT_EQ(weeks[0].presses, 40u);
    EXPECT_DOUBLE_EQ(weeks[0].missRate, 30.0);
    EXPECT_DOUBLE_EQ(weeks[1].missRate, 10.0);
    EXPECT_TRUE(keyMissRateByWeek(dir / "a.kst", 'Q').empty());

    // Kana sessions share the file: each layout has its own trend.
    KeyCounts kana{};
    kana['K'] = {1, 3, 0, 0};
    appendKeyStats(dir / "a.kst", keyStatsLine("26/12/09 9:00:00", "t" + cp932Of(kKanaTitleMark), kana));
    EXPECT_EQ(keyMissRateByWeek(dir / "a.kst", 'K').size(), 2u);
    const auto kanaWeeks = keyMissRateByWeek(dir / "a.kst", 'K', true);
    ASSERT_EQ(kanaWeeks.size(), 1u);
    EXPECT_DOUBLE_EQ(kanaWeeks[0].missRate, 75.0);
}

}  // namespace
}  // namespace keyrook
