#include "records/history.h"

#include <map>

#include "base/files.h"
#include "base/line_reader.h"
#include "records/key_analysis.h"
#include "typing/key_stats.h"
#include "typing/record_file.h"

namespace keyrook {
namespace {

// Digits only, below 2^32.
std::optional<std::uint32_t> count32(std::string_view text) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    std::uint64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (v > 0xFFFFFFFFu) return std::nullopt;
    return static_cast<std::uint32_t>(v);
}

// Calls fn with each line of a file; a missing file has none.
template <typename Fn>
void eachLine(const std::string& path, Fn fn) {
    if (!fileExists(path)) return;
    FileLines lines(path);
    for (std::string_view line; lines.next(line);) fn(line);
}

}  // namespace

PracticeHistory readPracticeHistory(const std::string& recPath) {
    PracticeHistory h;
    ProgressTable weeks(ProgressBy::Week);
    eachLine(recPath, [&](std::string_view line) {
        if (auto s = practiceSession(line)) {
            h.days.add(s->day, s->timeMs);
            weeks.add(*s);
        }
    });
    h.weeks = weeks.periods();
    return h;
}

CalendarSpan calendarSpan(std::int64_t today) {
    const DateTime t = dateOfDay(today);
    // The same date a year back; 29 February falls back to the 28th.
    const int day = t.month == 2 && t.day == 29 ? 28 : t.day;
    const std::int64_t yearAgo = dayNumber(t.year - 1, t.month, day) + 1;
    CalendarSpan span;
    span.firstDay = weekStart(yearAgo);
    span.today = today;
    span.weeks = static_cast<int>((weekStart(today) - span.firstDay) / 7 + 1);
    return span;
}

int heatLevel(std::uint64_t typingMs) {
    if (typingMs == 0) return 0;
    const std::uint64_t minute = 60000;
    if (typingMs < 5 * minute) return 1;
    if (typingMs < 15 * minute) return 2;
    if (typingMs < 30 * minute) return 3;
    return 4;
}

std::optional<ReflexGame> parseReflexGame(std::string_view line) {
    if (!isValidRecordLine(line)) return std::nullopt;
    std::string_view f[7];
    std::size_t n = 0, start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        if (n == 7) return std::nullopt;
        f[n++] = line.substr(start, comma == std::string_view::npos ? comma : comma - start);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (n != 7) return std::nullopt;
    auto level = count32(f[0]);
    auto hits = count32(f[2]);
    auto dealt = count32(f[3]);
    if (!level || *level < 1 || *level > 6 || !hits || !dealt || !count32(f[1]) || !count32(f[4]))
        return std::nullopt;
    ReflexGame g;
    g.level = static_cast<int>(*level);
    g.hits = *hits;
    g.dealt = *dealt;
    std::string_view mean = f[5];
    if (mean.ends_with("msec")) {
        mean.remove_suffix(4);
        auto ms = count32(mean);
        if (!ms) return std::nullopt;
        g.meanMs = *ms;
    } else if (mean != "0") {
        return std::nullopt;
    }
    return g;
}

std::vector<ReflexGame> readReflexGames(const std::string& refPath) {
    std::vector<ReflexGame> out;
    eachLine(refPath, [&](std::string_view line) {
        if (auto g = parseReflexGame(line)) out.push_back(*g);
    });
    return out;
}

std::vector<std::uint32_t> readTenkeyCounts(const std::string& tnkPath) {
    std::vector<std::uint32_t> out;
    eachLine(tnkPath, [&](std::string_view line) {
        if (auto c = count32(line)) out.push_back(*c);
    });
    return out;
}

std::vector<KeyWeek> keyMissRateByWeek(const std::string& kstPath, unsigned char key, bool kana) {
    std::map<std::int64_t, KeyCount> weeks;
    eachLine(kstPath, [&](std::string_view line) {
        auto s = parseKeyStatsLine(line);
        if (!s || typedInKana(s->title) != kana) return;
        auto when = parseRecordDate(s->date);
        if (!when) return;
        KeyCount sum;
        for (const KeyEntry& e : s->entries)
            if (keyOf(e.key) == key) sum += e.count;
        if (sum.presses() == 0) return;
        weeks[weekStart(dayNumber(when->year, when->month, when->day))] += sum;
    });
    std::vector<KeyWeek> out;
    for (const auto& [start, c] : weeks) out.push_back({start, c.presses(), missRate(c)});
    return out;
}

}  // namespace keyrook
