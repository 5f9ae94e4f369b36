#include "records/progress.h"

#include <algorithm>
#include <cstdio>

#include "records/record_log.h"
#include "typing/record_file.h"

namespace keyrook {

namespace {

// Digits only, at most a trillion: sums and cross products of these stay far inside 128 bits.
constexpr std::uint64_t kLargestNumber = 1'000'000'000'000ULL;

std::optional<std::uint64_t> plainNumber(std::string_view text) {
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > kLargestNumber) return std::nullopt;
    }
    return value;
}

// "244.9" or "240": at most one decimal.
std::optional<std::uint64_t> tenthsOf(std::string_view text) {
    const std::size_t dot = text.find('.');
    if (dot == std::string_view::npos) {
        auto whole = plainNumber(text);
        if (!whole) return std::nullopt;
        return *whole * 10;
    }
    auto whole = plainNumber(text.substr(0, dot));
    const std::string_view fraction = text.substr(dot + 1);
    if (!whole || fraction.size() != 1 || fraction[0] < '0' || fraction[0] > '9')
        return std::nullopt;
    return *whole * 10 + static_cast<std::uint64_t>(fraction[0] - '0');
}

// Two digits from text at pos; -1 when they are not digits.
int twoDigits(std::string_view text, std::size_t pos) {
    if (pos + 2 > text.size()) return -1;
    const char a = text[pos], b = text[pos + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9') return -1;
    return (a - '0') * 10 + (b - '0');
}

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

using Wide = unsigned __int128;

// num / den rounded to an integer, ties to even.
std::uint64_t roundHalfEven(Wide num, Wide den) {
    const Wide q = num / den, r = num % den;
    Wide out = q;
    if (2 * r > den || (2 * r == den && (q & 1) != 0)) ++out;
    return static_cast<std::uint64_t>(out);
}

bool rateLess(const MissRate& a, const MissRate& b) {
    const Wide ak = a.keys ? a.keys : 1, bk = b.keys ? b.keys : 1;
    const Wide am = a.keys ? a.misses : 0, bm = b.keys ? b.misses : 0;
    return am * bk < bm * ak;
}

}  // namespace

std::optional<DateTime> parseRecordDate(std::string_view field) {
    // "yy/mm/dd h:nn:ss": the hour has one or two digits.
    if (field.size() < 16 || field.size() > 17 || field[2] != '/' || field[5] != '/' ||
        field[8] != ' ')
        return std::nullopt;
    DateTime t;
    const int yy = twoDigits(field, 0), mm = twoDigits(field, 3), dd = twoDigits(field, 6);
    const std::string_view time = field.substr(9);
    const std::size_t hourDigits = time.size() - 6;  // 1 or 2
    if (time[hourDigits] != ':' || time[hourDigits + 3] != ':') return std::nullopt;
    int hour = twoDigits(time, 0);
    if (hourDigits == 1) hour = time[0] >= '0' && time[0] <= '9' ? time[0] - '0' : -1;
    const int minute = twoDigits(time, hourDigits + 1), second = twoDigits(time, hourDigits + 4);
    if (yy < 0 || mm < 1 || mm > 12 || dd < 1 || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 59)
        return std::nullopt;
    t.year = 2000 + yy;
    t.month = mm;
    t.day = dd;
    if (dd > daysInMonth(t.year, mm)) return std::nullopt;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    return t;
}

std::int64_t dayNumber(int year, int month, int day) {
    // Days from civil, counting years from March so the leap day ends a year.
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

DateTime dateOfDay(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    DateTime t;
    t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2 ? 1 : 0));
    return t;
}

