// Progress over days, weeks and months: the practice sessions of a record file gathered by
// period (sessions, best score, typing time, median speed and miss rate), the days practised
// with their streaks. Read by `keyrook-tool progress` and the practice calendar alike.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "typing/scoring.h"

namespace keyrook {

// A record's field 1, "yy/mm/dd h:nn:ss" in the year 20yy; nullopt for any other text or a
// date that does not exist.
std::optional<DateTime> parseRecordDate(std::string_view field);

// Days since 1970-01-01 (proleptic Gregorian calendar), and back.
std::int64_t dayNumber(int year, int month, int day);
DateTime dateOfDay(std::int64_t day);
// Monday 0 .. Sunday 6.
int weekday(std::int64_t day);

struct IsoWeek {
    int year = 0;  // the ISO week-numbering year, which differs from the date's at year ends
    int week = 0;  // 1 .. 53
};
IsoWeek isoWeek(std::int64_t day);
// The Monday of the ISO week that holds day.
std::int64_t weekStart(std::int64_t day);

// A practice session as the progress views read it.
struct PracticeSession {
    DateTime when;
    std::int64_t day = 0;
    std::uint64_t timeMs = 0;       // typing time, field 4
    std::uint64_t speedTenths = 0;  // field 5 in tenths: "244.9" -> 2449
    std::uint64_t misses = 0;       // field 6
    std::uint64_t keys = 0;         // field 7
    std::uint64_t score = 0;        // field 9
};

// A stored practice session of a record line: checksum valid, 14 fields, a readable date and
// numbers where they are read. Invader games (their speed is "---") and anything else give
// nullopt. With a title, only that exact title (CP932, as stored) counts.
std::optional<PracticeSession> practiceSession(std::string_view line,
                                               const std::string* title = nullptr);

enum class ProgressBy { Day, Week, Month };

// "2024-03-01", "2024-W09", "2024-03".
std::string periodLabel(std::int64_t day, ProgressBy by);

// Tenths as a text with one decimal: 2449 -> "244.9", 2400 -> "240.0".
std::string tenthsText(std::uint64_t tenths);

// The median of the speeds in tenths, and of the miss rates in tenths of a percent, each
// rounded to a tenth with ties to even; the median of an even count is the mean of the middle
// two. Both sort their argument. 0 for none.
std::uint64_t medianSpeedTenths(std::vector<std::uint64_t>& speedTenths);
struct MissRate {
    std::uint64_t misses = 0;
    std::uint64_t keys = 0;  // 0 reads as a rate of 0
};
std::uint64_t medianMissRateTenths(std::vector<MissRate>& rates);

struct ProgressPeriod {
    std::int64_t firstDay = 0;  // the period's first day
    std::string label;
    std::uint64_t sessions = 0;
    std::uint64_t bestScore = 0;
    std::uint64_t timeMs = 0;
    std::uint64_t medianSpeedTenths = 0;
    std::uint64_t medianMissRateTenths = 0;
};

// Sessions gathered by period as they come, in any order.
class ProgressTable {
public:
    explicit ProgressTable(ProgressBy by) : by_(by) {}
    void add(const PracticeSession& session);
    // The periods that had sessions, oldest first.
    std::vector<ProgressPeriod> periods() const;

private:
    struct Gathered {
        std::uint64_t sessions = 0;
        std::uint64_t bestScore = 0;
        std::uint64_t timeMs = 0;
        std::vector<std::uint64_t> speeds;
        std::vector<MissRate> rates;
    };
    std::int64_t firstDayOf(std::int64_t day) const;

    ProgressBy by_;
    std::map<std::int64_t, Gathered> periods_;  // by first day
};

// The CSV of keyrook-tool progress: a header line, then one line per period, LF ends.
inline constexpr const char* kProgressCsvHeader =
    "period,sessions,best_score,median_speed,median_miss_rate";
std::string progressCsvLine(const ProgressPeriod& period);

// Typing time per day practised, with the streaks of consecutive days.
class PracticeDays {
public:
    void add(std::int64_t day, std::uint64_t timeMs) { days_[day] += timeMs; }
    const std::map<std::int64_t, std::uint64_t>& days() const { return days_; }
    std::uint64_t timeOn(std::int64_t day) const;
    // Consecutive days up to today; a today not practised yet does not break the run that
    // ended yesterday.
    int currentStreak(std::int64_t today) const;
    int longestStreak() const;

private:
    std::map<std::int64_t, std::uint64_t> days_;
};

}  // namespace keyrook
