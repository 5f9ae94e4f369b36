#include "records/record_log.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "base/cp932.h"
#include "base/files.h"
#include "base/text.h"
#include "typing/record_file.h"

namespace keyrook {
namespace {

// Fields of a session record: 13 values and the checksum.
constexpr std::size_t kRecordFields = 14;

std::optional<long long> readInt(std::string_view text) {
    long long v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return v;
}

long long intOrZero(std::string_view text) { return readInt(text).value_or(0); }

// A fixed count of decimals with "#" before the point: no leading zero ("0.4" becomes ".4").
std::string hashFixed(long double value, int decimals) {
    std::string text = formatFixed(value, decimals);
    const std::size_t digits = text.front() == '-' ? 1 : 0;
    if (text.compare(digits, 2, "0.") == 0) text.erase(digits, 1);
    return text;
}

std::string datePart(std::string_view field1) {
    return std::string(field1.substr(0, field1.find(' ')));
}

int signOf(long long v) { return (v > 0) - (v < 0); }

}  // namespace

std::string LogRow::column(int k) const {
    switch (k) {
        case 1: return std::to_string(number) + (today ? "*" : "");
        case 2: return field(1);
        case 3: return field(2);
        case 4: return field(9);
        case 5: return sessionTimeText(intOrZero(field(4)));
        case 6: return mistypeRateText(intOrZero(field(6)), intOrZero(field(7)));
        case 7: return field(8);
        case 8: return deviation;
        default: return std::string();
    }
}

std::vector<std::string> recordTitles(std::string_view fileText) {
    std::vector<std::string> titles;
    addRecordTitles(fileText, titles);
    return titles;
}

void addRecordTitles(std::string_view fileText, std::vector<std::string>& titles) {
    for (const std::string& line : splitNonEmptyLines(fileText)) {
        std::vector<std::string> fields = splitRecordFields(line);
        if (fields.size() < 4 || fields[2].empty()) continue;
        const bool known = std::any_of(titles.begin(), titles.end(), [&](const std::string& t) {
            return sameTextIgnoreCase(t, fields[2]);
        });
        if (!known) titles.push_back(fields[2]);
    }
}

std::vector<std::vector<std::string>> titleSessions(std::string_view fileText,
                                                    std::string_view title) {
    std::vector<std::vector<std::string>> sessions;
    for (const std::string& line : splitNonEmptyLines(fileText)) {
        if (line.empty() || !isValidRecordLine(line)) continue;
        std::vector<std::string> fields = splitRecordFields(line);
        // A line written with a comma inside its title or name has its fields shifted; its
        // numbers would be read from the wrong places.
        if (fields.size() != kRecordFields || fields[2] != title) continue;
        if (!readInt(fields[3]) || !readInt(fields[5]) || !readInt(fields[6]) || !readInt(fields[8]))
            continue;
        sessions.push_back(std::move(fields));
    }
    return sessions;
}

std::string sessionTimeText(long long ms) {
    return hashFixed(static_cast<long double>(ms) / 1000, 2) + " \x95\x62";  // 秒
}

std::string mistypeRateText(long long misses, long long keys) {
    // No key at all: nothing was mistyped.
    if (keys <= 0) return "0.000 %";
    return formatFixed(static_cast<long double>(misses) / keys * 100, 3) + " %";
}

std::string deviationText(long double value) { return hashFixed(value, 1); }

std::vector<std::string> deviationScores(const std::vector<long long>& scores) {
    const std::size_t n = scores.size();
    if (n == 1) return {"50.0"};
    long double sum = 0;
    for (long long s : scores) sum += static_cast<long double>(s);
    const long double mean = sum / static_cast<long double>(n);
    long double squares = 0;
    for (long long s : scores) squares += (s - mean) * (s - mean);
    const long double deviation =
        squares == 0 ? 1 : std::sqrt(squares / static_cast<long double>(n - 1));
    std::vector<std::string> out;
    out.reserve(n);
    for (long long s : scores) out.push_back(deviationText((s - mean) / deviation * 10 + 50));
    return out;
}

long double leadingNumber(std::string_view text) {
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    long double whole = 0, fraction = 0, scale = 1;
    bool point = false;
    for (char c : text) {
        if (c == '.') {
            if (point) break;
            point = true;
        } else if (c >= '0' && c <= '9') {
            if (point) {
                scale /= 10;
                fraction += (c - '0') * scale;
            } else {
                whole = whole * 10 + (c - '0');
            }
        } else {
            break;
        }
    }
    const long double v = whole + fraction;
    return negative ? -v : v;
}

int compareLogRows(const LogRow& a, const LogRow& b, int column) {
    switch (column) {
        case 1:
            // The number itself: today's "*" must not make a row count as 0.
            return signOf(static_cast<long long>(a.number) - b.number);
        case 3: {
            const int c = std::strcoll(cp932ToUtf8(a.column(3)).c_str(),
                                       cp932ToUtf8(b.column(3)).c_str());
            return (c > 0) - (c < 0);
        }
        default: {
            // Differences below 0.0005 count as equal. Taken in 64 bits: large scores must
            // not wrap into the wrong sign.
            const long double d = leadingNumber(a.column(column)) - leadingNumber(b.column(column));
            return signOf(roundHalfEven(d * 1000));
        }
    }
}

std::string recordDateOnly(const DateTime& when) { return datePart(recordDateText(when)); }

LogDetails logDetails(const LogRow& row) {
    LogDetails d;
    d.lbldate = "Date : 20" + row.field(1);
    d.dateWhite = row.today;
    d.lblTheme = row.field(3);
    d.lblScore = SplitThousand(intOrZero(row.field(9)));
    d.lblTime = ChangeTime(intOrZero(row.field(4)));
    d.lblMiss = row.field(6) + " / " + row.field(7);
    d.lblAverage = row.field(5) + " Hits/Min";
    d.lblMaxcombo = row.field(8);
    for (std::size_t i = 0; i < 4; ++i) {
        d.lblResult[i] = row.field(10 + i);
        d.positions[i] = toIntDef(d.lblResult[i], 0);
    }
    return d;
}

void RecordLog::lstUserMouseUp(const std::vector<std::string>& selectedUsers) {
    titles_.clear();
    for (const std::string& user : selectedUsers) {
        const std::string path = paths_.userFile(user, ".rec");
        if (fileExists(path)) addRecordTitles(loadStringFromFile(path), titles_);
    }
}

void RecordLog::cmbTitleChange(const std::vector<std::string>& selectedUsers,
                               const std::string& title, const DateTime& today) {
    if (title.empty()) return;
    rows_.clear();
    const std::string todayText = recordDateOnly(today);
    for (const std::string& user : selectedUsers) {
        // A user who has never stored a session simply has none to list.
        const std::string path = paths_.userFile(user, ".rec");
        if (!fileExists(path)) continue;
        for (auto& fields : titleSessions(loadStringFromFile(path), title)) {
            LogRow row;
            row.number = static_cast<int>(rows_.size()) + 1;
            row.today = datePart(fields[0]) == todayText;
            row.fields = std::move(fields);
            rows_.push_back(std::move(row));
        }
    }
    std::vector<long long> scores;
    scores.reserve(rows_.size());
    for (const LogRow& r : rows_) scores.push_back(*readInt(r.field(9)));
    std::vector<std::string> deviations = deviationScores(scores);
    for (std::size_t i = 0; i < rows_.size(); ++i) rows_[i].deviation = std::move(deviations[i]);
}

void RecordLog::lslogColumnClick(int column) {
    if (column < 1 || column > kLogColumns) return;
    sortState_ = column == std::abs(sortState_) ? -sortState_ : column;
    const int k = std::abs(sortState_);
    const int direction = sortState_ < 0 ? -1 : 1;
    std::stable_sort(rows_.begin(), rows_.end(), [k, direction](const LogRow& a, const LogRow& b) {
        return direction * compareLogRows(a, b, k) < 0;
    });
}

std::optional<std::string> RecordLog::graphRefusal(std::size_t selectedUsers) const {
    if (rows_.size() < 2) return std::string(kGraphNeedsTwoRows);
    if (selectedUsers > 1) return std::string(kGraphOneUserOnly);
    return std::nullopt;
}

}  // namespace keyrook