int weekday(std::int64_t day) {
    // 1970-01-01 was a Thursday.
    const std::int64_t w = (day + 3) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

std::int64_t weekStart(std::int64_t day) { return day - weekday(day); }

IsoWeek isoWeek(std::int64_t day) {
    // The week belongs to the year of its Thursday.
    const std::int64_t thursday = weekStart(day) + 3;
    const int year = dateOfDay(thursday).year;
    return {year, static_cast<int>((thursday - dayNumber(year, 1, 1)) / 7 + 1)};
}

std::optional<PracticeSession> practiceSession(std::string_view line, const std::string* title) {
    if (!isValidRecordLine(line)) return std::nullopt;
    std::string_view f[kRecordFields];
    std::size_t count = 0, start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        if (count == kRecordFields) return std::nullopt;
        f[count++] = line.substr(start, comma == std::string_view::npos ? comma : comma - start);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (count != kRecordFields) return std::nullopt;
    if (title && f[2] != *title) return std::nullopt;
    auto when = parseRecordDate(f[0]);
    auto time = plainNumber(f[3]);
    auto speed = tenthsOf(f[4]);  // an invader game's "---" stops here
    auto misses = plainNumber(f[5]);
    auto keys = plainNumber(f[6]);
    auto score = plainNumber(f[8]);
    if (!when || !time || !speed || !misses || !keys || !score) return std::nullopt;
    PracticeSession s;
    s.when = *when;
    s.day = dayNumber(when->year, when->month, when->day);
    s.timeMs = *time;
    s.speedTenths = *speed;
    s.misses = *misses;
    s.keys = *keys;
    s.score = *score;
    return s;
}

std::string periodLabel(std::int64_t day, ProgressBy by) {
    char text[16];
    if (by == ProgressBy::Week) {
        const IsoWeek w = isoWeek(day);
        std::snprintf(text, sizeof text, "%04d-W%02d", w.year, w.week);
        return text;
    }
    const DateTime d = dateOfDay(day);
    if (by == ProgressBy::Month)
        std::snprintf(text, sizeof text, "%04d-%02d", d.year, d.month);
    else
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    return text;
}

std::string tenthsText(std::uint64_t tenths) {
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::uint64_t medianSpeedTenths(std::vector<std::uint64_t>& speeds) {
    if (speeds.empty()) return 0;
    std::sort(speeds.begin(), speeds.end());
    const std::size_t n = speeds.size();
    if (n % 2 == 1) return speeds[n / 2];
    return roundHalfEven(Wide(speeds[n / 2 - 1]) + speeds[n / 2], 2);
}

std::uint64_t medianMissRateTenths(std::vector<MissRate>& rates) {
    if (rates.empty()) return 0;
    std::sort(rates.begin(), rates.end(), rateLess);
    const std::size_t n = rates.size();
    auto parts = [](const MissRate& r) {
        return std::pair<Wide, Wide>(r.keys ? r.misses : 0, r.keys ? r.keys : 1);
    };
    // Tenths of a percent: misses / keys x 1000.
    if (n % 2 == 1) {
        auto [m, k] = parts(rates[n / 2]);
        return roundHalfEven(m * 1000, k);
    }
    auto [m1, k1] = parts(rates[n / 2 - 1]);
    auto [m2, k2] = parts(rates[n / 2]);
    return roundHalfEven((m1 * k2 + m2 * k1) * 1000, 2 * k1 * k2);
}

std::int64_t ProgressTable::firstDayOf(std::int64_t day) const {
    switch (by_) {
        case ProgressBy::Day: return day;
        case ProgressBy::Week: return weekStart(day);
        case ProgressBy::Month: {
            const DateTime d = dateOfDay(day);
            return dayNumber(d.year, d.month, 1);
        }
    }
    return day;
}

void ProgressTable::add(const PracticeSession& s) {
    Gathered& g = periods_[firstDayOf(s.day)];
    ++g.sessions;
    g.bestScore = std::max(g.bestScore, s.score);
    g.timeMs += s.timeMs;
    g.speeds.push_back(s.speedTenths);
    g.rates.push_back({s.misses, s.keys});
}

std::vector<ProgressPeriod> ProgressTable::periods() const {
    std::vector<ProgressPeriod> out;
    out.reserve(periods_.size());
    for (const auto& [first, g] : periods_) {
        ProgressPeriod p;
        p.firstDay = first;
        p.label = periodLabel(first, by_);
        p.sessions = g.sessions;
        p.bestScore = g.bestScore;
        p.timeMs = g.timeMs;
        auto speeds = g.speeds;
        auto rates = g.rates;
        p.medianSpeedTenths = medianSpeedTenths(speeds);
        p.medianMissRateTenths = medianMissRateTenths(rates);
        out.push_back(std::move(p));
    }
    return out;
}

std::string progressCsvLine(const ProgressPeriod& p) {
    return p.label + "," + std::to_string(p.sessions) + "," + std::to_string(p.bestScore) + "," +
           tenthsText(p.medianSpeedTenths) + "," + tenthsText(p.medianMissRateTenths);
}

std::uint64_t PracticeDays::timeOn(std::int64_t day) const {
    auto it = days_.find(day);
    return it == days_.end() ? 0 : it->second;
}

int PracticeDays::currentStreak(std::int64_t today) const {
    std::int64_t day = days_.count(today) ? today : today - 1;
    int run = 0;
    while (days_.count(day)) {
        ++run;
        --day;
    }
    return run;
}

int PracticeDays::longestStreak() const {
    int best = 0, run = 0;
    std::int64_t previous = 0;
    for (const auto& [day, time] : days_) {
        run = run > 0 && day == previous + 1 ? run + 1 : 1;
        best = std::max(best, run);
        previous = day;
    }
    return best;
}

}  // namespace keyrook
