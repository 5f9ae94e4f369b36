// A user's history over all modes for the practice calendar: the days practised and their
// typing time, the weekly figures over all titles, each stored reflex game and ten-key drill,
// and one key's miss rate per week. Files are read line by line and never written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/progress.h"

namespace keyrook {

// Every stored practice session of a .rec file (all titles): the days with their typing time
// and the ISO weeks with their figures. A missing file has none.
struct PracticeHistory {
    PracticeDays days;
    std::vector<ProgressPeriod> weeks;
};
PracticeHistory readPracticeHistory(const std::string& recPath);

// The calendar of the last twelve months: whole weeks, Monday on top, from the week that holds
// the day a year before today to today's week.
struct CalendarSpan {
    std::int64_t firstDay = 0;  // a Monday
    std::int64_t today = 0;
    int weeks = 0;
};
CalendarSpan calendarSpan(std::int64_t today);

// How strongly a day is coloured: 0 for no practice, then 1 (under 5 minutes), 2 (under 15),
// 3 (under 30), 4 (30 minutes or more).
int heatLevel(std::uint64_t typingMs);

// One stored reflex game: "level,score,hits,dealt,mistypes,mean" and the checksum.
struct ReflexGame {
    int level = 0;                      // 1 .. 6
    std::uint32_t hits = 0;
    std::uint32_t dealt = 0;
    std::optional<std::uint32_t> meanMs;  // "812msec"; none for a game without hits ("0")
};
// nullopt for the flags line and any line that is damaged or fails its checksum.
std::optional<ReflexGame> parseReflexGame(std::string_view line);
std::vector<ReflexGame> readReflexGames(const std::string& refPath);

// The digit counts of a .tnk file in the order stored; lines that are no count are left out.
// A drill lasts one minute, so a count is digits per minute. The lines hold no date.
std::vector<std::uint32_t> readTenkeyCounts(const std::string& tnkPath);

// The miss rate in percent of one key (keyOf form: A..Z, "_" for the blank, a kana key's byte)
// per ISO week over the sessions of a .kst file typed in kana or in romaji; weeks whose sessions
// never judged the key are left out.
struct KeyWeek {
    std::int64_t weekStart = 0;  // the Monday
    std::uint64_t presses = 0;
    double missRate = 0;
};
std::vector<KeyWeek> keyMissRateByWeek(const std::string& kstPath, unsigned char key, bool kana = false);

}  // namespace keyrook
